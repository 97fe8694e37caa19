// quorrel-screenshots: starts the desktop program's windows in a scratch folder, runs a small
// landscape and saves a PNG picture of every window while the run is in progress, plus one of
// the whole screen. Used by scripts/screenshots under a virtual X server.
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

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QRadioButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>

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

// Pictures of the variable-outcome window and of every plot window in the middle of a run.
void VariableRun(TMainForm& main, AppState& app, const QDir& out)
{
    for (TModelForm* window : std::initializer_list<TModelForm*>{&main.ModelOne(), &main.MonteCarloFixed(),
                                                                   &main.MonteCarloVariable(), &main.ArrayFixed(),
                                                                   &main.ArrayVariable()})
        window->close();
    PrepareVariable(app);
    TRunModeForm& runMode = main.RunMode();
    runMode.SingleLandscape->click();
    runMode.SingleRun->click();
    runMode.VariableOutcome->click();
    runMode.OKBtnClick();
    TModelOneVarForm& model = main.ModelOneVar();
    OutputWindows& w = main.Outputs();
    const int right = main.frameGeometry().right() + 16;
    model.move(10, main.frameGeometry().bottom() + 40);
    w.Landscape.move(right, 10);
    w.SpaceTime.move(right + app.DisplayWidth() + 16, 10);
    w.FreqTime.move(right + app.DisplayWidth() + 16 + 190, 10);
    w.FreqTimeOutcome.move(right + app.DisplayWidth() + 16 + 190 + 250, 10);
    w.OutcomeStats.move(10, 420);
    w.GCGraph.move(right, 340);
    w.GCGraphA.move(right + 380, 340);
    w.Statistics.hide();

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
        if (QScreen* screen = QGuiApplication::primaryScreen())
            screen->grabWindow(0).save(out.filePath(QStringLiteral("variable-screen.png")));
        model.ResetBtnClick();
        return true;
    });
    model.StartBtnClick();
}

// Chooses a run mode in the run-mode dialog and confirms it.
void ChooseMode(TRunModeForm& runMode, const RunMode& mode)
{
    (mode.Multiple ? runMode.MultipleLandscapes : runMode.SingleLandscape)->click();
    (mode.MonteCarlo ? runMode.MonteCarlo : runMode.SingleRun)->click();
    (mode.Outcome == OutcomeKind::Variable ? runMode.VariableOutcome : runMode.FixedOutcome)->click();
    runMode.OKBtnClick();
}

// The Monte Carlo windows, one of them in the middle of a series.
void PictureMonteCarlo(TMainForm& main, const QDir& out, const QString& resultFile)
{
    TRunModeForm& runMode = main.RunMode();
    ChooseMode(runMode, {.Outcome = OutcomeKind::Variable, .MonteCarlo = true});
    TMonteCarloForm& variable = main.MonteCarloVariable();
    variable.move(10, main.frameGeometry().bottom() + 40);
    Settle();
    Save(variable, out, QStringLiteral("montecarlo-variable"));
    variable.close();

    ChooseMode(runMode, {.MonteCarlo = true});
    TMonteCarloForm& fixed = main.MonteCarloFixed();
    fixed.move(10, main.frameGeometry().bottom() + 40);
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

// The landscape-array windows and the picture of a 3 x 3 array in the middle of a run.
void PictureArrays(TMainForm& main, const QDir& out)
{
    OutputWindows& windows = main.Outputs();
    TRunModeForm& runMode = main.RunMode();
    ChooseMode(runMode, {.Multiple = true, .Outcome = OutcomeKind::Variable});
    TModelArrayForm& variable = main.ArrayVariable();
    variable.move(10, main.frameGeometry().bottom() + 40);
    Settle();
    Save(variable, out, QStringLiteral("array-variable"));
    variable.close();

    ChooseMode(runMode, {.Multiple = true});
    TModelArrayForm& fixed = main.ArrayFixed();
    fixed.move(10, main.frameGeometry().bottom() + 40);
    // The array picture beside the array window, the statistics out of the way to the right.
    const int pictureLeft = std::max(main.frameGeometry().right(), fixed.frameGeometry().right()) + 16;
    windows.MultiLandscape.move(pictureLeft, 10);
    windows.Statistics.move(pictureLeft + 480, 10);
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
        if (QScreen* screen = QGuiApplication::primaryScreen()) {
            QRect area = main.frameGeometry() | fixed.frameGeometry() | windows.MultiLandscape.frameGeometry();
            area.adjust(-6, -6, 6, 6);
            screen->grabWindow(0, area.x(), area.y(), area.width(), area.height())
                .save(out.filePath(QStringLiteral("array-run.png")));
        }
        fixed.StopBtnClick();
        Settle();
        Save(fixed, out, QStringLiteral("array-stopped"));
        fixed.ResetBtnClick();
        return true;
    });
    fixed.StartBtnClick();
    fixed.close();
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorrel"));
    QApplication::setApplicationVersion(QStringLiteral(QUORREL_VERSION_TEXT));
    if (argc < 2) {
        std::fprintf(stderr, "Usage: quorrel-screenshots FOLDER\n");
        return 2;
    }
    QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot make %s\n", argv[1]);
        return 1;
    }
    QTemporaryDir start;
    AppState app;
    QtDialogs dialogs;
    TMainForm main(app, dialogs);
    if (!main.Startup(start.path().toStdString()))
        return 1;
    Prepare(app);

    TModelOneForm& model = main.ModelOne();
    OutputWindows& windows = main.Outputs();
    main.move(10, 10);
    main.show();
    Settle();
    Save(main, out, QStringLiteral("main"));

    TRunModeForm& runMode = main.RunMode();
    runMode.show();
    Settle();
    Save(runMode, out, QStringLiteral("run-control"));
    runMode.OKBtnClick();
    model.move(10, main.frameGeometry().bottom() + 40);
    windows.Landscape.move(main.frameGeometry().right() + 16, 10);
    windows.Statistics.move(main.frameGeometry().right() + 16 + app.DisplayWidth() + 16, 10);

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
            if (QScreen* screen = QGuiApplication::primaryScreen()) {
                QRect area = main.frameGeometry() | model.frameGeometry() | windows.Landscape.frameGeometry() |
                             windows.Statistics.frameGeometry();
                area.adjust(-6, -6, 6, 6);
                screen->grabWindow(0, area.x(), area.y(), area.width(), area.height())
                    .save(out.filePath(QStringLiteral("run.png")));
            }
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
    PictureArrays(main, out);
    VariableRun(main, app, out);

    main.LicenseItemClick();
    main.AboutItemClick();
    Settle();
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && w->windowTitle() == QStringLiteral("License"))
            Save(*w, out, QStringLiteral("license"));
        if (w->isVisible() && w->windowTitle() == QStringLiteral("About Quorrel"))
            Save(*w, out, QStringLiteral("about"));
    }
    app.RemoveTempDir(dialogs);
    std::printf("Screenshots in %s\n", qPrintable(out.absolutePath()));
    return 0;
}
