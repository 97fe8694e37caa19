// The desktop program's generation rate against the batch runner's: the same fixed-outcome run
// on 700 x 700 cells with PIX 1, writing the same coverage, growth-rate, space-time and
// frequency-time files, once without windows and once in the single-run window with the
// landscape, statistics, space-time and frequency-time windows shown every generation. Run
// under the offscreen platform unless another is chosen.
#include "runs/AppState.h"
#include "runs/SingleRun.h"
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
#include <string>

#include <time.h>

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

double ProcessSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// Times the generations, from the start of generation 1 to the end of the run, on the wall
// clock and in processor time (which other programs on a busy machine do not disturb).
struct GenerationTimer {
    Clock::time_point first;
    Clock::time_point last;
    double firstCpu = 0.0;
    double lastCpu = 0.0;
    void Progress(const RunProgress& p)
    {
        if (p.Generation == 1) {
            first = Clock::now();
            firstCpu = ProcessSeconds();
        }
    }
    void Finished()
    {
        last = Clock::now();
        lastCpu = ProcessSeconds();
    }
    double Rate() const { return (Generations - 1) / std::chrono::duration<double>(last - first).count(); }
    double CpuRate() const { return (Generations - 1) / (lastCpu - firstCpu); }
};

struct Best {
    double wall = 0.0;
    double cpu = 0.0;
    void Take(const GenerationTimer& t)
    {
        wall = std::max(wall, t.Rate());
        cpu = std::max(cpu, t.CpuRate());
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
    // Both write the same files; what the batch runner shows nobody, it does not compute.
    app.Options.WriteCoverage = true;
    app.Options.WriteGRate = true;
    app.Options.WriteSTP = true;
    app.Options.WriteFTP = true;
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

    Best headless;
    Best desktop;
    // "desktop" or "batch" as argument: that run alone, for a profiler.
    const bool desktopOnly = argc > 1 && std::string(argv[1]) == "desktop";
    const bool batchOnly = argc > 1 && std::string(argv[1]) == "batch";
    for (int round = 0; round < 5; ++round) {
        if (!desktopOnly) {
            AppState app;
            Prepare(app, start);
            HeadlessHost host;
            SingleRun run(app, OutcomeKind::Fixed);
            run.Start(host, host);
            headless.Take(host.timer);
        }
        if (!batchOnly) {
            AppState app;
            Prepare(app, start);
            SilentDialogs dialogs;
            OutputWindows outputs(app.Colors);
            TInitProgressForm progress;
            TimedModelOneForm window(app, dialogs, outputs, progress);
            window.show();
            window.StartBtnClick();
            QApplication::processEvents();
            desktop.Take(window.timer);
        }
    }
    std::printf("Desktop against batch, %d generations on 700 x 700 cells, PIX 1, coverage, growth-rate, "
                "space-time and freq-time files, every window shown every generation (%s platform):\n",
                Generations, qPrintable(QGuiApplication::platformName()));
    std::printf("                   wall clock                 processor time\n");
    std::printf("  batch runner     %7.1f generations/s      %7.1f generations/s\n", headless.wall, headless.cpu);
    std::printf("  desktop program  %7.1f generations/s      %7.1f generations/s\n", desktop.wall, desktop.cpu);
    std::printf("  desktop / batch  %7.0f %%                   %7.0f %%      (limit at least 90 %%)\n",
                100.0 * desktop.wall / headless.wall, 100.0 * desktop.cpu / headless.cpu);
    return 0;
}
