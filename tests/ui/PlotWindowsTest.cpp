#include "DesktopFixture.h"
#include "ui/EventScript.h"
#include "VariableSetup.h"

#include "ui/OutputWindows.h"
#include "ui/PlotPicture.h"
#include "ui/PlotScrollArea.h"
#include "ui/TModelArrayForm.h"
#include "ui/TModelOneForm.h"
#include "ui/TModelOneVarForm.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QtTest>

using namespace quorrel;
using namespace quorrel::test;
namespace fs = std::filesystem;

namespace {

// The plot windows in a fixed order, for comparing their visibility at once.
std::vector<QWidget*> PlotWindows(OutputWindows& o)
{
    return {&o.SpaceTime, &o.FreqTime, &o.OutcomeStats, &o.GCGraph, &o.GCGraphA, &o.FreqTimeOutcome};
}

QString Visibility(const std::vector<QWidget*>& windows)
{
    QString s;
    for (const QWidget* w : windows)
        s += w->isVisible() ? '1' : '0';
    return s;
}

// Starts a run with a click and notes the windows' visibility at the first pause, after
// generation 1; reset there when resetEarly.
QString VisibleAfterGenerationZero(TSingleRunForm& m, OutputWindows& outputs, bool resetEarly = false)
{
    QString seen;
    EventScript script([&] {
        if (m.CurGen->text().toInt() < 1)
            return false;
        seen = Visibility(PlotWindows(outputs));
        if (resetEarly)
            QTest::mouseClick(m.ResetBtn, Qt::LeftButton);
        return true;
    });
    QTest::mouseClick(m.StartBtn, Qt::LeftButton);
    return seen;
}

void SetPlotOptions(OptionStruct& o, bool show, bool write)
{
    o.ShowSTPlot = o.ShowFTPlot = o.ShowOTC = o.ShowGCGraph = o.ShowFTPOTC = show;
    o.WriteSTP = o.WriteFTP = o.WriteOTC = o.WriteGCGraph = o.WriteFTPOTC = write;
}

} // namespace

class PlotWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void VariableRunShowsItsWindowsAfterGenerationZeroOnlyWhenAsked_data();
    void VariableRunShowsItsWindowsAfterGenerationZeroOnlyWhenAsked();
    void FixedRunFeedsTheSpaceTimeAndGrowthRateWindowsOnly();
    void VariableArrayFeedsEveryPlotWindowButTheSpaceTimePlot();
    void TimePlotWindowsTakeTheirSizeFromThePlotHeight_data();
    void TimePlotWindowsTakeTheirSizeFromThePlotHeight();
    void TallTimePlotsFollowTheNewestRowUnlessScrolledAway();
    void HeldScrollGivesWayToTheUser();
};

void PlotWindowsTest::VariableRunShowsItsWindowsAfterGenerationZeroOnlyWhenAsked_data()
{
    QTest::addColumn<bool>("show");
    QTest::addColumn<bool>("write");
    QTest::newRow("shown, not written") << true << false;
    QTest::newRow("written, not shown") << false << true;
}

void PlotWindowsTest::VariableRunShowsItsWindowsAfterGenerationZeroOnlyWhenAsked()
{
    QFETCH(bool, show);
    QFETCH(bool, write);
    DesktopFixture f;
    f.SmallRun(20, 6);
    MakeVariable(f.app.Params);
    SetPlotOptions(f.app.Options, show, write);
    OutputWindows& o = f.main->Outputs();
    TModelOneVarForm& m = f.main->ModelOneVar();
    m.show();

    QCOMPARE(VisibleAfterGenerationZero(m, o), show ? QStringLiteral("111111") : QStringLiteral("000000"));
    QCOMPARE(m.CurGen->text(), QStringLiteral("6"));
    QVERIFY(f.dialogs.messages.empty());
    QCOMPARE(Visibility(PlotWindows(o)), show ? QStringLiteral("111111") : QStringLiteral("000000"));
    for (const char* name : {"STPlot.bmp", "FTPlot1.bmp", "FTPlot2.bmp", "FTPOTC1.bmp", "FTPOTC2.bmp",
                             "Outcome1.dat", "Outcome2.dat", "GCData.dat"})
        QVERIFY2(fs::exists(f.StartPath() / name) == write, name);
    if (!show)
        return;

    // The windows keep the last pictures of the run.
    QCOMPARE(o.SpaceTime.Picture().Picture().size(), QSize(20, 6));
    QCOMPARE(o.FreqTimeOutcome.Values().Picture().size(), QSize(100, 6));
    QCOMPARE(o.FreqTimeOutcome.Values().x(), 104);
    QCOMPARE(o.OutcomeStats.GenTotal->text(), QStringLiteral("6"));
    QVERIFY(!o.OutcomeStats.Plot(5).Picture().isNull());
    // Species 1 has two variable opponents: graph A shows a panel for each, side by side.
    QCOMPARE(o.GCGraph.Picture().size(), QSize(202, 412));
    QCOMPARE(o.GCGraphA.Picture().size(), QSize(202 + 207, 412));
    QVERIFY(o.GCGraphA.width() > 409);
    const QStringList first = o.GCGraph.LabelTexts();
    const QStringList graphA = o.GCGraphA.LabelTexts();
    for (const char* text : {"Growth Rate", "Competitive", "(initial)", "100", "0"}) {
        QVERIFY2(first.contains(text), text);
        QVERIFY2(graphA.contains(text), text);
    }
    QVERIFY(first.contains("Mean") && first.contains("Ability"));
    QVERIFY(graphA.contains("Against") && graphA.contains("Other Species"));
    QCOMPARE(o.GCGraph.windowTitle(), QStringLiteral("Growth rate - Competitive Graph"));
    QCOMPARE(o.GCGraphA.windowTitle(), QStringLiteral("Growth rate - Competitive Graph A"));
    QCOMPARE(o.OutcomeStats.windowTitle(), QStringLiteral("Statistics: Outcomes"));
    QCOMPARE(o.FreqTime.windowTitle(), QStringLiteral("Freq-Time: G-Rate"));
    QCOMPARE(o.FreqTimeOutcome.windowTitle(), QStringLiteral("Freq-Time: Outcome"));
    QCOMPARE(o.SpaceTime.windowTitle(), QStringLiteral("Space-Time Plot"));
}

void PlotWindowsTest::FixedRunFeedsTheSpaceTimeAndGrowthRateWindowsOnly()
{
    DesktopFixture f;
    f.SmallRun(20, 5);
    OutputWindows& o = f.main->Outputs();
    const std::vector<QWidget*> windows = PlotWindows(o);
    // Every View item makes its windows visible.
    const char* items[] = {"Space-Time Plot", "Frequency-Time for Growth Rate", "Statistics on Variable Outcome",
                           "Growth Rate-Competitive Graph", "Frequency-Time for Variable Outcome"};
    for (const char* item : items)
        f.main->MenuItem(QString::fromLatin1(item))->trigger();
    QCOMPARE(Visibility(windows), QStringLiteral("111111"));

    // The fixed-outcome mode hides the windows it does not feed, and its run shows the others.
    o.SpaceTime.hide();
    o.FreqTime.hide();
    f.main->RunMode().OKBtnClick();
    QCOMPARE(Visibility(windows), QStringLiteral("000000"));
    TModelOneForm& m = f.main->ModelOne();
    QCOMPARE(VisibleAfterGenerationZero(m, o), QStringLiteral("110000"));
    QCOMPARE(o.FreqTime.Individuals().Picture().size(), QSize(100, 5));

    // Each View item brings its hidden windows back, one item at a time.
    o.SpaceTime.hide();
    o.FreqTime.hide();
    const QString afterEach[] = {QStringLiteral("100000"), QStringLiteral("110000"), QStringLiteral("111000"),
                                 QStringLiteral("111110"), QStringLiteral("111111")};
    for (int i = 0; i < 5; ++i) {
        f.main->MenuItem(QString::fromLatin1(items[i]))->trigger();
        QCOMPARE(Visibility(windows), afterEach[i]);
    }

    // With the Show options off, a fixed run hides them again.
    f.app.Options.ShowSTPlot = false;
    f.app.Options.ShowFTPlot = false;
    QCOMPARE(VisibleAfterGenerationZero(m, o), QStringLiteral("000000"));
}

void PlotWindowsTest::VariableArrayFeedsEveryPlotWindowButTheSpaceTimePlot()
{
    DesktopFixture f;
    f.SmallRun(10, 4);
    MakeVariable(f.app.Params);
    OutputWindows& o = f.main->Outputs();
    TModelArrayForm& m = f.main->ArrayVariable();
    m.show();
    m.NumOfRow->setText("2");
    m.NumOfCol->setText("2");
    QTest::mouseClick(m.StartBtn, Qt::LeftButton);
    QVERIFY(f.dialogs.messages.empty());
    QCOMPARE(m.CurGen->text(), QStringLiteral("4"));
    QCOMPARE(Visibility(PlotWindows(o)), QStringLiteral("011111"));
    QCOMPARE(o.FreqTimeOutcome.Individuals().Picture().size(), QSize(100, 4));
    QCOMPARE(o.OutcomeStats.GenTotal->text(), QStringLiteral("4"));
}

void PlotWindowsTest::TimePlotWindowsTakeTheirSizeFromThePlotHeight_data()
{
    QTest::addColumn<int>("maxgen");
    QTest::addColumn<int>("stCycle");
    QTest::addColumn<QSize>("spaceTime");
    QTest::addColumn<bool>("spaceTimeScrolls");
    QTest::addColumn<QSize>("freqTime");
    QTest::addColumn<bool>("freqTimeScrolls");
    QTest::newRow("short plots") << 40 << 4 << QSize(30, 10) << false << QSize(204, 40) << false;
    QTest::newRow("600 rows") << 600 << 1 << QSize(30, 600) << false << QSize(204, 600) << false;
    QTest::newRow("601 rows") << 601 << 1 << QSize(46, 600) << true << QSize(220, 600) << true;
}

void PlotWindowsTest::TimePlotWindowsTakeTheirSizeFromThePlotHeight()
{
    QFETCH(int, maxgen);
    QFETCH(int, stCycle);
    QFETCH(QSize, spaceTime);
    QFETCH(bool, spaceTimeScrolls);
    QFETCH(QSize, freqTime);
    QFETCH(bool, freqTimeScrolls);
    DesktopFixture f;
    f.SmallRun(30, maxgen);
    f.app.Params.GParamRec.MaxY = 16;
    f.app.Options.STPlotCycle = stCycle;
    OutputWindows& o = f.main->Outputs();
    TModelOneForm& m = f.main->ModelOne();
    m.show();
    VisibleAfterGenerationZero(m, o, true);
    QVERIFY(f.dialogs.messages.empty());

    // The plot's client area as the plot asks; the window wider only for its title.
    QCOMPARE(o.SpaceTime.size(),
             QSize(std::max(spaceTime.width(), PlotScrollArea::TitleWidth(o.SpaceTime)), spaceTime.height()));
    QVERIFY(o.SpaceTime.width() > spaceTime.width());
    QCOMPARE(o.SpaceTime.Area().geometry(), QRect(QPoint(0, 0), spaceTime));
    QCOMPARE(o.SpaceTime.Area().verticalScrollBar()->isVisible(), spaceTimeScrolls);
    QCOMPARE(o.SpaceTime.Area().horizontalScrollBar()->isVisible(), false);
    QCOMPARE(o.SpaceTime.Picture().size(), QSize(30, maxgen / stCycle));
    QCOMPARE(o.FreqTime.size(),
             QSize(std::max(freqTime.width(), PlotScrollArea::TitleWidth(o.FreqTime)), freqTime.height()));
    QCOMPARE(o.FreqTime.Area().geometry(), QRect(QPoint(0, 0), freqTime));
    QCOMPARE(o.FreqTime.Area().verticalScrollBar()->isVisible(), freqTimeScrolls);
    QCOMPARE(o.FreqTime.Area().horizontalScrollBar()->isVisible(), false);
    QCOMPARE(o.FreqTime.Values().geometry(), QRect(104, 0, 100, maxgen));
}

void PlotWindowsTest::TallTimePlotsFollowTheNewestRowUnlessScrolledAway()
{
    TSpaceTimeForm spaceTime;
    TFreqTimeForm freqTime(QStringLiteral("Freq-Time: G-Rate"));
    QImage picture(30, 1000, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QImage values(100, 1000, QImage::Format_RGB32);
    values.fill(Qt::white);
    spaceTime.ShowSpaceTimeWindow({46, 600, 54, 627});
    freqTime.ShowFreqTimeWindow({220, 600, 228, 627});
    QScrollBar* st = spaceTime.Area().verticalScrollBar();
    QScrollBar* ft = freqTime.Area().verticalScrollBar();
    auto draw = [&](int from, int to) {
        for (int row = from; row <= to; ++row) {
            spaceTime.RefreshSpaceTimePlot(picture, row);
            freqTime.RefreshFreqTimePlot(values, values, row);
        }
    };
    draw(0, 599);
    QCOMPARE(st->value(), 0);
    QCOMPARE(ft->value(), 0);
    // Past the 600 rows in view the newest row comes to the bottom within a refresh.
    draw(600, 700);
    QTRY_COMPARE(st->value(), 101);
    QTRY_COMPARE(ft->value(), 101);
    // Scrolled back to the start, the plot stays there while the run goes on.
    st->setValue(0);
    ft->setValue(20);
    draw(701, 720);
    QTest::qWait(50);
    QCOMPARE(st->value(), 0);
    QCOMPARE(ft->value(), 20);
    // Scrolled to the newest row again, it follows again.
    st->setValue(150);
    draw(721, 800);
    QTRY_COMPARE(st->value(), 201);
    QCOMPARE(ft->value(), 20);
    // A new run starts at the top.
    spaceTime.ShowSpaceTimeWindow({46, 600, 54, 627});
    QCOMPARE(st->value(), 0);
    draw(0, 10);
    QCOMPARE(st->value(), 0);
}

void PlotWindowsTest::HeldScrollGivesWayToTheUser()
{
    using namespace std::chrono_literals;
    QWidget window;
    auto* content = new QWidget;
    content->setFixedSize(30, 1000);
    PlotScrollArea area(content, &window, 300ms);
    area.ApplySize({46, 100, 54, 127});
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QScrollBar* bar = area.verticalScrollBar();
    auto follow = [&](int from, int to) {
        for (int row = from; row <= to; ++row)
            area.FollowRow(row);
    };
    // The first scroll is made at once, the next ones are held.
    follow(0, 100);
    QCOMPARE(bar->value(), 1);
    follow(101, 150);
    QCOMPARE(bar->value(), 1);
    // The user scrolls away while a scroll is held: the held scroll is dropped.
    bar->setValue(0);
    QTest::qWait(400);
    QCOMPARE(bar->value(), 0);
    follow(151, 160);
    QCOMPARE(bar->value(), 0);
    // Back at the newest row, the plot follows again: at once a refresh after the last
    // scroll, then within a refresh.
    bar->setValue(61);
    follow(161, 161);
    QCOMPARE(bar->value(), 62);
    follow(162, 170);
    QCOMPARE(bar->value(), 62);
    QTRY_COMPARE(bar->value(), 71);
}

QTEST_MAIN(PlotWindowsTest)
#include "PlotWindowsTest.moc"
