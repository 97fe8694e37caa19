#include "runs/VariableSingleRun.h"

#include "engine/Model.h"
#include "runs/RunFailure.h"
#include "runs/RunLoop.h"
#include "runs/SingleRunOutputs.h"
#include "runs/VariableRunOutputs.h"

namespace quorrel {

RunEnd VariableSingleRun::Start(RunHost& host)
{
    ParameterSet& params = app_.Params;
    const int maxgen = params.GParamRec.Maxgen;
    Dialogs& dialogs = host.Messages();

    curGen_ = 0;
    EnterRunning(host, HideIdleOutputWindows(false, true, false, app_.Options));

    Model model(params, app_.Lands, app_.Random, dialogs, OutcomeKind::Variable);
    model.GenotypeByteBudget = GenotypeByteBudget;
    RunFailure failure;
    bool seeded = false;
    failure.Try([&] {
        // The growth-rate and outcome ranges start afresh, whatever mutation did before.
        model.StartRun();
        // A failed seeding (no storage: its message has been shown; cancelled) keeps no genotypes.
        seeded = model.SetInitialState(host.Initialising());
    });
    if (!seeded) {
        if (model.HasGenotypes())
            model.FreeGenotypes();
        return EndUnstarted(host, failure, dialogs);
    }

    SingleRunOutputs outputs(app_, host);
    VariableRunOutputs variableOutputs(app_, host, model.Grids().Current);
    failure.Try([&] {
        outputs.Start(host.DisplayCycle());
        variableOutputs.Start();
        for (int g = 1; g <= maxgen; ++g) {
            curGen_ = g;
            host.ShowProgress({g, maxgen});
            model.Generation(g);
            outputs.Landscape(g, host.DisplayCycle());
            variableOutputs.Graphs(g, host.DisplayCycle());
            outputs.StatisticsAndPlots(g);
            variableOutputs.OutcomesAndPlot(g);
            if (PauseAndTestExit(host))
                break;
        }
    });
    failure.Report(dialogs);

    outputs.EndHistogram(failure);
    // Drops the widening of the growth-rate ranges made during the run.
    params.UpdateGRateFractions();
    outputs.Finish(failure);
    variableOutputs.Finish(failure);
    if (model.HasGenotypes())
        model.FreeGenotypes();
    return EndStarted(host, failure, dialogs);
}

} // namespace quorrel
