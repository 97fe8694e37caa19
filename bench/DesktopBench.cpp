// The desktop program's generation rate against the batch runner's: the same fixed-outcome run
// on 700 x 700 cells with PIX 1, once without windows and once in the single-run window with
// the landscape shown every generation and the statistics plotted. Run under the offscreen
// platform unless another is chosen.
#include "runs/AppState.h"
#include "runs/FixedSingleRun.h"
#include "runs/RunHost.h"
#include "ui/OutputWindows.h"
#include "ui/TInitProgressForm.h"
#include "ui/TModelOneForm.h"

#include <QApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>

namespace {

using namespace quorrel;
using Clock = std::chrono::steady_clock;

constexpr int Generations = 150;

class SilentDialogs : public Dialogs {
public:
    MessageAnswer Message(MessageKind, const std::string& text, MessageButtons) override
    {
        std::fprintf(stderr, "%s\n", text.c_str());
        return MessageAnswer::No;
    }
    std::optional<std::string> ChooseFile(const FileDialogRequest&) override { return std::nullopt; }
};

// Times the generations, from the start of generation 1 to the end of the run.
struct GenerationTimer {
    Clock::time_point first;
    Clock::time_point last;
    void Progress(const RunProgress& p)
    {
        if (p.Generation == 1)
            first = Clock::now();
    }
    void Finished() { last = Clock::now(); }
    double Rate() const
    {
        return (Generations - 1) / std::chrono::duration<double>(last - first).count();
    }
};

class HeadlessHost : public RunHost {
public:
    Dialogs& Messages() override { return dialogs_; }
    void ShowProgress(const RunProgress& p) override { timer.Progress(p); }
    void RunFinished(RunEnd) override { timer.Finished(); }
    GenerationTimer timer;

private:
    SilentDialogs dialogs_;
};

class TimedModelOneForm : public TModelOneForm {
public:
    using TModelOneForm::TModelOneForm;
    void ShowProgress(const RunProgress& p) override
    {
        TModelOneForm::ShowProgress(p);
        timer.Progress(p);
    }
    void RunFinished(RunEnd how) override
    {
        timer.Finished();
        TModelOneForm::RunFinished(how);
    }
    GenerationTimer timer;
};

void Prepare(AppState& app, const std::filesystem::path& dir)
{
    app.Params.StartDir = dir;
    app.Params.ResetToStartupTables();
    app.Params.SetInbuiltDefaults();
    GParamStruct& g = app.Params.GParamRec;
    g.MaxX = 700;
    g.MaxY = 700;
    g.PIX = 1;
    g.Maxgen = Generations;
    g.Cover = 1;
    g.TotalCover = 60.0f;
    // A loop of three species keeps the landscape mixed.
    app.Params.OutcomeMatrix[1][2] = {100, 0, 0};
    app.Params.OutcomeMatrix[2][3] = {100, 0, 0};
    app.Params.OutcomeMatrix[1][3] = {0, 100, 0};
    app.Params.MirrorOutcomeMatrix();
    app.Params.UpdateGRateFractions();
    app.Options = SetDefaultOptions(dir);
    app.Options.DisplayCycle = 1;
    app.ReloadSeed();
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTemporaryDir dir;
    const std::filesystem::path start = dir.path().toStdString();

    double headless = 0.0;
    double desktop = 0.0;
    for (int round = 0; round < 2; ++round) {
        {
            AppState app;
            Prepare(app, start);
            HeadlessHost host;
            FixedSingleRun run(app);
            run.Start(host);
            headless = std::max(headless, host.timer.Rate());
        }
        {
            AppState app;
            Prepare(app, start);
            SilentDialogs dialogs;
            OutputWindows outputs(app.Colors);
            TInitProgressForm progress;
            TimedModelOneForm window(app, dialogs, outputs, progress);
            window.show();
            window.StartBtnClick();
            QApplication::processEvents();
            desktop = std::max(desktop, window.timer.Rate());
        }
    }
    std::printf("Desktop against batch, %d generations on 700 x 700 cells, PIX 1, landscape shown every "
                "generation (%s platform):\n",
                Generations, qPrintable(QGuiApplication::platformName()));
    std::printf("  batch runner     %7.1f generations/s\n", headless);
    std::printf("  desktop program  %7.1f generations/s  (%.0f %% of the batch runner)\n", desktop,
                100.0 * desktop / headless);
    return 0;
}
