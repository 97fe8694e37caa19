// quorrel-batch: one run without windows, driven by the same run drivers as the desktop
// program's model windows. See BatchUsage() for the interface.

#include "app/BatchCommandLine.h"
#include "app/BatchHost.h"
#include "app/StderrDialogs.h"

#include "engine/ArraySettings.h"
#include "output/FileNames.h"
#include "output/LandscapeBitmap.h"
#include "output/OptionsFile.h"
#include "params/GeneralParameterCheck.h"
#include "params/ParameterFile.h"
#include "runs/AppState.h"
#include "runs/FixedArrayRun.h"
#include "runs/FixedSingleRun.h"
#include "runs/VariableArrayRun.h"

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

bool IsArrayMode(const std::string& mode)
{
    return mode == "array-fixed" || mode == "array-variable";
}

// Keeps the first message instead of showing it.
class FirstMessage : public Dialogs {
public:
    std::string text;
    MessageAnswer Message(MessageKind, const std::string& message, MessageButtons) override
    {
        if (text.empty())
            text = message;
        return MessageAnswer::Ok;
    }
    std::optional<std::string> ChooseFile(const FileDialogRequest&) override { return std::nullopt; }
};

// The array window as it is shown (closed recruitment, InfluxInside := Influx), with the
// fields the command line fills in; the texts are checked here so that a bad value is a
// bad input, and again by the run's Start as the window's Start checks them.
ArraySettingTexts PrepareArray(AppState& app, const BatchCommandLine& line, bool variable)
{
    PrepareArrayWindow(app.Params, app.Array);
    app.Array.InitGRFName = line.InitGRates;
    app.Array.InitOTCFName = variable ? line.InitOutcomes : std::string();
    ArraySettingTexts texts = ArraySettingTextsFrom(app.Array);
    auto use = [](std::string& field, const std::optional<std::string>& given) {
        if (given)
            field = *given;
    };
    use(texts.NumOfRow, line.Rows);
    use(texts.NumOfCol, line.Cols);
    use(texts.TypeGRate, line.GRateSpread);
    use(texts.InfluxBetween, line.InfluxBetween);
    use(texts.InfluxTimeStep, line.InfluxTimeStep);
    use(texts.InfluxInside, line.InfluxInside);
    use(texts.TypeVOTC, line.OutcomeSpread);

    ArraySettings settings = app.Array;
    ParameterSet params = app.Params;
    FirstMessage refusal;
    if (!ValidateArraySettings(texts, variable, settings, params, refusal)) {
        for (char& c : refusal.text)
            if (c == '\r')
                c = ' ';
        throw BadInput{refusal.text};
    }
    return texts;
}

ModeDriver DriverFor(const BatchCommandLine& line, AppState& app)
{
    const std::string& mode = line.Mode;
    const bool fixed = mode == "single-fixed" || mode == "array-fixed";
    if (fixed && app.Params.HasVariablePair())
        throw BadInput{"Some interactions in the outcome matrix are set to variable."};
    if (mode == "single-fixed")
        return [](AppState& app, RunHost& host) { return FixedSingleRun(app).Start(host); };
    if (IsArrayMode(mode)) {
        const ArraySettingTexts texts = PrepareArray(app, line, !fixed);
        if (fixed)
            return [texts](AppState& app, RunHost& host) { return FixedArrayRun(app).Start(host, texts); };
        return [texts](AppState& app, RunHost& host) { return VariableArrayRun(app).Start(host, texts); };
    }
    throw BadInput{"unknown mode \"" + mode + "\" (single-fixed, single-variable, array-fixed, array-variable)"};
}

// The final array picture as a bitmap, when the options ask for the final landscape as one.
bool WriteArrayBitmap(const AppState& app, const BatchHost& host)
{
    const OptionStruct& o = app.Options;
    if (!o.WriteLandscape || !IncludesBitmap(o.WriteLandTypes) || host.LastArrayPicture().isNull())
        return true;
    const std::string name = ChangeExtension(o.CAFilename, ".bmp");
    std::string error;
    if (SaveBitmap(host.LastArrayPicture(), name, error))
        return true;
    Say(error + ": " + name);
    return false;
}

int Run(const BatchCommandLine& line)
{
    const bool progress = !line.Quiet && isatty(STDERR_FILENO) == 1;
    BatchHost host(std::cerr, progress);
    auto app = std::make_unique<AppState>();
    ModeDriver driver;
    try {
        Prepare(*app, line, host.Messages());
        driver = DriverFor(line, *app);
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
    if (end == RunEnd::Completed && IsArrayMode(line.Mode) && !WriteArrayBitmap(*app, host))
        return ExitRunError;

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
