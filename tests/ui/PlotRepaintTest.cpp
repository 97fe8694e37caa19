#include "ui/PictureCopy.h"
#include "ui/PlotPicture.h"
#include "ui/PlotView.h"
#include "ui/RepaintPacer.h"

#include <QPaintEvent>
#include <QtTest>

using namespace quorrel;

namespace {

QImage White(int w, int h)
{
    QImage picture(w, h, QImage::Format_RGB32);
    picture.fill(Qt::white);
    return picture;
}

// The area of every paint event a widget receives.
class PaintRecorder : public QObject {
public:
    explicit PaintRecorder(QWidget& widget) { widget.installEventFilter(this); }
    QRegion painted;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
};

// Lets a shown widget paint what it asked to repaint, then returns that and forgets it.
QRegion PaintedBy(PaintRecorder& recorder)
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
    return std::exchange(recorder.painted, QRegion());
}

// A row plot of a white 30 x 20 picture; Show shows it and forgets its first painting.
struct ShownRowPlot {
    QImage picture = White(30, 20);
    PlotPicture view{nullptr};
    PaintRecorder recorder{view};

    bool Show()
    {
        view.SetRows(picture, -1);
        view.show();
        if (!QTest::qWaitForWindowExposed(&view))
            return false;
        PaintedBy(recorder);
        return true;
    }
};

} // namespace

class PlotRepaintTest : public QObject {
    Q_OBJECT
private slots:
    void CopyTakesOnlyWhatChanged_data();
    void CopyTakesOnlyWhatChanged();
    void RowPlotsRepaintOnlyTheirNewRows();
    void StatisticPlotRepaintsOnlyTheNewSegment();
    void PacedWindowsPaintHeldChangesTogether();
};

void PlotRepaintTest::CopyTakesOnlyWhatChanged_data()
{
    // The area compared: rows with every column, or a few columns (-1: every column).
    QTest::addColumn<QList<QPoint>>("changes");
    QTest::addColumn<int>("firstRow");
    QTest::addColumn<int>("lastRow");
    QTest::addColumn<int>("firstColumn");
    QTest::addColumn<int>("lastColumn");
    QTest::addColumn<QRect>("expected");
    // Pictures 10 pixels wide, and (wide) 40, whose rows are compared another way.
    QTest::addColumn<int>("width");
    QTest::newRow("nothing") << QList<QPoint>{} << 0 << 99 << -1 << -1 << QRect() << 10;
    QTest::newRow("one pixel") << QList<QPoint>{{3, 4}} << 0 << 99 << -1 << -1 << QRect(3, 4, 1, 1) << 10;
    QTest::newRow("far apart")
        << QList<QPoint>{{1, 2}, {8, 7}} << 0 << 99 << -1 << -1 << QRect(QPoint(1, 2), QPoint(8, 7)) << 10;
    QTest::newRow("first and last column")
        << QList<QPoint>{{0, 0}, {9, 0}} << 0 << 99 << -1 << -1 << QRect(0, 0, 10, 1) << 10;
    QTest::newRow("last row") << QList<QPoint>{{5, 11}} << 0 << 99 << -1 << -1 << QRect(5, 11, 1, 1) << 10;
    QTest::newRow("outside the rows compared") << QList<QPoint>{{5, 9}} << 0 << 5 << -1 << -1 << QRect() << 10;
    QTest::newRow("no row compared") << QList<QPoint>{{5, 3}} << 4 << 3 << -1 << -1 << QRect() << 10;
    QTest::newRow("inside the rows compared")
        << QList<QPoint>{{5, 9}, {2, 1}} << 6 << 9 << -1 << -1 << QRect(5, 9, 1, 1) << 10;
    QTest::newRow("inside the columns compared") << QList<QPoint>{{5, 9}, {2, 1}, {7, 0}} << 0 << 11 << 4 << 6
                                                 << QRect(5, 9, 1, 1) << 10;
    QTest::newRow("columns past the picture")
        << QList<QPoint>{{9, 3}, {8, 5}} << 0 << 11 << 9 << 40 << QRect(9, 3, 1, 1) << 10;
    QTest::newRow("wide: one pixel") << QList<QPoint>{{33, 4}} << 0 << 99 << -1 << -1 << QRect(33, 4, 1, 1) << 40;
    QTest::newRow("wide: first and last column")
        << QList<QPoint>{{0, 2}, {39, 7}} << 0 << 99 << -1 << -1 << QRect(0, 2, 40, 6) << 40;
    QTest::newRow("wide: inside the columns compared")
        << QList<QPoint>{{25, 9}, {2, 1}, {38, 0}} << 0 << 11 << 3 << 30 << QRect(25, 9, 1, 1) << 40;
}

void PlotRepaintTest::CopyTakesOnlyWhatChanged()
{
    QFETCH(QList<QPoint>, changes);
    QFETCH(int, firstRow);
    QFETCH(int, lastRow);
    QFETCH(int, firstColumn);
    QFETCH(int, lastColumn);
    QFETCH(QRect, expected);
    QFETCH(int, width);
    QImage picture = White(width, 12);
    PictureCopy copy;
    QCOMPARE(copy.Take(picture), picture.rect());
    for (const QPoint& p : changes)
        picture.setPixel(p, qRgb(200, 0, 0));
    const bool columns = firstColumn >= 0;
    const QRect within(QPoint(firstColumn, firstRow), QPoint(lastColumn, lastRow));
    QCOMPARE(columns ? copy.Take(picture, within) : copy.Take(picture, firstRow, lastRow), expected);
    // What was compared is copied; the picture taken is never shared, so that drawing on
    // in it copies nothing.
    QVERIFY(picture.isDetached());
    for (int y = std::max(firstRow, 0); y <= std::min(lastRow, 11); ++y)
        for (int x = columns ? firstColumn : 0; x <= (columns ? std::min(lastColumn, width - 1) : width - 1); ++x)
            QCOMPARE(copy.Picture().pixel(x, y), picture.pixel(x, y));
    // Another size is taken whole.
    const QImage larger = White(width + 1, 12);
    QCOMPARE(copy.Take(larger), larger.rect());
    QCOMPARE(copy.Picture(), larger);
}

void PlotRepaintTest::RowPlotsRepaintOnlyTheirNewRows()
{
    ShownRowPlot plot;
    QVERIFY(plot.Show());
    QImage& picture = plot.picture;
    PlotPicture& view = plot.view;
    PaintRecorder& recorder = plot.recorder;

    auto drawRow = [&](int y, QRgb colour) {
        for (int x = 0; x < 30; ++x)
            picture.setPixel(x, y, colour);
    };
    drawRow(0, qRgb(10, 20, 30));
    view.SetRows(picture, 0);
    QCOMPARE(PaintedBy(recorder), QRegion(0, 0, 30, 1));
    drawRow(1, qRgb(40, 50, 60));
    view.SetRows(picture, 1);
    QCOMPARE(PaintedBy(recorder), QRegion(0, 1, 30, 1));
    // A line drawn past the picture's last row changes nothing.
    view.SetRows(picture, 1);
    QCOMPARE(PaintedBy(recorder), QRegion());
    QCOMPARE(view.Picture(), picture);

    // A new plot of the same size: every row is compared again.
    view.ForgetRows();
    QImage next = White(30, 20);
    next.setPixel(7, 0, qRgb(1, 2, 3));
    view.SetRows(next, 0);
    QCOMPARE(PaintedBy(recorder), QRegion(0, 0, 30, 2));
    QCOMPARE(view.Picture(), next);
}

void PlotRepaintTest::StatisticPlotRepaintsOnlyTheNewSegment()
{
    QImage picture = White(400, 200);
    PlotView view(picture.size(), nullptr);
    PaintRecorder recorder(view);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    PaintedBy(recorder);
    for (int y = 50; y <= 60; ++y)
        picture.setPixel(3, y, qRgb(0, 0, 255));
    view.SetPicture(picture);
    // Inside the one-pixel frame.
    QCOMPARE(PaintedBy(recorder), QRegion(4, 51, 1, 11));
    QCOMPARE(view.Picture(), picture);
    view.SetPicture(picture);
    QCOMPARE(PaintedBy(recorder), QRegion());
}

void PlotRepaintTest::PacedWindowsPaintHeldChangesTogether()
{
    ShownRowPlot plot;
    QVERIFY(plot.Show());
    QImage& picture = plot.picture;
    PlotPicture& view = plot.view;
    PaintRecorder& recorder = plot.recorder;
    int drawn = 0;
    auto drawRow = [&](int y) {
        ++drawn;
        for (int x = 0; x < 30; ++x)
            picture.setPixel(x, y, qRgb(10 * y, 20, drawn));
        view.SetRows(picture, y);
    };

    for (const bool uncovered : {false, true}) {
        {
            // Never due again within the test: what follows the first repaint is held.
            const RepaintPacer pacer(std::chrono::hours(1));
            drawRow(0);
            QCOMPARE(PaintedBy(recorder), QRegion(0, 0, 30, 1));
            drawRow(1);
            drawRow(2);
            QCOMPARE(PaintedBy(recorder), QRegion());
            if (uncovered) {
                // A window the system shows again is painted whole at once.
                view.hide();
                view.show();
                QVERIFY(QTest::qWaitForWindowExposed(&view));
                QCOMPARE(PaintedBy(recorder), QRegion(view.rect()));
            }
        }
        // The held repaints are made together when the pacer ends.
        QCOMPARE(PaintedBy(recorder), uncovered ? QRegion() : QRegion(0, 1, 30, 2));
        QCOMPARE(view.Picture(), picture);
    }

    // A held repaint is made once the refresh is due, though nothing else asks for one.
    const RepaintPacer pacer(std::chrono::milliseconds(30));
    drawRow(3);
    QCOMPARE(PaintedBy(recorder), QRegion(0, 3, 30, 1));
    drawRow(4);
    QTRY_COMPARE(recorder.painted, QRegion(0, 4, 30, 1));
}

QTEST_MAIN(PlotRepaintTest)
#include "PlotRepaintTest.moc"
