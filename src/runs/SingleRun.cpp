#include "runs/SingleRun.h"

#include "runs/RunFailure.h"
#include "runs/RunLoop.h"
#include "runs/SingleRunOutputs.h"
#include "runs/VariableRunOutputs.h"

#include <optional>

namespace quorrel {

RunEnd SingleRun::Start(RunControl& control, RunObserver& observer)
{
    const ParameterSet& params = app_.Params;
    const int maxgen = params.GParamRec.Maxgen;
    Dialogs& dialogs = observer.Messages();

    curGen_ = 0;
    EnterRunning(control, observer, HideIdleOutputWindows({.Outcome = kind_}, app_.Options));

    Model model(params, app_.Lands, app_.Random, dialogs, kind_);
    model.GenotypeByteBudget = GenotypeByteBudget;
    RunFailure failure;
    bool ready = false;
    failure.Try([&] {
        // The growth-rate and outcome ranges start afresh, whatever mutation did before.
        model.StartRun();
        // A failed seeding (no storage: its message has been shown; cancelled) keeps no genotypes.
        ready = model.SetInitialState(observer.Initialising());
    });
    if (!ready) {
        if (model.HasGenotypes())
            model.FreeGenotypes();
        return EndUnstarted(observer, failure);
    }

    SingleRunOutputs outputs(app_, sinks_, dialogs);
    std::optional<VariableRunOutputs> genotypeOutputs;
    if (model.HasGenotypes())
        genotypeOutputs.emplace(app_, sinks_, model.Grids().Current);
    failure.Try([&] {
        outputs.Start(control.DisplayCycle());
        if (genotypeOutputs)
            genotypeOutputs->Start();
        // The windows show generation 0 before generation 1 is computed.
        control.Breathe();
        for (int g = 1; g <= maxgen; ++g) {
            curGen_ = g;
            observer.ShowProgress({.Generation = g, .TotalGenerations = maxgen});
            model.Generation(g);
            outputs.Landscape(g, control.DisplayCycle());
            if (genotypeOutputs)
                genotypeOutputs->Graphs(g, control.DisplayCycle());
            outputs.StatisticsAndPlots(g);
            if (genotypeOutputs)
                genotypeOutputs->OutcomesAndPlot(g);
            // A stopped run shows its current landscape, even if the window declined it.
            if (PauseAndTestExit(control, [&] { outputs.ShowPendingLandscape(); }))
                break;
        }
    });
    failure.Report(dialogs);

    outputs.EndHistogram(failure);
    outputs.Finish(failure);
    if (genotypeOutputs)
        genotypeOutputs->Finish(failure);
    if (model.HasGenotypes())
        model.FreeGenotypes();
    return EndStarted(control, observer, failure);
}

} // namespace quorrel
