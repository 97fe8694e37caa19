#pragma once

#include "output/ColorMap.h"

#include <QWidget>

namespace quorrel {

// The main window's picture: a lattice of cells in the species colours, in patches the way a
// landscape looks after a while, with the program's name across it.
class LatticePicture : public QWidget {
    Q_OBJECT
public:
    LatticePicture(const ColorMap& colors, QWidget* parent);

    // The species (1..5) of cell (x, y) of the picture.
    static int SpeciesAt(int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    const ColorMap& colors_;
};

} // namespace quorrel
