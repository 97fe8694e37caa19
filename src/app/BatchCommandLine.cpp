#include "app/BatchCommandLine.h"

#include "params/FieldParsers.h"

#include <CLI/CLI.hpp>

#include <charconv>

namespace quorrel {

namespace {

// CLI11's reasons, in the words this program has always used for them.
std::string Reason(const CLI::ParseError& e)
{
    const std::string what = e.what();
    const std::string flagOverride = " was given a disallowed flag override";
    if (what.ends_with(flagOverride)) {
        const std::string name = what.substr(0, what.size() - flagOverride.size());
        return (name.starts_with("-") ? "" : "--") + name + " takes no value";
    }
    // "--dir: 1 required TEXT missing"
    if (const size_t at = what.find(": 1 required "); at != std::string::npos && what.ends_with(" missing"))
        return what.substr(0, at) + " needs a value";
    return what;
}

// The options of one run, as CLI11 collects them: texts, checked afterwards in the words
// the program's messages use.
struct RunTexts {
    std::vector<std::string> Sets;
    std::string DisplayCycle;
    std::string Rows, Cols, GRateSpread, InfluxBetween, InfluxTimeStep, InfluxInside, OutcomeSpread;
    std::string Runs, Result, OutcomeRandom, Standoff;
    bool GRateRandom = false;
};

struct TextOption {
    const char* name;
    std::string* text;
};

std::vector<TextOption> TextOptions(BatchCommandLine& line, RunTexts& t)
{
    return {{"--dir", &line.Dir},
            {"--params", &line.Params},
            {"--options", &line.Options},
            {"--mode", &line.Mode},
            {"--display-cycle", &t.DisplayCycle},
            {"--output-dir", &line.OutputDir},
            {"--rows", &t.Rows},
            {"--cols", &t.Cols},
            {"--grate-spread", &t.GRateSpread},
            {"--influx-between", &t.InfluxBetween},
            {"--influx-timestep", &t.InfluxTimeStep},
            {"--influx-inside", &t.InfluxInside},
            {"--init-grates", &line.InitGRates},
            {"--outcome-spread", &t.OutcomeSpread},
            {"--init-outcomes", &line.InitOutcomes},
            {"--runs", &t.Runs},
            {"--result", &t.Result},
            {"--outcome-random", &t.OutcomeRandom},
            {"--standoff", &t.Standoff}};
}

void AddRunOptions(CLI::App& app, BatchCommandLine& line, RunTexts& t)
{
    for (const TextOption& o : TextOptions(line, t))
        app.add_option(o.name, *o.text);
    app.add_option("--set", t.Sets)->expected(1)->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    app.add_flag("-q,--quiet", line.Quiet)->disable_flag_override();
    app.add_flag("--grate-random", t.GRateRandom)->disable_flag_override();
}

// The texts CLI11 collected, checked and stored; the reason when one cannot be used.
std::string FinishRunOptions(const CLI::App& app, BatchCommandLine& line, RunTexts& t)
{
    for (const TextOption& o : TextOptions(line, t))
        if (app.count(o.name) > 0 && o.text->empty())
            return std::string(o.name) + " needs a value";
    for (const std::string& set : t.Sets) {
        const size_t eq = set.find('=');
        if (eq == std::string::npos || eq == 0)
            return "--set needs KEY=VALUE, not \"" + set + "\"";
        line.Sets.emplace_back(set.substr(0, eq), set.substr(eq + 1));
    }
    if (app.count("--display-cycle") > 0) {
        const IntField cycle = ParseIntField(t.DisplayCycle);
        if (cycle.Status != FieldStatus::Value || cycle.Value < 1)
            return "--display-cycle needs a whole number of at least 1, not \"" + t.DisplayCycle + "\"";
        line.DisplayCycle = cycle.Value;
    }
    const struct {
        const char* name;
        const std::string& text;
        std::optional<std::string>& field;
    } arrayOptions[] = {{"--rows", t.Rows, line.Rows},
                        {"--cols", t.Cols, line.Cols},
                        {"--grate-spread", t.GRateSpread, line.GRateSpread},
                        {"--influx-between", t.InfluxBetween, line.InfluxBetween},
                        {"--influx-timestep", t.InfluxTimeStep, line.InfluxTimeStep},
                        {"--influx-inside", t.InfluxInside, line.InfluxInside},
                        {"--outcome-spread", t.OutcomeSpread, line.OutcomeSpread}};
    for (const auto& a : arrayOptions)
        if (app.count(a.name) > 0)
            a.field = a.text;
    const struct {
        const char* name;
        const std::string& text;
    } monteCarlo[] = {{"--runs", t.Runs}, {"--result", t.Result}, {"--outcome-random", t.OutcomeRandom},
                      {"--standoff", t.Standoff}};
    for (const auto& m : monteCarlo)
        if (app.count(m.name) > 0)
            if (std::string error = SetMonteCarloOption(line.MonteCarlo, m.name, m.text); !error.empty())
                return error;
    if (t.GRateRandom)
        SetMonteCarloOption(line.MonteCarlo, "--grate-random", {});
    return {};
}

// A whole number of at least least, or the reason it is not one.
std::string WholeNumber(const CLI::App& app, const char* name, const std::string& text, long least,
                        std::optional<long>& to)
{
    if (app.count(name) == 0)
        return {};
    long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || value < least)
        return std::string(name) + " needs a whole number of at least " + std::to_string(least) + ", not \"" +
               text + "\"";
    to = value;
    return {};
}

// The first argument CLI11 did not take, as the reason.
std::string Unexpected(const CLI::App& app)
{
    const std::vector<std::string> left = app.remaining();
    return left.empty() ? std::string() : "unknown argument \"" + left.front() + "\"";
}

} // namespace

BatchRequestResult ParseBatchRequest(const std::vector<std::string>& args)
{
    BatchRequest request;
    auto fail = [](std::string reason) { return BatchRequestResult{std::nullopt, std::move(reason)}; };

    CLI::App app("", "quorrel-batch");
    app.set_help_flag();
    app.allow_extras();
    // A repeated option keeps its last value, as it always has.
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    bool help = false;
    app.add_flag("-h,--help", help)->disable_flag_override();
    app.add_flag("--version", request.Run.Version)->disable_flag_override();
    RunTexts texts;
    AddRunOptions(app, request.Run, texts);

    CLI::App* sweep = app.add_subcommand("sweep", "runs the runs of a plan file");
    sweep->set_help_flag();
    sweep->allow_extras();
    bool sweepHelp = false;
    std::string jobs, only, taskIndex, taskCount;
    sweep->add_flag("-h,--help", sweepHelp)->disable_flag_override();
    sweep->add_option("PLAN", request.Sweep.Plan);
    sweep->add_option("--output-dir", request.Sweep.OutputDir);
    sweep->add_option("--jobs", jobs);
    sweep->add_option("--only", only);
    sweep->add_flag("--resume", request.Sweep.Resume)->disable_flag_override();
    sweep->add_option("--task-index", taskIndex);
    sweep->add_option("--task-count", taskCount);
    sweep->add_flag("-q,--quiet", request.Sweep.Quiet)->disable_flag_override();

    CLI::App* tidy = app.add_subcommand("tidy", "tidy data of a sweep folder");
    tidy->set_help_flag();
    tidy->allow_extras();
    bool tidyHelp = false;
    tidy->add_flag("-h,--help", tidyHelp)->disable_flag_override();
    tidy->add_option("DIR", request.TidyDir);

    try {
        app.parse(std::vector<std::string>(args.rbegin(), args.rend()));
    } catch (const CLI::ParseError& e) {
        return fail(Reason(e));
    }
    for (const CLI::App* command : std::initializer_list<const CLI::App*>{&app, sweep, tidy})
        if (std::string extra = Unexpected(*command); !extra.empty())
            return fail(extra);

    if (sweep->parsed() || tidy->parsed()) {
        request.Command = sweep->parsed() ? BatchCommand::Sweep : BatchCommand::Tidy;
        request.Help = sweep->parsed() ? sweepHelp : tidyHelp;
        for (const CLI::Option* option : app.get_options())
            if (option->count() > 0)
                return fail(option->get_name() + " goes with a single run, not with " + (sweep->parsed() ? "sweep" : "tidy") +
                            (sweep->parsed() ? " (a plan sets what its runs take)" : ""));
        if (request.Help)
            return {request, {}};
        if (tidy->parsed()) {
            if (request.TidyDir.empty())
                return fail("tidy needs the folder of a sweep");
            return {request, {}};
        }
        SweepCommandLine& s = request.Sweep;
        if (s.Plan.empty())
            return fail("sweep needs a plan file");
        if (sweep->count("--output-dir") > 0 && s.OutputDir.empty())
            return fail("--output-dir needs a value");
        std::optional<long> jobCount;
        for (std::string error :
             {WholeNumber(*sweep, "--jobs", jobs, 1, jobCount), WholeNumber(*sweep, "--only", only, 1, s.Only),
              WholeNumber(*sweep, "--task-index", taskIndex, 0, s.TaskIndex),
              WholeNumber(*sweep, "--task-count", taskCount, 1, s.TaskCount)})
            if (!error.empty())
                return fail(error);
        if (jobCount)
            s.Jobs = static_cast<int>(std::min(*jobCount, 1024L));
        if (s.TaskIndex.has_value() != s.TaskCount.has_value())
            return fail("--task-index and --task-count go together");
        return {request, {}};
    }

    request.Help = help;
    if (std::string error = FinishRunOptions(app, request.Run, texts); !error.empty())
        return fail(error);
    request.Run.Help = help;
    return {request, {}};
}

BatchCommandLineResult ParseBatchCommandLine(const std::vector<std::string>& args)
{
    BatchRequestResult parsed = ParseBatchRequest(args);
    if (!parsed.Request)
        return {std::nullopt, parsed.Error};
    if (parsed.Request->Command != BatchCommand::Run)
        return {std::nullopt, "a run's command line holds no subcommand"};
    return {parsed.Request->Run, {}};
}

} // namespace quorrel
