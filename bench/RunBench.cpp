// The speed of the runs people make, through the run drivers as the batch runner drives them
// (no windows): what the statistics and plot files cost against the same run writing nothing,
// a landscape array against one landscape of as many cells, and the fixed cost of starting
// quorrel-batch against its generations. Every figure is a ratio of two cases run here in
// turn.
#include "BenchSupport.h"

#include "engine/ArraySettings.h"
#include "runs/AppState.h"
#include "runs/LandscapeArrayRun.h"
#include "runs/RunHost.h"
#include "runs/SingleRun.h"

#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>

namespace quorrel::bench {

namespace {

using Clock = std::chrono::steady_clock;

// Times the generations from the start of generation 2 to the end of the run, so that
// neither the initial landscape nor the opening of files counts.
class TimingHost : public RunHost {
public:
    Dialogs& Messages() override { return dialogs_; }
    void ShowProgress(const RunProgress& p) override
    {
        if (p.Generation == 2 && !started_) {
            started_ = true;
            first_ = Clock::now();
        }
    }
    void RunFinished(RunEnd how) override
    {
        last_ = Clock::now();
        end_ = how;
    }
    double Millis() const { return std::chrono::duration<double, std::milli>(last_ - first_).count(); }
    RunEnd End() const { return end_; }

private:
    StderrDialogs dialogs_;
    bool started_ = false;
    Clock::time_point first_;
    Clock::time_point last_;
    RunEnd end_ = RunEnd::Failed;
};

struct RunCase {
    ParameterSet params;
    OptionStruct options;
    bool array = false;
    int rows = 10;
    int cols = 10;
    OutcomeKind kind = OutcomeKind::Fixed;
    int reps = 3;
};

// Milliseconds per generation of one run of the case.
double OneRun(const RunCase& c)
{
    QTemporaryDir dir;
    AppState app;
    StderrDialogs dialogs;
    if (!app.Startup(dialogs, dir.path().toStdString()))
        std::exit(1);
    app.Params = c.params;
    app.Params.StartDir = dir.path().toStdString();
    app.Options = c.options;
    app.BringParametersIntoForce();
    app.ReloadSeed();
    TimingHost host;
    if (c.array) {
        PrepareArrayWindow(app.Params, app.Array);
        app.Array.NumOfRow = c.rows;
        app.Array.NumOfCol = c.cols;
        LandscapeArrayRun(app, c.kind).Start(host, host, ArraySettingTextsFrom(app.Array));
    } else {
        SingleRun(app, c.kind).Start(host, host);
    }
    app.RemoveTempDir(dialogs);
    if (host.End() != RunEnd::Completed) {
        std::fprintf(stderr, "a benchmark run did not complete\n");
        std::exit(1);
    }
    return host.Millis() / (c.params.GParamRec.Maxgen - 1);
}

// The best milliseconds per generation of each of two cases, over a.reps and b.reps runs made
// in turn.
std::pair<double, double> BestOfBoth(const RunCase& a, const RunCase& b)
{
    return BestInTurn(a.reps, b.reps, [&] { return OneRun(a); }, [&] { return OneRun(b); });
}

// The folder every benchmark run writes its files into, one file over the other.
const std::filesystem::path& OutputFolder()
{
    static const QTemporaryDir folder;
    static const std::filesystem::path path = folder.path().toStdString();
    return path;
}

// Options that write nothing and show nothing; with statistics, the coverage and growth-rate
// files and the frequency-time plot of growth rate every generation (and, for variable
// outcomes, both outcome statistics files).
OptionStruct Options(bool statistics, bool outcomes)
{
    OptionStruct o = SetDefaultOptions(OutputFolder());
    o.ShowCALandscape = o.ShowCoverage = o.ShowGRate1 = o.ShowGRate2 = o.ShowSTPlot = o.ShowFTPlot = false;
    o.ShowOTC = o.ShowGCGraph = o.ShowFTPOTC = false;
    o.WriteCoverage = o.WriteGRate = o.WriteFTP = statistics;
    o.FTPlotCycle = 1;
    o.WriteOTC = statistics && outcomes;
    return o;
}

// species variable-outcome species, every pair variable, closed recruitment.
ParameterSet Variable(int side, int generations, int species)
{
    ParameterSet p = MortalityDisturbanceClosed(side, generations);
    p.GParamRec.MutationOTC = 0.1f;
    p.GParamRec.MutAmtOTC = 5;
    MakeEveryPairVariable(p, species);
    return p;
}

void Ratio(const char* what, double ms, double against, double limit, const char* unit = "ms a generation")
{
    std::printf("  %-58s %8.2f %s against %8.2f: %5.2fx (limit %.1fx)\n", what, ms, unit, against, ms / against,
                limit);
}

// Seconds of a whole quorrel-batch run of the realistic case with Maxgen generations, the
// best of nine: a process's start varies by milliseconds from one to the next.
double BatchSeconds(int maxgen)
{
    QTemporaryDir dir;
    const std::string command = "cd '" + dir.path().toStdString() + "' && '" QUORREL_BATCH
                                "' --quiet --set PIX=1 --set MaxX=700 --set MaxY=700 --set RecruitType=Closed "
                                "--set DisturbProb=0.01 --set Maxgen=" +
                                std::to_string(maxgen) + " > /dev/null";
    double best = 1e300;
    for (int rep = 0; rep < 9; ++rep)
        best = std::min(best, Millis([&] {
                            if (std::system(command.c_str()) != 0)
                                std::exit(1);
                        }) / 1000.0);
    return best;
}

} // namespace

} // namespace quorrel::bench

// With an argument (statistics, variable, arrays or start-up), only that part, to profile it.
int main(int argc, char* argv[])
{
    using namespace quorrel;
    using namespace quorrel::bench;
    const std::string only = argc > 1 ? argv[1] : "";
    auto part = [&](const char* name) { return only.empty() || only == name; };
    std::printf("Quorrel run benchmark on %s: whole runs through the drivers, no windows, milliseconds per "
                "generation\n",
                ProcessorName().c_str());

    std::printf("Statistics and tallies, 700 x 700, 60 generations:\n");
    if (part("statistics")) {
        const ParameterSet p = MortalityDisturbanceClosed(700, 60);
        const auto [all, none] = BestOfBoth({p, Options(true, false)}, {p, Options(false, false)});
        Ratio("fixed, 3 species: coverage, growth-rate and freq-time files", all, none, 1.3);
    }
    if (part("statistics") || part("variable")) {
        const ParameterSet v = Variable(700, 40, MaxSpecies);
        const auto [vAll, vNone] = BestOfBoth({v, Options(true, true), false, 0, 0, OutcomeKind::Variable},
                                              {v, Options(false, true), false, 0, 0, OutcomeKind::Variable});
        Ratio("variable, 40 species: those and both outcome files", vAll, vNone, 1.5);
    }

    std::printf("Arrays per cell, 10 x 10 landscapes of 200 x 200 against one of 632 x 632 (10 x the time):\n");
    for (const bool statistics : {false, true}) {
        if (!part("arrays"))
            break;
        const char* with = statistics ? "coverage and growth-rate files" : "no outputs";
        OptionStruct o = Options(statistics, false);
        o.WriteFTP = false;
        // Both sides run the same generations: the first ones of a run cost more than later
        // ones. The single landscape, ten times quicker, is timed in more runs.
        const auto [array, single] =
            BestOfBoth({MortalityDisturbanceClosed(200, 12), o, true},
                       {MortalityDisturbanceClosed(632, 12), o, false, 0, 0, OutcomeKind::Fixed, 9});
        Ratio((std::string("fixed, ") + with).c_str(), array, 10.0 * single, 1.5);
        const auto [vArray, vSingle] = BestOfBoth({Variable(200, 8, 10), o, true, 10, 10, OutcomeKind::Variable},
                                                  {Variable(632, 8, 10), o, false, 0, 0, OutcomeKind::Variable, 9});
        Ratio((std::string("variable, 10 species, ") + with).c_str(), vArray, 10.0 * vSingle, 1.5);
    }

    std::printf("Start-up of quorrel-batch, 700 x 700 (its files, the initial landscape, the end):\n");
    if (part("start-up")) {
        const double one = BatchSeconds(1);
        const double eleven = BatchSeconds(11);
        const double generation = (eleven - one) / 10.0;
        const double fixed = one - generation;
        Ratio("fixed cost of a run against 10 generations", fixed * 1000.0, generation * 10000.0, 1.0, "ms");
    }
    return 0;
}
