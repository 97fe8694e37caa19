#include "app/BatchPreparation.h"

#include "engine/LandscapeText.h"
#include "output/OptionsFile.h"
#include "params/GeneralParameterCheck.h"
#include "params/ParameterFile.h"
#include "runs/MonteCarloResultFile.h"
#include "runs/OutputNameCheck.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quorrel {

namespace fs = std::filesystem;

namespace {

// Holds the messages of a step whose failure the batch runner reports as one refusal: the
// options reader's warning ends in "Using the program defaults instead", which a refused
// run must not print. Messages of a step that succeeds are passed on afterwards.
class HeldMessages : public Dialogs {
public:
    MessageAnswer Message(MessageKind kind, const std::string& text, MessageButtons buttons) override
    {
        held_.push_back({kind, text, buttons});
        return MessageAnswer::Ok;
    }
    std::optional<std::string> ChooseFile(const FileDialogRequest&) override { return std::nullopt; }

    // The first message as one line, without the advice that the defaults are used.
    std::string Reason() const
    {
        if (held_.empty())
            return {};
        std::string text = held_.front().text;
        const std::string advice = "\rUsing the program defaults instead";
        if (text.ends_with(advice))
            text.erase(text.size() - advice.size());
        std::string oneLine;
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] != '\r') {
                oneLine += text[i];
                continue;
            }
            oneLine += ' ';
            while (i + 1 < text.size() && text[i + 1] == ' ')
                ++i;
        }
        return ": " + oneLine;
    }

    void PassOn(Dialogs& dialogs) const
    {
        for (const Held& m : held_)
            dialogs.Message(m.kind, m.text, m.buttons);
    }

private:
    struct Held {
        MessageKind kind;
        std::string text;
        MessageButtons buttons;
    };
    std::vector<Held> held_;
};

std::string SetOption(const std::string& key, const std::string& value)
{
    return "--set " + key + "=" + value + ": ";
}

// The refusal of the first --set after which the dialog's check fails, naming it.
std::string FailingSet(const ParameterSet& params, const BatchCommandLine& line, const std::string& message)
{
    GeneralParameterTexts texts = GeneralParameterTextsFrom(params.GParamRec);
    for (const auto& [key, value] : line.Sets) {
        if (std::string* field = texts.Field(key))
            *field = value;
        if (const GeneralParameterCheckResult checked = CheckGeneralParameters(texts); !checked.Record)
            return SetOption(key, value) + checked.Message;
    }
    return message;
}

// A seed beyond what the parameter set holds (0..2^31-1) is refused, not clamped as the
// dialog's parser clamps it (its box holds four characters and never meets one).
void CheckSeedText(const std::string& value)
{
    const bool digits = !value.empty() && value.find_first_not_of("0123456789") == std::string::npos;
    const size_t first = value.find_first_not_of('0');
    const std::string significant = first == std::string::npos ? "0" : value.substr(first);
    if (digits && (significant.size() > 10 || std::stoll(significant) > INT32_MAX))
        throw BatchInputError{SetOption("RandSeed", value) + "the seed must lie within 0.." +
                              std::to_string(INT32_MAX)};
}

// The general parameters the command line sets, checked as the general-parameters dialog
// checks its fields. Only the fields named change; the others keep their exact values.
// A refusal names the --set it comes from.
void ApplySets(ParameterSet& params, const BatchCommandLine& line)
{
    if (line.Sets.empty())
        return;
    GeneralParameterTexts texts = GeneralParameterTextsFrom(params.GParamRec);
    std::optional<bool> meanField;
    for (const auto& [key, value] : line.Sets) {
        if (key == "MeanField") {
            if (value != "0" && value != "1")
                throw BatchInputError{SetOption(key, value) + "MeanField must be 0 or 1"};
            meanField = value == "1";
        } else if (std::string* field = texts.Field(key)) {
            if (key == "RandSeed")
                CheckSeedText(value);
            *field = value;
        } else {
            throw BatchInputError{"unknown parameter key \"" + key + "\" in --set"};
        }
    }
    const GeneralParameterCheckResult checked = CheckGeneralParameters(texts);
    if (!checked.Record)
        throw BatchInputError{FailingSet(params, line, checked.Message)};
    // The dialog does not read an amount while its probability is 0; an amount given on the
    // command line is still checked as the dialog checks it when the probability is on.
    for (const auto& [key, value] : line.Sets) {
        std::string GeneralParameterTexts::*probability = key == "MutAmtGR"    ? &GeneralParameterTexts::MutationGR
                                                          : key == "MutAmtOTC" ? &GeneralParameterTexts::MutationOTC
                                                                               : nullptr;
        if (probability == nullptr)
            continue;
        GeneralParameterTexts probe = texts;
        (probe.*probability).assign(1, '1');
        if (const GeneralParameterCheckResult amount = CheckGeneralParameters(probe); !amount.Record)
            throw BatchInputError{SetOption(key, value) + amount.Message};
    }

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

// Every output file name of the options moved into folder, the name itself kept.
void MoveOutputs(OptionStruct& options, const fs::path& folder, bool make)
{
    std::error_code ec;
    if (make)
        fs::create_directories(folder, ec);
    if (make && !fs::is_directory(folder, ec))
        throw BatchInputError{"the output directory \"" + folder.string() + "\" cannot be made"};
    const fs::path target = fs::absolute(folder, ec);
    for (std::string OptionStruct::*name :
         {&OptionStruct::CAFilename, &OptionStruct::CoverFilename, &OptionStruct::GRateFilename,
          &OptionStruct::STPlotFilename, &OptionStruct::FTPlotFilename, &OptionStruct::OTCFilename,
          &OptionStruct::GCFilename, &OptionStruct::FTPOTCFilename, &OptionStruct::SWFilename})
        options.*name = (target / fs::path(options.*name).filename()).string();
}

// The initial cover file is bad input like the parameters that name it: it is read once
// before the run, into a landscape and with a generator of its own.
void CheckCoverFile(const AppState& app)
{
    if (app.Params.GParamRec.Cover != 2)
        return;
    HeldMessages reading;
    auto grid = std::make_unique<LandscapeGrid>();
    Rng rng = app.Random;
    if (!ReadTXTLandscape(app.Params.GParamRec.CoverFile, app.Params, app.Params.GRateFractions, *grid, rng,
                          reading))
        throw BatchInputError{"the initial cover file is refused" + reading.Reason()};
}

} // namespace

// The start-up state, the parameter file, the options file and the overrides, as the
// desktop program would have them in force when the run mode is confirmed.
void PrepareBatchRun(AppState& app, const BatchCommandLine& line, Dialogs& dialogs, PreparationFor purpose)
{
    std::error_code ec;
    const fs::path dir = line.Dir.empty() ? fs::current_path() : fs::absolute(line.Dir, ec);
    if (ec || !fs::is_directory(dir, ec))
        throw BatchInputError{"the start directory \"" + line.Dir + "\" does not exist"};

    StartupReport report;
    HeldMessages startup;
    if (!app.Startup(startup, dir, report))
        throw BatchInputError{"no directory for temporary files could be made" + startup.Reason()};
    if (!report.ParameterRefusals.empty())
        throw BatchInputError{report.ParameterRefusals.front()};
    if (line.Options.empty() && report.OptionsFileBad)
        throw BatchInputError{"the options file " + OptionsFilePath(dir) + " is refused" + startup.Reason()};
    startup.PassOn(dialogs);

    if (!line.Params.empty()) {
        if (!fs::is_regular_file(line.Params, ec))
            throw BatchInputError{"the parameter file \"" + line.Params + "\" does not exist"};
        try {
            ReadParameterFile(app.Params, line.Params);
        } catch (const ParameterFileError& e) {
            std::string reason = e.what();
            for (char& c : reason)
                if (c == '\r' || c == '\n')
                    c = ' ';
            throw BatchInputError{reason};
        }
    }
    if (!line.Options.empty()) {
        if (!fs::is_regular_file(line.Options, ec))
            throw BatchInputError{"the options file \"" + line.Options + "\" does not exist"};
        HeldMessages reading;
        if (!ReadOptionsFileAt(app.Options, line.Options, dir, reading))
            throw BatchInputError{"the options file \"" + line.Options + "\" is refused" + reading.Reason()};
        reading.PassOn(dialogs);
    }
    if (!line.OutputDir.empty())
        MoveOutputs(app.Options, line.OutputDir, purpose == PreparationFor::Run);
    ApplySets(app.Params, line);
    app.BringParametersIntoForce();
    if (purpose == PreparationFor::Run)
        CheckCoverFile(app);
}

void CheckBatchOutputNames(const AppState& app, const BatchCommandLine& line)
{
    std::vector<NamedFile> kept = StartFolderFiles(app.StartDir());
    if (!line.Params.empty())
        kept.push_back({"the parameter file of the run", line.Params});
    if (!line.Options.empty())
        kept.push_back({"the options file of the run", line.Options});
    const GParamStruct& g = app.Params.GParamRec;
    if (g.Cover == 2 && !g.CoverFile.empty())
        kept.push_back({"the initial cover file", g.CoverFile});

    std::vector<NamedFile> outputs;
    if (const std::optional<std::string>& result = line.MonteCarlo.Result) {
        outputs.push_back({"the result file", *result});
        outputs.push_back({"the result file while the series runs", IncompleteResultPath(*result)});
    } else {
        outputs = OptionOutputFiles(app.Options, g.Maxspec);
    }
    if (!app.Array.InitGRFName.empty())
        outputs.push_back({"the --init-grates file", app.Array.InitGRFName});
    if (!app.Array.InitOTCFName.empty())
        outputs.push_back({"the --init-outcomes file", app.Array.InitOTCFName});

    const std::string clash = OutputNameClash(outputs, kept);
    if (!clash.empty())
        throw BatchInputError{clash};
}

} // namespace quorrel
