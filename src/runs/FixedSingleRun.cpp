#include "runs/FixedSingleRun.h"

#include "engine/Model.h"
#include "runs/RunFailure.h"
#include "runs/RunLoop.h"
#include "runs/SingleRunOutputs.h"

namespace quorrel {

RunEnd FixedSingleRun::Start(RunHost& host)
{
    ParameterSet& params = app_.Params;
    const int maxgen = params.GParamRec.Maxgen;
    Dialogs& dialogs = host.Messages();

    curGen_ = 0;
    EnterRunning(host, HideIdleOutputWindows(false, false, false, app_.Options));

    Model model(params, app_.Lands, app_.Random, dialogs, OutcomeKind::Fixed);
    RunFailure failure;
    bool covered = false;
    failure.Try([&] {
        model.StartRun();
        covered = model.SetInitialState(host.Initialising());
    });
    if (!covered)
        return EndUnstarted(host, failure, dialogs);

    SingleRunOutputs outputs(app_, host);
    failure.Try([&] {
        outputs.Start(host.DisplayCycle());
        for (int g = 1; g <= maxgen; ++g) {
            curGen_ = g;
            host.ShowProgress({g, maxgen});
            model.Generation(g);
            outputs.Landscape(g, host.DisplayCycle());
            outputs.StatisticsAndPlots(g);
            if (PauseAndTestExit(host))
                break;
        }
    });
    failure.Report(dialogs);

    outputs.EndHistogram(failure);
    // Drops the widening of the growth-rate ranges made during the run.
    params.UpdateGRateFractions();
    outputs.Finish(failure);
    return EndStarted(host, failure, dialogs);
}

} // namespace quorrel
