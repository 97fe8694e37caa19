#pragma once

#include <QImage>
#include <QWidget>

namespace quorrel {

// A plot picture drawn unscaled inside a one-pixel frame. Every pixel is painted, so
// refreshing it never repaints what lies beneath.
class PlotView : public QWidget {
    Q_OBJECT
public:
    PlotView(QSize pictureSize, QWidget* parent);

    void SetPicture(const QImage& picture);
    const QImage& Picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
};

} // namespace quorrel
