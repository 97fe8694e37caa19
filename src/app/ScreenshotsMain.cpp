// quorrel-screenshots: starts the desktop program's windows in a scratch folder, runs a small
// landscape and saves a PNG picture of every window while the run is in progress, plus some of
// the whole screen. Used by scripts/screenshots under a virtual X server with a window manager:
// the windows go where the program's placement rule puts them, and the program checks, with
// the X server's own account of the windows (xwininfo, xprop), that after Start no window
// covers the run controls and every window lies inside the screen. Then it drags a window by
// its title bar as a user would (xdotool); run again with --restart and the same --layout file
// it checks that the window opens where it was dragged to.
//   quorrel-screenshots FOLDER [--layout FILE] [--restart]
#include "BuildInfo.h"
#include "runs/AppState.h"
#include "runs/RunMode.h"
#include "ui/ClickableLineEdit.h"
#include "ui/EventScript.h"
#include "ui/OutputWindows.h"
#include "ui/QtDialogs.h"
#include "ui/TInitProgressForm.h"
#include "ui/TMainForm.h"
#include "ui/TModelArrayForm.h"
#include "ui/TModelOneForm.h"
#include "ui/TModelOneVarForm.h"
#include "ui/TMonteCarloForm.h"
#include "ui/TRunModeForm.h"

#include "ui/WindowLayout.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <optional>

namespace {

using namespace quorrel;

void Save(QWidget& window, const QDir& dir, const QString& name)
{
    const QString path = dir.filePath(name + QStringLiteral(".png"));
    if (!window.grab().save(path))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

void Settle()
{
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

void Prepare(AppState& app)
{
    GParamStruct& g = app.Params.GParamRec;
    g.Maxspec = 4;
    g.MaxX = 150;
    g.MaxY = 150;
    g.PIX = 2;
    g.Maxgen = 600;
    g.Cover = 0;
    g.TotalCover = 60.0f;
    auto& m = app.Params.OutcomeMatrix;
    // A loop 1 > 2 > 3 > 4 > 1 with stand-offs across it: the species chase each other in
    // patches and all stay.
    m[1][2] = {100, 0, 0};
    m[2][3] = {100, 0, 0};
    m[3][4] = {100, 0, 0};
    m[1][4] = {0, 100, 0};
    m[1][3] = {0, 0, 100};
    m[2][4] = {0, 0, 100};
    for (int s = 1; s <= 4; ++s)
        app.Params.GrowthRates[s] = {-1, 30, 90};
    app.Params.MirrorOutcomeMatrix();
    app.Params.UpdateGRateFractions();
    app.Params.MortalityVector[0] = 0.0f;
    app.BringParametersIntoForce();
    app.Options.DisplayCycle = 1;
}

// A variable-outcome run of 700 generations, so that the time plots are taller than their
// windows: species 2 evolves its outcomes against 1 and 4, species 1 against 3.
void PrepareVariable(AppState& app)
{
    GParamStruct& g = app.Params.GParamRec;
    g.Maxgen = 700;
    g.MutationOTC = 0.3f;
    g.MutAmtOTC = 5;
    g.MutationGR = 0.2f;
    g.MutAmtGR = 4;
    auto& m = app.Params.OutcomeMatrix;
    m[1][2] = {-1, 0, 0};
    m[1][3] = {-1, 0, 0};
    m[2][4] = {-1, 0, 0};
    app.Params.VariableOutcomeVector[1] = {30, 90, 5, 40};
    app.Params.VariableOutcomeVector[2] = {20, 70, 10, 50};
    app.Params.MirrorOutcomeMatrix();
    app.Params.UpdateGRateFractions();
    app.BringParametersIntoForce();
    app.Options.DisplayCycle = 5;
    app.Options.FTPSpecies = 2;
    app.Options.GCSpecies = 2;
    app.Options.GCSpeciesA = 0;
    app.Options.FTPOTCSpecies = 2;
}

// Chooses a run mode in the run-mode dialog and confirms it.
void ChooseMode(TRunModeForm& runMode, const RunMode& mode)
{
    (mode.Multiple ? runMode.MultipleLandscapes : runMode.SingleLandscape)->click();
    (mode.MonteCarlo ? runMode.MonteCarlo : runMode.SingleRun)->click();
    (mode.Outcome == OutcomeKind::Variable ? runMode.VariableOutcome : runMode.FixedOutcome)->click();
    runMode.OKBtnClick();
}

// --- The X server's account of the windows --------------------------------------------------

QString Run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(20000))
        return {};
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

int Field(const QString& text, const QString& name)
{
    const QRegularExpression re(QRegularExpression::escape(name) + QStringLiteral(":\\s*(-?\\d+)"));
    const QRegularExpressionMatch m = re.match(text);
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

// The whole window on the screen, its frame included, as the X server and the window manager
// have it: the client window's place (xwininfo) widened by _NET_FRAME_EXTENTS (xprop).
std::optional<QRect> XFrame(const QWidget& window)
{
    const QString id = QStringLiteral("0x%1").arg(window.winId(), 0, 16);
    const QString info = Run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), id});
    if (!info.contains(QStringLiteral("IsViewable")))
        return std::nullopt;
    const QRect client(Field(info, QStringLiteral("Absolute upper-left X")),
                       Field(info, QStringLiteral("Absolute upper-left Y")), Field(info, QStringLiteral("Width")),
                       Field(info, QStringLiteral("Height")));
    const QString extents = Run(QStringLiteral("xprop"), {QStringLiteral("-id"), id, QStringLiteral("_NET_FRAME_EXTENTS")});
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("=\\s*(\\d+),\\s*(\\d+),\\s*(\\d+),\\s*(\\d+)")).match(extents);
    if (!m.hasMatch())
        return client;
    // left, right, top, bottom
    return client.adjusted(-m.captured(1).toInt(), -m.captured(3).toInt(), m.captured(2).toInt(),
                           m.captured(4).toInt());
}

QString Text(const QRect& r) { return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()); }

// Writes every visible window's frame into FOLDER/placement.txt and checks that none covers the
// controls and every one lies inside the screen. The number of failures.
int CheckPlacement(const QDir& out, const QString& label, const QWidget& controls)
{
    Settle();
    QThread::msleep(300);
    Settle();
    QFile file(out.filePath(QStringLiteral("placement.txt")));
    if (!file.open(QIODevice::Append | QIODevice::Text))
        return 1;
    QTextStream report(&file);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const std::optional<QRect> home = XFrame(controls);
    int failures = 0;
    report << label << ": screen " << Text(screen) << ", controls '" << controls.windowTitle() << "' "
           << (home ? Text(*home) : QStringLiteral("not on screen")) << "\n";
    if (!home)
        ++failures;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible() || w == &controls || w->windowTitle().isEmpty())
            continue;
        const std::optional<QRect> frame = XFrame(*w);
        if (!frame)
            continue;
        QStringList problems;
        if (!screen.contains(*frame))
            problems << QStringLiteral("leaves the screen");
        if (home && frame->intersects(*home))
            problems << QStringLiteral("covers the controls");
        failures += problems.isEmpty() ? 0 : 1;
        report << "  " << (problems.isEmpty() ? "ok  " : "FAIL") << " '" << w->windowTitle() << "' " << Text(*frame)
               << (problems.isEmpty() ? QString() : QStringLiteral(": ") + problems.join(QStringLiteral(", ")))
               << "\n";
    }
    report.flush();
    std::printf("%s: %s\n", qPrintable(label), failures == 0 ? "every window inside the screen, the controls uncovered"
                                                              : "FAILED, see placement.txt");
    return failures;
}

void SaveScreen(const QDir& out, const QString& name)
{
    if (QScreen* screen = QGuiApplication::primaryScreen())
        screen->grabWindow(0).save(out.filePath(name + QStringLiteral(".png")));
}

// The part of the screen that holds these windows, with a small margin.
void SaveArea(const QDir& out, const QString& name, std::initializer_list<const QWidget*> windows)
{
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    QRect area;
    for (const QWidget* w : windows)
        area |= XFrame(*w).value_or(w->frameGeometry());
    area = area.adjusted(-6, -6, 6, 6).intersected(screen->geometry());
    screen->grabWindow(0, area.x(), area.y(), area.width(), area.height()).save(out.filePath(name + QStringLiteral(".png")));
}

// Drags the window by the middle of its title bar, as a user would, by offset.
void DragTitleBar(const QWidget& window, QPoint offset)
{
    const std::optional<QRect> frame = XFrame(window);
    if (!frame)
        return;
    const int titleBar = window.geometry().top() - window.frameGeometry().top();
    const QPoint from(frame->center().x(), frame->top() + std::max(titleBar / 2, 3));
    const QPoint to = from + offset;
    auto n = [](int v) { return QString::number(v); };
    Run(QStringLiteral("xdotool"),
        {QStringLiteral("mousemove"), n(from.x()), n(from.y()), QStringLiteral("sleep"), QStringLiteral("0.3"),
         QStringLiteral("mousedown"), QStringLiteral("1"), QStringLiteral("sleep"), QStringLiteral("0.3"),
         QStringLiteral("mousemove"), n(from.x() + 20), n(from.y() + 20), QStringLiteral("sleep"), QStringLiteral("0.3"),
         QStringLiteral("mousemove"), n(to.x()), n(to.y()), QStringLiteral("sleep"), QStringLiteral("0.3"),
         QStringLiteral("mouseup"), QStringLiteral("1"), QStringLiteral("sleep"), QStringLiteral("0.3")});
    Settle();
    QThread::msleep(200);
    Settle();
}

// The 400 x 400, 5000-generation fixed-outcome run of the issue (the community of Prepare).
void PrepareLarge(AppState& app)
{
    Prepare(app);
    GParamStruct& g = app.Params.GParamRec;
    g.MaxX = 400;
    g.MaxY = 400;
    g.PIX = 1;
    g.Maxgen = 5000;
    app.BringParametersIntoForce();
    app.Options.DisplayCycle = 10;
}

// Starts the large fixed run; after some generations checks the windows and saves the screen
// as name. With drag, the landscape window is then dragged as a user would and where it went
// is written to FOLDER/dragged.txt; else the landscape must be where that file says.
int LargeFixedRun(TMainForm& main, AppState& app, const QDir& out, const QString& name, bool drag, bool restart)
{
    for (TModelForm* window : std::initializer_list<TModelForm*>{&main.ModelOneVar(), &main.MonteCarloFixed(),
                                                                   &main.MonteCarloVariable(), &main.ArrayFixed(),
                                                                   &main.ArrayVariable()})
        window->close();
    PrepareLarge(app);
    ChooseMode(main.RunMode(), {});
    TModelOneForm& model = main.ModelOne();
    OutputWindows& w = main.Outputs();
    int failures = 0;
    EventScript script([&] {
        if (model.CurGen->text().toInt() < 50)
            return false;
        model.StopBtnClick();
        failures += CheckPlacement(out, name, model);
        SaveScreen(out, name);
        QFile dragged(out.filePath(QStringLiteral("dragged.txt")));
        if (drag) {
            const std::optional<QRect> before = XFrame(w.Landscape);
            const QRect screen = QGuiApplication::primaryScreen()->geometry();
            if (before) {
                // Towards the bottom right corner of the screen.
                const QPoint target(screen.right() - before->width() - 40, screen.bottom() - before->height() - 30);
                DragTitleBar(w.Landscape, target - before->topLeft());
            }
            const std::optional<QRect> after = XFrame(w.Landscape);
            if (after && dragged.open(QIODevice::WriteOnly | QIODevice::Text)) {
                dragged.write(Text(*after).toLatin1());
                dragged.close();
            }
            const bool moved = before && after && after->topLeft() != before->topLeft();
            std::printf("Landscape dragged from %s to %s%s\n", before ? qPrintable(Text(*before)) : "-",
                        after ? qPrintable(Text(*after)) : "-", moved ? "" : ": FAILED, it did not move");
            failures += moved ? 0 : 1;
            SaveScreen(out, name + QStringLiteral("-dragged"));
        } else if (restart) {
            QString expected;
            if (dragged.open(QIODevice::ReadOnly | QIODevice::Text))
                expected = QString::fromLatin1(dragged.readAll()).trimmed();
            const std::optional<QRect> now = XFrame(w.Landscape);
            const bool back = now && Text(*now) == expected;
            std::printf("After the restart the landscape is at %s, dragged to %s: %s\n",
                        now ? qPrintable(Text(*now)) : "-", qPrintable(expected), back ? "back where it was" : "FAILED");
            failures += back ? 0 : 1;
        }
        model.ResetBtnClick();
        return true;
    });
    model.StartBtnClick();
    model.close();
    return failures;
}

// Pictures of the variable-outcome window and of every plot window in the middle of a run, the
// placement of its windows checked. The number of failed checks.
int VariableRun(TMainForm& main, AppState& app, const QDir& out)
{
    for (TModelForm* window : std::initializer_list<TModelForm*>{&main.ModelOne(), &main.MonteCarloFixed(),
                                                                   &main.MonteCarloVariable(), &main.ArrayFixed(),
                                                                   &main.ArrayVariable()})
        window->close();
    PrepareVariable(app);
    ChooseMode(main.RunMode(), {.Outcome = OutcomeKind::Variable});
    TModelOneVarForm& model = main.ModelOneVar();
    OutputWindows& w = main.Outputs();
    int failures = 0;

    EventScript script([&] {
        if (model.CurGen->text().toInt() < 350)
            return false;
        Settle();
        const std::pair<QWidget*, const char*> windows[] = {
            {&model, "variable-run"},          {&w.SpaceTime, "space-time"},
            {&w.FreqTime, "freq-time-grate"},  {&w.FreqTimeOutcome, "freq-time-outcome"},
            {&w.OutcomeStats, "outcome-statistics"}, {&w.GCGraph, "gc-graph"},
            {&w.GCGraphA, "gc-graph-a"},
        };
        for (const auto& [window, name] : windows)
            Save(*window, out, QString::fromLatin1(name));
        failures += CheckPlacement(out, QStringLiteral("variable-screen"), model);
        SaveScreen(out, QStringLiteral("variable-screen"));
        model.ResetBtnClick();
        return true;
    });
    model.StartBtnClick();
    return failures;
}

// The Monte Carlo windows, one of them in the middle of a series.
void PictureMonteCarlo(TMainForm& main, const QDir& out, const QString& resultFile)
{
    TRunModeForm& runMode = main.RunMode();
    ChooseMode(runMode, {.Outcome = OutcomeKind::Variable, .MonteCarlo = true});
    TMonteCarloForm& variable = main.MonteCarloVariable();
    Settle();
    Save(variable, out, QStringLiteral("montecarlo-variable"));
    variable.close();

    ChooseMode(runMode, {.MonteCarlo = true});
    TMonteCarloForm& fixed = main.MonteCarloFixed();
    fixed.RepeatTimes->setText(QStringLiteral("20"));
    fixed.ResultFile->setText(resultFile);
    EventScript script([&] {
        if (fixed.CurrentRun->text().toInt() < 3)
            return false;
        Settle();
        Save(fixed, out, QStringLiteral("montecarlo"));
        fixed.StopBtnClick();
        return true;
    });
    fixed.StartBtnClick();
    fixed.close();
}

// The landscape-array windows and the picture of a 3 x 3 array in the middle of a run, the
// placement of its windows checked. The number of failed checks.
int PictureArrays(TMainForm& main, const QDir& out)
{
    int failures = 0;
    OutputWindows& windows = main.Outputs();
    TRunModeForm& runMode = main.RunMode();
    ChooseMode(runMode, {.Multiple = true, .Outcome = OutcomeKind::Variable});
    TModelArrayForm& variable = main.ArrayVariable();
    Settle();
    Save(variable, out, QStringLiteral("array-variable"));
    variable.close();

    ChooseMode(runMode, {.Multiple = true});
    TModelArrayForm& fixed = main.ArrayFixed();
    fixed.NumOfRow->setText(QStringLiteral("3"));
    fixed.NumOfCol->setText(QStringLiteral("3"));
    fixed.TypeGRate->setCurrentText(QStringLiteral("Clumped"));
    fixed.InfluxTimeStep->setText(QStringLiteral("10"));
    fixed.InfluxInside->setText(QStringLiteral("0.001"));
    EventScript script([&] {
        if (fixed.CurGen->text().toInt() < 40 || fixed.CurRow->text() != QStringLiteral("2"))
            return false;
        Settle();
        Save(fixed, out, QStringLiteral("array"));
        Save(windows.MultiLandscape, out, QStringLiteral("multi-landscape"));
        Save(windows.Statistics, out, QStringLiteral("array-statistics"));
        SaveArea(out, QStringLiteral("array-run"), {&main, &fixed, &windows.MultiLandscape});
        failures += CheckPlacement(out, QStringLiteral("array-screen"), fixed);
        SaveScreen(out, QStringLiteral("array-screen"));
        fixed.StopBtnClick();
        Settle();
        Save(fixed, out, QStringLiteral("array-stopped"));
        fixed.ResetBtnClick();
        return true;
    });
    fixed.StartBtnClick();
    fixed.close();
    return failures;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorrel"));
    QApplication::setApplicationVersion(QStringLiteral(QUORREL_VERSION_TEXT));
    QString folder, layoutFile;
    bool restart = false;
    const QStringList arguments = QApplication::arguments().mid(1);
    for (int i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == QStringLiteral("--restart"))
            restart = true;
        else if (arguments[i] == QStringLiteral("--layout") && i + 1 < arguments.size())
            layoutFile = arguments[++i];
        else
            folder = arguments[i];
    }
    if (folder.isEmpty()) {
        std::fprintf(stderr, "Usage: quorrel-screenshots FOLDER [--layout FILE] [--restart]\n");
        return 2;
    }
    QDir out(folder);
    if (!out.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot make %s\n", qPrintable(folder));
        return 1;
    }
    QTemporaryDir start;
    // The window layout in a file of the caller's (else in the scratch folder), never in the user's settings.
    if (layoutFile.isEmpty())
        layoutFile = start.filePath(QStringLiteral("layout.ini"));
    AppState app;
    QtDialogs dialogs;
    TMainForm main(app, dialogs, std::make_unique<QSettings>(layoutFile, QSettings::IniFormat));
    if (!main.Startup(start.path().toStdString()))
        return 1;
    Prepare(app);
    main.show();
    Settle();
    int failures = 0;

    if (restart) {
        failures += LargeFixedRun(main, app, out, QStringLiteral("restart-screen"), false, true);
        main.close();
        app.RemoveTempDir(dialogs);
        return failures == 0 ? 0 : 1;
    }
    QFile::remove(out.filePath(QStringLiteral("placement.txt")));
    Save(main, out, QStringLiteral("main"));

    TModelOneForm& model = main.ModelOne();
    OutputWindows& windows = main.Outputs();
    TRunModeForm& runMode = main.RunMode();
    runMode.show();
    Settle();
    Save(runMode, out, QStringLiteral("run-control"));
    runMode.OKBtnClick();

    int step = 0;
    EventScript script([&] {
        switch (step) {
        case 0:
            if (!main.Progress().isVisible() || main.Progress().DoneField()->text().toInt() < 5000)
                return false;
            Save(main.Progress(), out, QStringLiteral("initialising"));
            step = 1;
            return false;
        case 1:
            if (model.CurGen->text().toInt() < 240)
                return false;
            Settle();
            Save(model, out, QStringLiteral("single-run"));
            Save(windows.Landscape, out, QStringLiteral("landscape"));
            Save(windows.Statistics, out, QStringLiteral("statistics"));
            SaveArea(out, QStringLiteral("run"), {&main, &model, &windows.Landscape, &windows.Statistics});
            failures += CheckPlacement(out, QStringLiteral("run"), model);
            SaveScreen(out, QStringLiteral("run-screen"));
            main.ColorMapItemClick();
            Settle();
            Save(windows.Colors, out, QStringLiteral("colors"));
            model.StopBtnClick();
            Settle();
            Save(model, out, QStringLiteral("single-run-stopped"));
            // The invalid-cycle message, pictured and answered.
            QTimer::singleShot(100, [&] {
                if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                    Save(*box, out, QStringLiteral("message"));
                    box->accept();
                }
            });
            model.DisplayCycle->setText(QStringLiteral("0"));
            model.ResetBtnClick();
            return true;
        }
        return true;
    });
    model.StartBtnClick();
    model.close();
    windows.Colors.hide();

    PictureMonteCarlo(main, out, start.filePath(QStringLiteral("series.dat")));
    failures += PictureArrays(main, out);
    failures += VariableRun(main, app, out);
    failures += LargeFixedRun(main, app, out, QStringLiteral("fixed-400-screen"), true, false);

    main.LicenseItemClick();
    main.AboutItemClick();
    Settle();
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && w->windowTitle() == QStringLiteral("License"))
            Save(*w, out, QStringLiteral("license"));
        if (w->isVisible() && w->windowTitle() == QStringLiteral("About Quorrel"))
            Save(*w, out, QStringLiteral("about"));
    }
    failures += CheckPlacement(out, QStringLiteral("about"), main);
    SaveScreen(out, QStringLiteral("about-screen"));
    main.close();
    app.RemoveTempDir(dialogs);
    std::printf("Screenshots in %s\n", qPrintable(out.absolutePath()));
    return failures == 0 ? 0 : 1;
}
