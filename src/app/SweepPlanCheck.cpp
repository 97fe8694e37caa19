#include "app/SweepPlanCheck.h"

#include "app/BatchArrayPreparation.h"
#include "app/BatchCommandLine.h"
#include "app/BatchMonteCarlo.h"
#include "app/CheckedBatchRun.h"
#include "app/StderrDialogs.h"
#include "app/SweepChildCommand.h"
#include "sweep/ParameterJson.h"
#include "sweep/PlanError.h"

#include <memory>
#include <sstream>

namespace quorrel {

namespace {

// Where the refusal of a run's check comes from: the plan entry or design value whose
// option ("--set KEY=VALUE" or "--KEY VALUE") the reason starts with.
PlanError Refusal(const SweepPlan& plan, const SweepRun& run, const std::string& reason)
{
    std::string point;
    for (const auto& [key, value] : run.Point)
        point += (point.empty() ? "" : ", ") + key + "=" + value;
    const std::string text = "run " + std::to_string(run.Run) + (point.empty() ? "" : " (" + point + ")") + ": " + reason;
    auto names = [&](const std::string& key, const std::string& value) {
        return reason.starts_with("--set " + key + "=" + value + ":") || reason.starts_with("--" + key + " ");
    };
    for (size_t k = 0; k < run.Point.size(); ++k)
        if (names(run.Point[k].first, run.Point[k].second)) {
            const DesignSource source = plan.Design.Source(run.PointIndex, k);
            return PlanError(source.File, source.Line, run.Point[k].first, text);
        }
    for (const auto* entries : {&plan.Sets, &plan.RunOptions})
        for (const PlanEntry& e : *entries)
            if (names(e.Key, e.Value))
                return PlanError(plan.File, e.Line, e.Key, text);
    return PlanError(plan.File, 0, "", text);
}

BatchCommandLine LineOf(const std::vector<std::string>& command)
{
    const BatchCommandLineResult parsed = ParseBatchCommandLine({command.begin() + 1, command.end()});
    if (!parsed.Line)
        throw BatchInputError{parsed.Error};
    return *parsed.Line;
}

} // namespace

void CheckSweepPlan(const SweepPlan& plan, const std::filesystem::path& sweepFolder)
{
    std::ostringstream ignored;
    StderrDialogs dialogs(ignored);
    for (size_t point = 0; point < plan.Design.Points(); ++point) {
        const long runNumber = static_cast<long>(point) * plan.Replicates + 1;
        const SweepRun run = SweepRunOf(plan, runNumber, sweepFolder);
        // A folder that is never made, so that nothing of an earlier run is in the way.
        std::filesystem::path folder = run.Folder;
        folder += ".check";
        auto app = std::make_unique<AppState>();
        try {
            const BatchCommandLine line = LineOf(SweepChildCommand(plan, run, folder));
            CheckBatchRun(*app, line, dialogs, nullptr, PreparationFor::PlanCheck);
        } catch (const BatchInputError& bad) {
            app->RemoveTempDir(dialogs);
            throw Refusal(plan, run, bad.reason);
        }
        app->RemoveTempDir(dialogs);
    }
}

RunSettingsJson RunSettingsOf(const std::vector<std::string>& command)
{
    std::ostringstream ignored;
    StderrDialogs dialogs(ignored);
    RunSettingsJson settings;
    auto app = std::make_unique<AppState>();
    try {
        const BatchCommandLine line = LineOf(command);
        PrepareBatchRun(*app, line, dialogs, PreparationFor::PlanCheck);
        const bool array = IsArrayMode(line.Mode);
        if (array)
            PrepareBatchArray(*app, line, line.Mode == "array-variable");
        if (IsMonteCarloMode(line.Mode))
            ApplyMonteCarloSettings(line.MonteCarlo, app->Params);
        settings.Parameters = ParametersJson(app->Params, array ? &app->Array : nullptr);
        settings.Options = OptionsJson(app->Options);
    } catch (const BatchInputError&) {
        settings = {};
    }
    app->RemoveTempDir(dialogs);
    return settings;
}

} // namespace quorrel
