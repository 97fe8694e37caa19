// The placement rule as a pure function: screens and window sizes in, rectangles out. The
// table places every run mode's windows on 1280 x 800, 1600 x 1000, 1920 x 1080 and on two
// screens, with the main window at the top left, the model window beside it and the output
// windows around the model window, as the desktop program does.
#include "ui/WindowPlacement.h"

#include <QMargins>
#include <QTest>

#include <vector>

using namespace quorrel;

namespace {

// The frame openbox's default theme draws around a window (title bar and handle).
const QMargins Frame(1, 22, 1, 6);

QSize Framed(int width, int height)
{
    return {width + Frame.left() + Frame.right(), height + Frame.top() + Frame.bottom()};
}

// Client sizes as the windows take them in the runs of the screenshots and of the issue.
const QSize Main = Framed(480, 344);
const QSize SingleRun = Framed(328, 232);
const QSize MonteCarlo = Framed(452, 420);
const QSize ArrayWindow = Framed(476, 600);
const QSize Statistics = Framed(522, 718);
const QSize OutcomeStatistics = Framed(634, 405);
const QSize GCGraph = Framed(560, 470);
const QSize FreqTime = Framed(220, 600);

struct Mode {
    const char* name;
    QSize controls;
    std::vector<QSize> windows; // in the order of placement
};

std::vector<Mode> Modes()
{
    // A 400 x 400 fixed run of 5000 generations; a 150 x 150 variable run of 700 generations
    // at 2 pixels a cell; a 3 x 3 array of 150 x 150 landscapes.
    const QSize landscape400 = Framed(400, 400);
    const QSize spaceTime400 = Framed(416, 600);
    const QSize landscape300 = Framed(300, 300);
    const QSize spaceTime150 = Framed(166, 600);
    const QSize gcGraphA = Framed(1025, 470);
    const QSize array = Framed(460, 460);
    return {
        {"fixed single run", SingleRun, {landscape400, Statistics, spaceTime400, FreqTime}},
        {"variable single run", SingleRun,
         {landscape300, Statistics, spaceTime150, FreqTime, OutcomeStatistics, GCGraph, gcGraphA, FreqTime}},
        {"Monte Carlo", MonteCarlo, {}},
        {"fixed array", ArrayWindow, {array, Statistics, FreqTime}},
        {"variable array", ArrayWindow, {array, Statistics, FreqTime, OutcomeStatistics, GCGraph, gcGraphA, FreqTime}},
    };
}

struct Screens {
    const char* name;
    std::vector<QRect> areas;
};

std::vector<Screens> ScreenSets()
{
    return {
        {"1280x800", {QRect(0, 0, 1280, 800)}},
        {"1600x1000", {QRect(0, 0, 1600, 1000)}},
        {"1920x1080", {QRect(0, 0, 1920, 1080)}},
        // A panel along the bottom of the first screen; the second one to the right.
        {"two screens", {QRect(0, 0, 1600, 970), QRect(1600, 0, 1280, 1024)}},
    };
}

bool InsideAScreen(const std::vector<QRect>& screens, const QRect& r)
{
    for (const QRect& s : screens)
        if (s.contains(r))
            return true;
    return false;
}

// Brute force, pixel by pixel: is there any place on any screen where a window of this size
// covers neither the controls nor any of the windows?
bool FreePlaceExists(const std::vector<QRect>& screens, const QRect& controls, const std::vector<QRect>& windows,
                     QSize size)
{
    for (const QRect& s : screens) {
        const QSize fit = size.boundedTo(s.size());
        // Prefix sums of the blocked pixels of this screen.
        const int w = s.width(), h = s.height();
        std::vector<int> sum(size_t(w + 1) * (h + 1), 0);
        auto at = [&](int x, int y) -> int& { return sum[size_t(y) * (w + 1) + x]; };
        std::vector<QRect> blocked = windows;
        blocked.push_back(controls);
        std::vector<unsigned char> pixels(size_t(w) * h, 0);
        for (const QRect& b : blocked) {
            const QRect r = b.intersected(s).translated(-s.topLeft());
            for (int y = r.top(); y <= r.bottom(); ++y)
                for (int x = r.left(); x <= r.right(); ++x)
                    pixels[size_t(y) * w + x] = 1;
        }
        for (int y = 1; y <= h; ++y)
            for (int x = 1; x <= w; ++x)
                at(x, y) = pixels[size_t(y - 1) * w + x - 1] + at(x - 1, y) + at(x, y - 1) - at(x - 1, y - 1);
        for (int y = 0; y + fit.height() <= h; ++y)
            for (int x = 0; x + fit.width() <= w; ++x) {
                const int x2 = x + fit.width(), y2 = y + fit.height();
                if (at(x2, y2) - at(x, y2) - at(x2, y) + at(x, y) == 0)
                    return true;
            }
    }
    return false;
}

} // namespace

class WindowPlacementTest : public QObject {
    Q_OBJECT
private slots:
    void EveryModeOnEveryScreen_data();
    void EveryModeOnEveryScreen();
    void TheFixedRunOn1600x1000();
    void AWindowLargerThanTheScreenIsCutDownToIt();
    void AWindowWithNoRoomBesideTheControlsIsCutDownToTheLargestBand();
    void TheSecondScreenTakesWhatTheFirstHasNoRoomFor();
    void ARememberedPlaceIsMovedOntoAScreenOrDropped();
};

void WindowPlacementTest::EveryModeOnEveryScreen_data()
{
    QTest::addColumn<int>("screenSet");
    QTest::addColumn<int>("mode");
    const std::vector<Screens> sets = ScreenSets();
    const std::vector<Mode> modes = Modes();
    for (int s = 0; s < int(sets.size()); ++s)
        for (int m = 0; m < int(modes.size()); ++m)
            QTest::addRow("%s, %s", sets[s].name, modes[m].name) << s << m;
}

void WindowPlacementTest::EveryModeOnEveryScreen()
{
    QFETCH(int, screenSet);
    QFETCH(int, mode);
    const std::vector<QRect> screens = ScreenSets()[screenSet].areas;
    const Mode m = Modes()[mode];

    const QRect main = WindowPlacement::Place(screens, QRect(), {}, {Main}).front();
    QCOMPARE(main, QRect(screens.front().topLeft(), Main));
    const QRect controls = WindowPlacement::Place(screens, main, {}, {m.controls}).front();
    QVERIFY(InsideAScreen(screens, controls));
    QVERIFY(!controls.intersects(main));

    WindowPlacement placement(screens, controls);
    placement.Occupy(main);
    std::vector<QRect> before{main};
    QString table;
    for (const QSize& size : m.windows) {
        const QRect r = placement.Place(size);
        table += QStringLiteral(" (%1,%2 %3x%4)").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
        QVERIFY2(InsideAScreen(screens, r), qPrintable(table));
        QVERIFY2(!r.intersects(controls), qPrintable(table));
        // A window as large as it asked, unless the screen is smaller, or unless no screen has
        // a place for it that leaves the controls uncovered (then it is cut down beside them).
        if (r.size() != size.boundedTo(WindowPlacement::ScreenOf(screens, r).size())) {
            QVERIFY2(!FreePlaceExists(screens, controls, {}, size), qPrintable(table));
            QVERIFY2(r.width() <= size.width() && r.height() <= size.height(), qPrintable(table));
        }
        bool overlaps = false;
        for (const QRect& b : before)
            overlaps = overlaps || r.intersects(b);
        QCOMPARE(placement.LastOverlaps(), overlaps);
        // Overlapping only when there was no room for it anywhere.
        if (overlaps)
            QVERIFY2(!FreePlaceExists(screens, controls, before, size), qPrintable(table));
        before.push_back(r);
    }
    qInfo("controls (%d,%d %dx%d):%s", controls.x(), controls.y(), controls.width(), controls.height(),
          qPrintable(table));
    // The same screens and sizes, the same places.
    QCOMPARE(WindowPlacement::Place(screens, controls, {main}, m.windows),
             std::vector<QRect>(before.begin() + 1, before.end()));
}

void WindowPlacementTest::TheFixedRunOn1600x1000()
{
    // The run of the issue: the main window, "Single Run" below it, the landscape beside the
    // run controls, the statistics next, the space-time and frequency-time plots last.
    const std::vector<QRect> screens{QRect(0, 0, 1600, 1000)};
    const QRect main(QPoint(0, 0), Main);
    const QRect controls = WindowPlacement::Place(screens, main, {}, {SingleRun}).front();
    QCOMPARE(controls, QRect(QPoint(0, main.bottom() + 1), SingleRun));
    const std::vector<QRect> placed =
        WindowPlacement::Place(screens, controls, {main}, {Framed(400, 400), Statistics, Framed(416, 600), FreqTime});
    const QRect& landscape = placed[0];
    // The landscape touches the controls.
    QCOMPARE(landscape.left(), controls.right() + 1);
    QCOMPARE(landscape.top(), controls.top());
    for (size_t i = 0; i < placed.size(); ++i) {
        QVERIFY(screens.front().contains(placed[i]));
        QVERIFY(!placed[i].intersects(controls));
    }
    // The statistics have room of their own.
    for (const QRect& other : {main, landscape})
        QVERIFY(!placed[1].intersects(other));
}

void WindowPlacementTest::AWindowLargerThanTheScreenIsCutDownToIt()
{
    const QRect screen(0, 0, 1280, 800);
    const QRect controls(0, 0, 300, 200);
    // 1280 wide, it has no place beside the controls: the band below them is the largest.
    const QRect r = WindowPlacement::Place(screen, controls, {QSize(1400, 760)}).front();
    QCOMPARE(r, QRect(0, 200, 1280, 600));
    const QRect tall = WindowPlacement::Place(screen, controls, {QSize(600, 1200)}).front();
    QCOMPARE(tall, QRect(300, 0, 600, 800));
}

void WindowPlacementTest::AWindowWithNoRoomBesideTheControlsIsCutDownToTheLargestBand()
{
    // Controls in the middle of the screen leave 500 pixels on the left, 480 on the right.
    const QRect screen(0, 0, 1280, 800);
    const QRect controls(500, 100, 300, 600);
    const QRect r = WindowPlacement::Place(screen, controls, {QSize(1200, 700)}).front();
    QCOMPARE(r, QRect(0, 100, 500, 700));
    QVERIFY(!r.intersects(controls));
}

void WindowPlacementTest::TheSecondScreenTakesWhatTheFirstHasNoRoomFor()
{
    const std::vector<QRect> screens{QRect(0, 0, 1280, 800), QRect(1280, 0, 1024, 768)};
    const QRect controls(0, 0, 400, 800);
    const std::vector<QRect> placed =
        WindowPlacement::Place(screens, controls, {}, {QSize(880, 800), QSize(500, 500), QSize(500, 500)});
    QCOMPARE(placed[0], QRect(400, 0, 880, 800));
    QCOMPARE(placed[1], QRect(1280, 0, 500, 500));
    QCOMPARE(placed[2], QRect(1780, 0, 500, 500));
}

void WindowPlacementTest::ARememberedPlaceIsMovedOntoAScreenOrDropped()
{
    const std::vector<QRect> screens{QRect(0, 0, 1600, 1000)};
    // Where the second screen was.
    QCOMPARE(WindowPlacement::OnScreen(screens, QRect(1700, 100, 400, 300)), std::nullopt);
    QCOMPARE(WindowPlacement::OnScreen(screens, QRect(100, 100, 400, 300)), QRect(100, 100, 400, 300));
    QCOMPARE(WindowPlacement::OnScreen(screens, QRect(1400, 900, 400, 300)), QRect(1200, 700, 400, 300));
}

QTEST_APPLESS_MAIN(WindowPlacementTest)
#include "WindowPlacementTest.moc"
