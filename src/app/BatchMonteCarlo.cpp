#include "app/BatchMonteCarlo.h"

#include "params/FieldParsers.h"
#include "params/RepeatTimes.h"
#include "runs/MonteCarloSeries.h"

#include <array>
#include <filesystem>
#include <stdexcept>

namespace quorrel {

namespace {

constexpr std::array<const char*, 4> OutcomeRandomWords = {"none", "uniform", "no-reversals", "hierarchical"};

} // namespace

bool IsMonteCarloOption(const std::string& name, bool& takesValue)
{
    takesValue = name == "--runs" || name == "--result" || name == "--outcome-random" || name == "--standoff";
    return takesValue || name == "--grate-random";
}

std::string SetMonteCarloOption(BatchMonteCarloOptions& options, const std::string& name, const std::string& value)
{
    if (name == "--grate-random") {
        options.GRateRandom = true;
    } else if (name == "--runs") {
        options.Runs = value;
    } else if (name == "--result") {
        if (value.empty())
            return "--result needs a value";
        options.Result = value;
    } else if (name == "--outcome-random") {
        for (int mode = 0; mode < static_cast<int>(OutcomeRandomWords.size()); ++mode)
            if (value == OutcomeRandomWords[mode]) {
                options.OutcomeRandom = mode;
                return {};
            }
        return "--outcome-random needs none, uniform, no-reversals or hierarchical, not \"" + value + "\"";
    } else if (name == "--standoff") {
        const IntField field = ParseIntField(value);
        if (field.Status != FieldStatus::Value || field.Value > 100)
            return "--standoff needs a whole percentage 0..100, not \"" + value + "\"";
        options.Standoff = field.Value;
    }
    return {};
}

bool IsMonteCarloMode(const std::string& mode)
{
    return mode == "montecarlo-fixed" || mode == "montecarlo-variable";
}

void ApplyMonteCarloSettings(const BatchMonteCarloOptions& options, ParameterSet& params)
{
    params.OutcomeRandomMode = static_cast<uint8_t>(options.OutcomeRandom.value_or(NotRandomising));
    params.StandoffPercent = options.Standoff.value_or(0);
    params.GRateRandomising = options.GRateRandom;
}

std::function<RunEnd(AppState&, RunHost&)> MonteCarloDriver(const std::string& mode,
                                                            const BatchMonteCarloOptions& options,
                                                            ParameterSet& params)
{
    const bool variable = mode == "montecarlo-variable";
    if (!options.Runs)
        throw std::invalid_argument("--mode " + mode + " needs --runs N");
    const RepeatTimesCheck runs = CheckRepeatTimes(*options.Runs);
    if (!runs.Error.empty())
        throw std::invalid_argument(runs.Error);
    if (!options.Result)
        throw std::invalid_argument("--mode " + mode + " needs --result FILE");
    std::error_code ec;
    if (std::filesystem::exists(*options.Result, ec))
        throw std::invalid_argument("the result file \"" + *options.Result +
                                    "\" exists; it is never overwritten, remove it first");
    if (variable && ((options.OutcomeRandom && *options.OutcomeRandom != NotRandomising) || options.Standoff))
        throw std::invalid_argument("the variable-outcome series never redraws the outcome network; "
                                    "--outcome-random and --standoff belong to montecarlo-fixed");
    if (!variable && params.HasVariablePair())
        throw std::invalid_argument("Some interactions in the outcome matrix are set to variable.");

    ApplyMonteCarloSettings(options, params);

    const std::string repeat = *options.Runs;
    const std::string result = *options.Result;
    const OutcomeKind kind = variable ? OutcomeKind::Variable : OutcomeKind::Fixed;
    return [kind, repeat, result](AppState& app, RunHost& host) {
        return MonteCarloSeries(app, kind).Start(host, host, repeat, result);
    };
}

std::string MonteCarloUsage()
{
    return R"(                     montecarlo-fixed: one landscape, fixed outcomes, a series of runs;
                     montecarlo-variable: one landscape, variable outcomes, a series of runs
  --runs N           Monte Carlo modes: the number of runs in the series, 2..1000
  --result FILE      Monte Carlo modes: the result file (parameter listing, run logs and
                     summary); it must not exist yet
  --outcome-random KIND
                     montecarlo-fixed: draw a new outcome network before every run after the
                     first: none (default), uniform, no-reversals or hierarchical
  --standoff PCT     montecarlo-fixed: the percentage of pairs drawn as pure stand-offs in
                     those networks, 0..100 (default 0)
  --grate-random     Monte Carlo modes: draw new growth rates before every run after the first
)";
}

} // namespace quorrel
