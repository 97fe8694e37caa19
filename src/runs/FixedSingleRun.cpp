#include "runs/FixedSingleRun.h"

#include "engine/BaseModel.h"
#include "output/LandscapeOutput.h"
#include "output/SlidingWindows.h"
#include "output/Statistics.h"
#include "runs/PlotCadence.h"
#include "runs/RunFailure.h"
#include "runs/RunLoop.h"

namespace quorrel {

namespace {

// The run's outputs, fed after generation 0 and after every generation.
class FixedRunOutputs {
public:
    FixedRunOutputs(AppState& app, RunHost& host)
        : o_(app.Options),
          landscape_(app.Params, app.Options, app.Lands.CurrentLandscape, app.Colors, host.Messages(),
                     host.LandscapeWindow()),
          windows_(app.Params, app.Options, app.Lands.CurrentLandscape, host.Messages()),
          statistics_(app.Params, app.Options, app.Lands.CurrentLandscape, app.Colors, host.StatisticsWindow())
    {
    }

    void Start(int displayCycle)
    {
        landscape_.OutputLandscape(0, displayCycle);
        windows_.SpatialHistogram(0);
        if (o_.ShowCoverage || o_.WriteCoverage)
            statistics_.StartStatistic(1);
        if (o_.ShowCoverage)
            statistics_.ShowStatisticPlot(1);
        if (o_.WriteCoverage)
            statistics_.OpenStatisticFile(1);
        if (o_.ShowGRate1 || o_.WriteGRate)
            statistics_.StartStatistic(2);
        if (o_.ShowGRate1)
            statistics_.ShowStatisticPlot(2);
        if (o_.ShowGRate2 || o_.WriteGRate)
            statistics_.StartStatistic(3);
        if (o_.ShowGRate2)
            statistics_.ShowStatisticPlot(3);
        if (o_.WriteGRate)
            statistics_.OpenStatisticFile(2);
    }

    void Generation(int g, int displayCycle, PlotCadence& cadence)
    {
        landscape_.OutputLandscape(g, displayCycle);
        windows_.SpatialHistogram(g);
        if (o_.ShowCoverage || o_.WriteCoverage)
            statistics_.ComputeStatistic(1);
        if (o_.ShowGRate1 || o_.WriteGRate)
            statistics_.ComputeStatistic(2);
        if (o_.ShowGRate2 || o_.WriteGRate)
            statistics_.ComputeStatistic(3);
        if (cadence.Due(g)) {
            if (o_.ShowCoverage)
                statistics_.PlotStatistic(1);
            if (o_.ShowGRate1)
                statistics_.PlotStatistic(2);
            if (o_.ShowGRate2)
                statistics_.PlotStatistic(3);
        }
        if (o_.WriteCoverage)
            statistics_.WriteStatisticLine(1, g);
        if (o_.WriteGRate)
            statistics_.WriteStatisticLine(2, g);
    }

    // The end of the run after the growth-rate fractions have been restored: plots
    // finished, files closed. Every step is tried; the first failure is kept.
    void Finish(RunFailure& failure)
    {
        failure.Try([&] {
            if (o_.ShowCoverage)
                statistics_.FinishStatisticPlot(1);
        });
        failure.Try([&] {
            if (o_.WriteCoverage)
                statistics_.CloseStatisticFile(1);
        });
        failure.Try([&] {
            if (o_.ShowGRate1)
                statistics_.FinishStatisticPlot(2);
            if (o_.ShowGRate2)
                statistics_.FinishStatisticPlot(3);
        });
        failure.Try([&] {
            if (o_.WriteGRate)
                statistics_.CloseStatisticFile(2);
        });
    }

    void EndHistogram(RunFailure& failure)
    {
        failure.Try([&] { windows_.SpatialHistogram(-1); });
    }

private:
    const OptionStruct& o_;
    LandscapeOutput landscape_;
    SlidingWindows windows_;
    Statistics statistics_;
};

} // namespace

RunEnd FixedSingleRun::Start(RunHost& host)
{
    ParameterSet& params = app_.Params;
    const int maxgen = params.GParamRec.Maxgen;
    Dialogs& dialogs = host.Messages();

    curGen_ = 0;
    host.SetState(RunState::Running);
    host.RunStarted();
    host.HideOutputWindows(HideIdleOutputWindows(false, false, false, app_.Options));

    BaseModel model(params, app_.Lands, app_.Random, dialogs);
    RunFailure failure;
    bool covered = false;
    failure.Try([&] {
        model.StartRun();
        covered = model.SetInitCover(host.Initialising());
    });
    if (!covered) {
        failure.Report(dialogs);
        const RunEnd end = failure ? RunEnd::Failed : RunEnd::NotStarted;
        host.RunFinished(end);
        return end;
    }

    FixedRunOutputs outputs(app_, host);
    failure.Try([&] {
        outputs.Start(host.DisplayCycle());
        PlotCadence cadence(maxgen, 400);
        for (int g = 1; g <= maxgen; ++g) {
            curGen_ = g;
            host.ShowProgress({g, maxgen});
            model.Generation(g);
            outputs.Generation(g, host.DisplayCycle(), cadence);
            if (PauseAndTestExit(host))
                break;
        }
    });
    failure.Report(dialogs);

    outputs.EndHistogram(failure);
    params.UpdateGRateFractions();
    outputs.Finish(failure);
    failure.Report(dialogs);

    const RunEnd end = failure ? RunEnd::Failed : EndFromState(host);
    host.RunFinished(end);
    return end;
}

} // namespace quorrel
