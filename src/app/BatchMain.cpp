// quorrel-batch: one run without windows, driven by the same run drivers as the desktop
// program's model windows. See BatchUsage() for the interface.

#include "app/BatchCommandLine.h"
#include "app/BatchHost.h"
#include "app/StderrDialogs.h"

#include "output/OptionsFile.h"
#include "params/GeneralParameterCheck.h"
#include "params/ParameterFile.h"
#include "runs/AppState.h"
#include "runs/FixedSingleRun.h"

#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>
#include <string>

#include <unistd.h>

namespace quorrel {
namespace {

namespace fs = std::filesystem;

constexpr int ExitSuccess = 0;
constexpr int ExitRunError = 1;
constexpr int ExitBadInput = 2;

// An input the run cannot start from: exit status 2 with this one-line reason.
struct BadInput {
    std::string reason;
};

void Say(const std::string& text)
{
    std::cerr << "quorrel-batch: " << text << '\n';
}

// The general parameters the command line sets, checked as the general-parameters dialog
// checks its fields. Only the fields named change; the others keep their exact values.
void ApplySets(ParameterSet& params, const BatchCommandLine& line)
{
    if (line.Sets.empty())
        return;
    GeneralParameterTexts texts = GeneralParameterTextsFrom(params.GParamRec);
    std::optional<bool> meanField;
    for (const auto& [key, value] : line.Sets) {
        if (key == "MeanField") {
            if (value != "0" && value != "1")
                throw BadInput{"MeanField must be 0 or 1, not \"" + value + "\""};
            meanField = value == "1";
        } else if (std::string* field = texts.Field(key)) {
            *field = value;
        } else {
            throw BadInput{"unknown parameter key \"" + key + "\" in --set"};
        }
    }
    const GeneralParameterCheckResult checked = CheckGeneralParameters(texts);
    if (!checked.Record)
        throw BadInput{checked.Message};

    GParamStruct& to = params.GParamRec;
    const GParamStruct& from = *checked.Record;
    auto set = [&](const char* key) {
        for (const auto& s : line.Sets)
            if (s.first == key)
                return true;
        return false;
    };
    // Field by field, so that a value shown rounded in the dialog's form is not rounded here.
    if (set("Maxspec")) to.Maxspec = from.Maxspec;
    if (set("MaxX")) to.MaxX = from.MaxX;
    if (set("MaxY")) to.MaxY = from.MaxY;
    if (set("PIX")) to.PIX = from.PIX;
    if (set("Maxgen")) to.Maxgen = from.Maxgen;
    if (set("RandSeed")) to.RandSeed = from.RandSeed;
    if (set("Init")) to.Init = from.Init;
    if (set("Cover")) to.Cover = from.Cover;
    if (set("CoverFile")) to.CoverFile = from.CoverFile;
    if (set("Border")) to.Border = from.Border;
    if (set("TotalCover")) to.TotalCover = from.TotalCover;
    if (set("OverGRate")) to.OverGRate = from.OverGRate;
    if (set("DisturbProb")) to.DisturbProb = from.DisturbProb;
    if (set("PatchSize")) to.PatchSize = from.PatchSize;
    if (set("PatchType")) to.PatchType = from.PatchType;
    if (set("Influx")) to.Influx = from.Influx;
    if (set("RecruitType")) to.RecruitType = from.RecruitType;
    // The dialog stores an amount of 0 when its probability is 0.
    if (set("MutationGR") || set("MutAmtGR")) {
        to.MutationGR = from.MutationGR;
        to.MutAmtGR = from.MutAmtGR;
    }
    if (set("MutationOTC") || set("MutAmtOTC")) {
        to.MutationOTC = from.MutationOTC;
        to.MutAmtOTC = from.MutAmtOTC;
    }
    if (meanField)
        to.MeanField = *meanField;
}

// The start-up state, the parameter file, the options file and the overrides, as the
// desktop program would have them in force when the run mode is confirmed.
void Prepare(AppState& app, const BatchCommandLine& line, Dialogs& dialogs)
{
    std::error_code ec;
    const fs::path dir = line.Dir.empty() ? fs::current_path() : fs::absolute(line.Dir, ec);
    if (ec || !fs::is_directory(dir, ec))
        throw BadInput{"the start directory \"" + line.Dir + "\" does not exist"};

    StartupReport report;
    if (!app.Startup(dialogs, dir, report))
        throw BadInput{"no directory for temporary files could be made"};
    if (!report.ParameterRefusals.empty())
        throw BadInput{report.ParameterRefusals.front()};
    if (line.Options.empty() && report.OptionsFileBad)
        throw BadInput{"the options file " + OptionsFilePath(dir) + " is unreadable or invalid"};

    if (!line.Params.empty()) {
        if (!fs::is_regular_file(line.Params, ec))
            throw BadInput{"the parameter file \"" + line.Params + "\" does not exist"};
        try {
            ReadParameterFile(app.Params, line.Params);
        } catch (const ParameterFileError& e) {
            std::string reason = e.what();
            for (char& c : reason)
                if (c == '\r' || c == '\n')
                    c = ' ';
            throw BadInput{reason};
        }
    }
    if (!line.Options.empty()) {
        if (!fs::is_regular_file(line.Options, ec))
            throw BadInput{"the options file \"" + line.Options + "\" does not exist"};
        if (!ReadOptionsFileAt(app.Options, line.Options, dir, dialogs))
            throw BadInput{"the options file \"" + line.Options + "\" is unreadable or invalid"};
    }
    ApplySets(app.Params, line);
    app.BringParametersIntoForce();
}

// The driver of a run mode: runs one run on the host and tells how it ended.
using ModeDriver = std::function<RunEnd(AppState&, RunHost&)>;

ModeDriver DriverFor(const std::string& mode, const ParameterSet& params)
{
    if (mode == "single-fixed") {
        if (params.HasVariablePair())
            throw BadInput{"Some interactions in the outcome matrix are set to variable."};
        return [](AppState& app, RunHost& host) { return FixedSingleRun(app).Start(host); };
    }
    throw BadInput{"unknown mode \"" + mode + "\" (single-fixed, single-variable)"};
}

int Run(const BatchCommandLine& line)
{
    const bool progress = !line.Quiet && isatty(STDERR_FILENO) == 1;
    BatchHost host(std::cerr, progress);
    auto app = std::make_unique<AppState>();
    ModeDriver driver;
    try {
        Prepare(*app, line, host.Messages());
        driver = DriverFor(line.Mode, app->Params);
        const int maxgen = app->Params.GParamRec.Maxgen;
        const int cycle = line.DisplayCycle.value_or(app->Options.DisplayCycle);
        if (line.DisplayCycle && *line.DisplayCycle > maxgen)
            throw BadInput{"--display-cycle must lie between 1 and Maxgen (" + std::to_string(maxgen) + ")"};
        host.SetDisplayCycle(cycle);
    } catch (const BadInput& bad) {
        Say(bad.reason);
        app->RemoveTempDir(host.Messages());
        return ExitBadInput;
    }

    // Confirming a run mode restarts the generator from the parameter seed.
    app->ReloadSeed();
    const RunEnd end = driver(*app, host);
    app->RemoveTempDir(host.Messages());

    switch (end) {
    case RunEnd::Completed:
        if (host.Errors() > 0) {
            Say("the run completed, but an output file could not be written");
            return ExitRunError;
        }
        return ExitSuccess;
    case RunEnd::NotStarted:
        Say("the initial landscape could not be built; nothing was run");
        return ExitRunError;
    case RunEnd::Failed:
        Say("the run ended on an error");
        return ExitRunError;
    case RunEnd::Terminated:
        Say("interrupted; the run ended early with its files closed");
        return ExitRunError;
    case RunEnd::Reset:
    case RunEnd::Closed:
        break;
    }
    Say("the run ended early");
    return ExitRunError;
}

} // namespace
} // namespace quorrel

int main(int argc, char** argv)
{
    using namespace quorrel;
    const std::vector<std::string> args(argv + 1, argv + argc);
    const BatchCommandLineResult parsed = ParseBatchCommandLine(args);
    if (!parsed.Line) {
        Say(parsed.Error + "; try \"quorrel-batch --help\"");
        return ExitBadInput;
    }
    if (parsed.Line->Help) {
        std::cout << BatchUsage();
        return ExitSuccess;
    }
    return Run(*parsed.Line);
}
