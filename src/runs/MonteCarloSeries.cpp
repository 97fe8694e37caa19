#include "runs/MonteCarloSeries.h"

#include "params/FieldParsers.h"
#include "runs/RunFailure.h"
#include "runs/RunLoop.h"

#include <filesystem>
#include <new>
#include <optional>
#include <stdexcept>

namespace quorrel {

RepeatTimesCheck CheckRepeatTimes(std::string_view text)
{
    const IntField field = ParseIntField(text);
    switch (field.Status) {
    case FieldStatus::Empty:
        return {0, "You have to specify the number of repetitions."};
    case FieldStatus::Invalid:
        return {0, "You have to give a positive number of repetitions."};
    case FieldStatus::Value:
        break;
    }
    if (field.Value < 2 || field.Value > 1000)
        return {0, "The number of repetitions must be between 2 and 1000"};
    return {field.Value, {}};
}

RunEnd MonteCarloSeries::Start(RunHost& host, std::string_view repeatTimes, const std::string& resultFile)
{
    Dialogs& dialogs = host.Messages();
    const RepeatTimesCheck runs = CheckRepeatTimes(repeatTimes);
    if (!runs.Error.empty()) {
        dialogs.Message(MessageKind::Error, runs.Error, MessageButtons::Retry);
        return RunEnd::NotStarted;
    }
    if (resultFile.empty()) {
        dialogs.Message(MessageKind::Error, "A result filename must be given", MessageButtons::Retry);
        return RunEnd::NotStarted;
    }
    std::error_code ec;
    if (std::filesystem::exists(resultFile, ec)) {
        const std::string question = variable_ ? "Do you want overwrite this file?" : "Do you want to overwrite this file?";
        if (dialogs.Message(MessageKind::Warning, "File " + resultFile + " exists.\r" + question,
                            MessageButtons::YesNoCancel) != MessageAnswer::Yes)
            return RunEnd::NotStarted;
    }

    ParameterSet& params = app_.Params;
    EnterRunning(host, HideIdleOutputWindows(false, variable_, true, app_.Options));
    currentRun_ = 0;
    notStarted_ = false;

    RunFailure failure;
    bool completed = false;
    failure.Try([&] {
        try {
            BeginSeries(dialogs);
            MonteCarloResultFile file(resultFile, params);
            if (!variable_ && LogsRandomisation(params)) {
                WriteRandomisationHeading(file.Stream());
                file.Flush();
            }
            record_.Clear(runs.Value);
            completed = RunSeries(host, runs.Value, file);
            params.UpdateGRateFractions();
            if (completed)
                WriteMonteCarloSummary(file.Stream(), record_, params, variable_);
            file.Close(completed);
        } catch (const std::bad_alloc& e) {
            throw std::runtime_error(std::string("Error writing file\r") + e.what() + "\rThis run will be aborted");
        }
    });
    params.UpdateGRateFractions();
    failure.Try([&] { EndSeries(); });
    failure.Report(dialogs);

    RunEnd end = RunEnd::Completed;
    if (failure)
        end = RunEnd::Failed;
    else if (notStarted_)
        end = RunEnd::NotStarted;
    else if (!completed)
        end = host.State() == RunState::Stopped && !host.Terminating() ? RunEnd::Stopped : EndFromState(host);
    host.RunFinished(end);
    return end;
}

bool MonteCarloSeries::MustEnd(const RunHost& host) const
{
    const RunState state = host.State();
    return state == RunState::Stopped || state == RunState::Reset || state == RunState::Closing || host.Terminating();
}

bool MonteCarloSeries::RunSeries(RunHost& host, int runs, MonteCarloResultFile& file)
{
    ParameterSet& params = app_.Params;
    const GParamStruct& g = params.GParamRec;
    const int maxgen = g.Maxgen;
    for (int r = 1; r <= runs; ++r) {
        currentRun_ = r;
        host.ShowProgress({0, maxgen, r, runs});
        BeginRun(r, file);
        file.Flush();
        if (!BuildInitialState(host)) {
            notStarted_ = true;
            return false;
        }
        record_.ResetRun(r);
        for (int gen = 1; gen <= maxgen; ++gen) {
            host.ShowProgress({gen, maxgen, r, runs});
            Generation(gen);
            if (record_.UpdateExtinctionOrder(r, app_.Lands.CurrentLandscape, g))
                record_.StampExtinctionTimes(r, gen);
            host.Breathe();
            if (MustEnd(host))
                break;
        }
        record_.SetSpeciesLeft(r, g.Maxspec);
        if (MustEnd(host))
            return false;
        host.Breathe();
        if (MustEnd(host))
            return false;
        record_.AddEndCounts(r, app_.Lands.CurrentLandscape, g);
        EndRun();
    }
    return true;
}

} // namespace quorrel
