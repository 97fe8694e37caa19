#include "runs/MonteCarloSeries.h"

#include "engine/RandomNetworks.h"
#include "params/RepeatTimes.h"
#include "runs/RunFailure.h"
#include "runs/RunLoop.h"

#include <filesystem>
#include <new>
#include <optional>
#include <stdexcept>

namespace quorrel {

namespace {

// What a series does differently for each outcome kind, in one place. Variable outcomes
// evolve within each run, so that series never redraws an outcome network nor logs runs.
struct SeriesKind {
    bool RedrawsNetworks; // a new network before every run after the first when asked for
    bool LogsRuns;        // every run's drawn values in the result file when anything is drawn
    const char* OverwriteQuestion;
};

SeriesKind SeriesKindOf(OutcomeKind kind)
{
    if (kind == OutcomeKind::Variable)
        return {false, false, "Do you want overwrite this file?"};
    return {true, true, "Do you want to overwrite this file?"};
}

} // namespace

RunEnd MonteCarloSeries::Start(RunControl& control, RunObserver& observer, std::string_view repeatTimes,
                               const std::string& resultFile)
{
    Dialogs& dialogs = observer.Messages();
    const RepeatTimesCheck runs = CheckRepeatTimes(repeatTimes);
    if (!runs.Error.empty()) {
        dialogs.Message(MessageKind::Error, runs.Error, MessageButtons::Retry);
        return RunEnd::NotStarted;
    }
    if (resultFile.empty()) {
        dialogs.Message(MessageKind::Error, "A result filename must be given", MessageButtons::Retry);
        return RunEnd::NotStarted;
    }
    const SeriesKind series = SeriesKindOf(kind_);
    std::error_code ec;
    if (std::filesystem::exists(resultFile, ec)) {
        if (dialogs.Message(MessageKind::Warning, "File " + resultFile + " exists.\r" + series.OverwriteQuestion,
                            MessageButtons::YesNoCancel) != MessageAnswer::Yes)
            return RunEnd::NotStarted;
    }

    ParameterSet& params = app_.Params;
    EnterRunning(control, observer, HideIdleOutputWindows({.Outcome = kind_, .MonteCarlo = true}, app_.Options));
    currentRun_ = 0;
    notStarted_ = false;

    RunFailure failure;
    bool completed = false;
    failure.Try([&] {
        try {
            model_.emplace(params, app_.Lands, app_.Random, dialogs, kind_);
            model_->GenotypeByteBudget = GenotypeByteBudget;
            // The mean-field permutation is set up once per series; each run shuffles it further.
            model_->StartRun();
            MonteCarloResultFile file(resultFile, params);
            if (series.LogsRuns && LogsRandomisation(params)) {
                WriteRandomisationHeading(file.Stream());
                file.Flush();
            }
            record_.Clear(runs.Value);
            completed = RunSeries(control, observer, runs.Value, file);
            if (completed)
                WriteMonteCarloSummary(file.Stream(), record_, params, kind_);
            file.Close(completed);
        } catch (const std::bad_alloc& e) {
            throw std::runtime_error(std::string("Error writing file\r") + e.what() + "\rThis run will be aborted");
        }
    });
    failure.Try([&] { model_.reset(); });
    failure.Report(dialogs);

    RunEnd end = RunEnd::Completed;
    if (failure)
        end = RunEnd::Failed;
    else if (notStarted_)
        end = RunEnd::NotStarted;
    else if (!completed)
        end = control.State() == RunState::Stopped && !control.Terminating() ? RunEnd::Stopped : EndFromState(control);
    observer.RunFinished(end);
    return end;
}

bool MonteCarloSeries::MustEnd(const RunControl& control)
{
    const RunState state = control.State();
    return state == RunState::Stopped || state == RunState::Reset || state == RunState::Closing ||
           control.Terminating();
}

bool MonteCarloSeries::RunSeries(RunControl& control, RunObserver& observer, int runs, MonteCarloResultFile& file)
{
    ParameterSet& params = app_.Params;
    const GParamStruct& g = params.GParamRec;
    const int maxgen = g.Maxgen;
    for (int r = 1; r <= runs; ++r) {
        currentRun_ = r;
        observer.ShowProgress({.TotalGenerations = maxgen, .Run = r, .TotalRuns = runs});
        BeginRun(r, file);
        file.Flush();
        if (!model_->SetInitialState(observer.Initialising())) {
            notStarted_ = true;
            return false;
        }
        record_.ResetRun(r);
        for (int gen = 1; gen <= maxgen; ++gen) {
            observer.ShowProgress({.Generation = gen, .TotalGenerations = maxgen, .Run = r, .TotalRuns = runs});
            model_->Generation(gen);
            if (record_.UpdateExtinctionOrder(r, app_.Lands.CurrentLandscape, g))
                record_.StampExtinctionTimes(r, gen);
            control.Breathe();
            if (MustEnd(control))
                break;
        }
        record_.SetSpeciesLeft(r, g.Maxspec);
        if (MustEnd(control))
            return false;
        control.Breathe();
        if (MustEnd(control))
            return false;
        record_.AddEndCounts(r, app_.Lands.CurrentLandscape, g);
        if (model_->HasGenotypes())
            model_->FreeGenotypes();
    }
    return true;
}

void MonteCarloSeries::BeginRun(int r, MonteCarloResultFile& file)
{
    ParameterSet& p = app_.Params;
    const SeriesKind series = SeriesKindOf(kind_);
    if (r > 1) {
        if (series.RedrawsNetworks && p.OutcomeRandomMode != NotRandomising)
            RandomiseOutcomes(p, app_.Random);
        if (p.GRateRandomising)
            RandomiseGrowthRates(p, app_.Random);
    }
    // The fractions of the rates drawn; every run starts from them and from the outcome
    // ranges of the parameter set, without the widening that mutation made in the previous run.
    p.UpdateGRateFractions();
    if (series.LogsRuns && LogsRandomisation(p))
        WriteRunLog(file.Stream(), r, p);
    model_->ReadParameters();
}

std::size_t MonteCarloSeries::GenotypeBytes() const
{
    return model_ && model_->HasGenotypes() ? model_->Grids().Bytes() : 0;
}

const OutcomeRanges* MonteCarloSeries::Ranges() const
{
    return model_ && model_->Kind() == OutcomeKind::Variable ? &model_->Ranges() : nullptr;
}

} // namespace quorrel
