#pragma once

#include <QImage>
#include <QWidget>

namespace quorrel {

// An image control of a plot window: it takes the size of the picture it is given and draws
// it unscaled. The picture is a copy that shares its pixels until the plot draws again.
class PlotPicture : public QWidget {
    Q_OBJECT
public:
    explicit PlotPicture(QWidget* parent);

    void SetPicture(const QImage& picture);
    const QImage& Picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
};

} // namespace quorrel
