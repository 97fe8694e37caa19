#pragma once

#include "output/ColorMap.h"

#include <QWidget>

namespace quorrel {

// "Colors": the key of the landscape colours, a two-column grid of 42 rows: the headings,
// "Empty" with its swatch, then each species number with its swatch.
class TColorMapForm : public QWidget {
    Q_OBJECT
public:
    static constexpr int Rows = 42;
    static constexpr int RowHeight = 15;
    static constexpr int ColumnWidth = 50;

    explicit TColorMapForm(const ColorMap& colors);

    // The text of row r in the first column.
    static QString RowLabel(int r);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const ColorMap& colors_;
};

} // namespace quorrel
