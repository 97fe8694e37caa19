// WindowLayout on real windows, offscreen on one 1600 x 1000 screen with window frames: where
// windows open, the user's arrangement kept in a settings file of the test's own (never the
// user's) and given back after a restart, Reset Window Layout, and every run mode's windows
// clear of the run controls and inside the screen.
#include "DesktopFixture.h"
#include "VariableSetup.h"
#include "ui/EventScript.h"
#include "ui/OutputWindows.h"
#include "ui/TModelArrayForm.h"
#include "ui/TModelOneForm.h"
#include "ui/TModelOneVarForm.h"
#include "ui/TMonteCarloForm.h"
#include "ui/TRunModeForm.h"
#include "ui/WindowLayout.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace quorrel;
using namespace quorrel::test;

namespace {

const QRect Screen(0, 0, 1600, 1000);

// A window of a fixed client size.
struct Fixed : QWidget {
    Fixed(const QString& title, QSize size)
    {
        setWindowTitle(title);
        setFixedSize(size);
    }
};

// Three windows as the program has them: main, controls and one output window.
struct Windows {
    Fixed main{QStringLiteral("Main"), QSize(480, 340)};
    Fixed controls{QStringLiteral("Controls"), QSize(330, 260)};
    Fixed output{QStringLiteral("Output"), QSize(500, 420)};
    WindowLayout layout;

    explicit Windows(std::unique_ptr<QSettings> settings) : layout(std::move(settings))
    {
        layout.Manage(main, QStringLiteral("Main"), WindowLayout::Role::Main);
        layout.Manage(controls, QStringLiteral("Controls"), WindowLayout::Role::Controls);
        layout.Manage(output, QStringLiteral("Output"), WindowLayout::Role::Output);
    }

    void ShowAll()
    {
        for (QWidget* w : {static_cast<QWidget*>(&main), static_cast<QWidget*>(&controls),
                           static_cast<QWidget*>(&output)}) {
            w->show();
            QVERIFY(QTest::qWaitForWindowExposed(w));
        }
    }
};

std::unique_ptr<QSettings> SettingsIn(const QTemporaryDir& dir)
{
    return std::make_unique<QSettings>(dir.filePath(QStringLiteral("layout.ini")), QSettings::IniFormat);
}

// Every visible top-level window inside the screen and clear of the model window's frame.
QString CheckWindows(const QWidget& model)
{
    QString problems;
    const QRect controls = model.frameGeometry();
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible() || w == &model)
            continue;
        const QRect frame = w->frameGeometry();
        if (!Screen.contains(frame))
            problems += QStringLiteral("'%1' leaves the screen; ").arg(w->windowTitle());
        if (frame.intersects(controls))
            problems += QStringLiteral("'%1' covers '%2'; ").arg(w->windowTitle(), model.windowTitle());
    }
    return problems;
}

} // namespace

class WindowLayoutTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void MainTopLeftControlsBesideItOutputsClearOfThem();
    void AMovedWindowComesBackAfterARestart();
    void APlaceOnNoScreenIsForgotten();
    void ResetWindowLayoutForgetsAndPlacesAgain();
    void AWindowTheProgramResizesOverTheControlsMoves();
    void AWindowTheProgramGrowsOverAnotherMovesWhereThereIsRoom();
    void EveryRunModeLeavesItsControlsUncovered_data();
    void EveryRunModeLeavesItsControlsUncovered();
    void TheMainWindowRemembersThroughItsSettings();
};

void WindowLayoutTest::initTestCase()
{
    QCOMPARE(QGuiApplication::primaryScreen()->availableGeometry(), Screen);
}

void WindowLayoutTest::MainTopLeftControlsBesideItOutputsClearOfThem()
{
    Windows w(nullptr);
    w.ShowAll();
    const QRect main = w.main.frameGeometry();
    const QRect controls = w.controls.frameGeometry();
    const QRect output = w.output.frameGeometry();
    QVERIFY(main.size() != w.main.size()); // the frame is counted
    QCOMPARE(main.topLeft(), Screen.topLeft());
    QVERIFY(!controls.intersects(main));
    QCOMPARE(controls.top(), main.bottom() + 1); // below the main window
    QVERIFY(!output.intersects(controls));
    QVERIFY(!output.intersects(main));
    QVERIFY(Screen.contains(output));
    QCOMPARE(output.left(), controls.right() + 1); // beside the controls

    // Hidden and shown again, it opens where it was.
    const QPoint at = w.output.pos();
    w.output.hide();
    w.output.show();
    QCOMPARE(w.output.pos(), at);
}

void WindowLayoutTest::AMovedWindowComesBackAfterARestart()
{
    QTemporaryDir dir;
    const QPoint moved(900, 500);
    {
        Windows w(SettingsIn(dir));
        w.ShowAll();
        w.output.move(moved); // as the user drags it
        QTest::qWait(10);
        w.layout.Save();
        QCOMPARE(w.layout.Remembered(QStringLiteral("Output")), moved);
        // The windows the program placed are not written down.
        QCOMPARE(w.layout.Remembered(QStringLiteral("Controls")), std::nullopt);
    }
    QVERIFY(QFile::exists(dir.filePath(QStringLiteral("layout.ini"))));
    Windows again(SettingsIn(dir));
    again.ShowAll();
    QCOMPARE(again.output.frameGeometry().topLeft(), moved);
    QCOMPARE(again.controls.frameGeometry(), QRect(QPoint(0, again.main.frameGeometry().bottom() + 1),
                                                  again.controls.frameGeometry().size()));
}

void WindowLayoutTest::APlaceOnNoScreenIsForgotten()
{
    QTemporaryDir dir;
    {
        QSettings settings(dir.filePath(QStringLiteral("layout.ini")), QSettings::IniFormat);
        // Where a second screen used to be; one that runs off the bottom edge.
        settings.setValue(QStringLiteral("Windows/Output/pos"), QPoint(2000, 100));
        settings.setValue(QStringLiteral("Windows/Controls/pos"), QPoint(1400, 900));
    }
    Windows w(SettingsIn(dir));
    w.ShowAll();
    QVERIFY(Screen.contains(w.output.frameGeometry()));
    QVERIFY(Screen.contains(w.controls.frameGeometry()));
    // Moved inside the screen, as near the remembered place as it goes.
    QCOMPARE(w.controls.frameGeometry().bottomRight(), Screen.bottomRight());
    QVERIFY(!w.output.frameGeometry().intersects(w.controls.frameGeometry()));
}

void WindowLayoutTest::ResetWindowLayoutForgetsAndPlacesAgain()
{
    QTemporaryDir dir;
    Windows w(SettingsIn(dir));
    w.ShowAll();
    const QPoint placed = w.output.pos();
    w.output.move(1000, 560);
    w.output.hide();
    QCOMPARE(w.layout.Remembered(QStringLiteral("Output")), QPoint(1000, 560));
    w.output.show();
    QCOMPARE(w.output.pos(), QPoint(1000, 560));
    w.layout.Reset();
    QCOMPARE(w.layout.Remembered(QStringLiteral("Output")), std::nullopt);
    QCOMPARE(w.output.pos(), placed);
    QSettings file(dir.filePath(QStringLiteral("layout.ini")), QSettings::IniFormat);
    QVERIFY(file.childGroups().isEmpty());
}

void WindowLayoutTest::AWindowTheProgramResizesOverTheControlsMoves()
{
    Windows w(nullptr);
    w.ShowAll();
    // The user puts the output window just right of the controls' right edge, low down...
    w.output.move(w.controls.frameGeometry().right() + 1, 560);
    QTest::qWait(10);
    // ...and the program makes it wider than the room there and taller: it goes elsewhere.
    w.output.setFixedSize(1200, 440);
    QVERIFY(!w.output.frameGeometry().intersects(w.controls.frameGeometry()));
    QVERIFY(Screen.contains(w.output.frameGeometry()));
    // Larger than the screen: cut down to the room beside the controls; its contents would scroll.
    w.output.setFixedSize(1700, 1100);
    QVERIFY(Screen.contains(QRect(w.output.pos(), QSize(1, 1))));
}

void WindowLayoutTest::AWindowTheProgramGrowsOverAnotherMovesWhereThereIsRoom()
{
    Windows w(nullptr);
    w.ShowAll();
    Fixed second(QStringLiteral("Second"), QSize(200, 200));
    w.layout.Manage(second, QStringLiteral("Second"), WindowLayout::Role::Output);
    second.show();
    QVERIFY(QTest::qWaitForWindowExposed(&second));
    QVERIFY(!second.frameGeometry().intersects(w.output.frameGeometry()));
    // Grown by the program so that it would overlap the first output window: it moves.
    second.setFixedSize(600, 560);
    QVERIFY(!second.frameGeometry().intersects(w.output.frameGeometry()));
    QVERIFY(!second.frameGeometry().intersects(w.controls.frameGeometry()));
    QVERIFY(Screen.contains(second.frameGeometry()));
    // Put by the user over the first output window, it stays there when the program resizes it.
    const QPoint user = w.output.frameGeometry().topLeft() + QPoint(20, 20);
    second.move(user);
    QTest::qWait(10);
    second.setFixedSize(620, 560);
    QCOMPARE(second.frameGeometry().topLeft(), user);
}

void WindowLayoutTest::EveryRunModeLeavesItsControlsUncovered_data()
{
    QTest::addColumn<bool>("multiple");
    QTest::addColumn<bool>("variable");
    QTest::addColumn<bool>("monteCarlo");
    QTest::newRow("fixed single run") << false << false << false;
    QTest::newRow("variable single run") << false << true << false;
    QTest::newRow("fixed Monte Carlo") << false << false << true;
    QTest::newRow("variable Monte Carlo") << false << true << true;
    QTest::newRow("fixed array") << true << false << false;
    QTest::newRow("variable array") << true << true << false;
}

void WindowLayoutTest::EveryRunModeLeavesItsControlsUncovered()
{
    QFETCH(bool, multiple);
    QFETCH(bool, variable);
    QFETCH(bool, monteCarlo);
    QTemporaryDir dir;
    DesktopFixture f(SettingsIn(dir));
    QVERIFY(f.started);
    // The run of the issue: 400 x 400 cells, 5000 generations; arrays of 3 x 3 smaller ones.
    f.SmallRun(multiple ? 100 : 400, 5000);
    if (variable)
        MakeVariable(f.app.Params);
    f.app.BringParametersIntoForce();
    f.main->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.main.get()));

    TRunModeForm& runMode = f.main->RunMode();
    (multiple ? runMode.MultipleLandscapes : runMode.SingleLandscape)->click();
    (monteCarlo ? runMode.MonteCarlo : runMode.SingleRun)->click();
    (variable ? runMode.VariableOutcome : runMode.FixedOutcome)->click();
    runMode.OKBtnClick();
    TSteppedRunForm* stepped = nullptr;
    TModelForm* model = nullptr;
    if (monteCarlo) {
        model = variable ? &f.main->MonteCarloVariable() : &f.main->MonteCarloFixed();
    } else if (multiple) {
        TModelArrayForm& array = variable ? f.main->ArrayVariable() : f.main->ArrayFixed();
        array.NumOfRow->setText(QStringLiteral("3"));
        array.NumOfCol->setText(QStringLiteral("3"));
        stepped = &array;
    } else {
        stepped = variable ? static_cast<TSteppedRunForm*>(&f.main->ModelOneVar()) : &f.main->ModelOne();
    }
    if (stepped != nullptr)
        model = stepped;
    QVERIFY(model->isVisible());
    QVERIFY(QTest::qWaitForWindowExposed(model));
    QCOMPARE(CheckWindows(*model), QString());
    if (stepped == nullptr)
        return; // a Monte Carlo series shows no output windows

    QString problems;
    int visible = 0;
    EventScript script([&] {
        if (stepped->CurGen->text().toInt() < 2)
            return false;
        QTest::qWait(20);
        problems = CheckWindows(*stepped);
        for (QWidget* w : QApplication::topLevelWidgets())
            visible += w->isVisible() ? 1 : 0;
        stepped->StopBtnClick();
        stepped->ResetBtnClick();
        return true;
    });
    stepped->StartBtnClick();
    QCOMPARE(problems, QString());
    // The main window, the controls and the run's windows.
    QVERIFY(visible >= (variable ? 8 : 4));
}

void WindowLayoutTest::TheMainWindowRemembersThroughItsSettings()
{
    QTemporaryDir dir;
    {
        DesktopFixture f(SettingsIn(dir));
        f.main->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.main.get()));
        QCOMPARE(f.main->frameGeometry().topLeft(), Screen.topLeft());
        f.main->ViewGeneralItemClick();
        f.main->move(300, 200);
        QTest::qWait(10);
        f.main->close();
    }
    DesktopFixture again(SettingsIn(dir));
    again.main->show();
    QVERIFY(QTest::qWaitForWindowExposed(again.main.get()));
    QCOMPARE(again.main->frameGeometry().topLeft(), QPoint(300, 200));
    QVERIFY(again.main->MenuItem(QStringLiteral("Reset Window &Layout")) != nullptr);
    again.main->MenuItem(QStringLiteral("Reset Window &Layout"))->trigger();
    QCOMPARE(again.main->frameGeometry().topLeft(), Screen.topLeft());
}

// One offscreen screen of 1600 x 1000 whose windows have frames, and no settings of the user's.
int main(int argc, char* argv[])
{
    QTemporaryDir config;
    const QString file = config.filePath(QStringLiteral("screens.json"));
    QFile json(file);
    if (!json.open(QIODevice::WriteOnly))
        return 1;
    json.write(R"({"windowFrameMargins": true, "screens": [{"name": "screen", "x": 0, "y": 0,
                  "width": 1600, "height": 1000, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    json.close();
    qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + file.toLocal8Bit());
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    WindowLayoutTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "WindowLayoutTest.moc"
