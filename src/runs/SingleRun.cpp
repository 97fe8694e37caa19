#include "runs/SingleRun.h"

#include "runs/RunFailure.h"
#include "runs/RunLoop.h"
#include "runs/SingleRunOutputs.h"
#include "runs/VariableRunOutputs.h"

#include <optional>

namespace quorrel {

RunEnd SingleRun::Start(RunHost& host)
{
    const ParameterSet& params = app_.Params;
    const int maxgen = params.GParamRec.Maxgen;
    Dialogs& dialogs = host.Messages();

    curGen_ = 0;
    EnterRunning(host, HideIdleOutputWindows({.Outcome = kind_}, app_.Options));

    Model model(params, app_.Lands, app_.Random, dialogs, kind_);
    model.GenotypeByteBudget = GenotypeByteBudget;
    RunFailure failure;
    bool ready = false;
    failure.Try([&] {
        // The growth-rate and outcome ranges start afresh, whatever mutation did before.
        model.StartRun();
        // A failed seeding (no storage: its message has been shown; cancelled) keeps no genotypes.
        ready = model.SetInitialState(host.Initialising());
    });
    if (!ready) {
        if (model.HasGenotypes())
            model.FreeGenotypes();
        return EndUnstarted(host, failure, dialogs);
    }

    SingleRunOutputs outputs(app_, host);
    std::optional<VariableRunOutputs> genotypeOutputs;
    if (model.HasGenotypes())
        genotypeOutputs.emplace(app_, host, model.Grids().Current);
    failure.Try([&] {
        outputs.Start(host.DisplayCycle());
        if (genotypeOutputs)
            genotypeOutputs->Start();
        for (int g = 1; g <= maxgen; ++g) {
            curGen_ = g;
            host.ShowProgress({g, maxgen});
            model.Generation(g);
            outputs.Landscape(g, host.DisplayCycle());
            if (genotypeOutputs)
                genotypeOutputs->Graphs(g, host.DisplayCycle());
            outputs.StatisticsAndPlots(g);
            if (genotypeOutputs)
                genotypeOutputs->OutcomesAndPlot(g);
            if (PauseAndTestExit(host))
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
    return EndStarted(host, failure, dialogs);
}

} // namespace quorrel
