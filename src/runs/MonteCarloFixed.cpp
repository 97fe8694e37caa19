#include "runs/MonteCarloFixed.h"

#include "engine/RandomNetworks.h"

namespace quorrel {

void MonteCarloFixed::BeginSeries(Dialogs& dialogs)
{
    model_.emplace(app_.Params, app_.Lands, app_.Random, dialogs, OutcomeKind::Fixed);
    // The mean-field permutation is set up once per series; each run shuffles it further.
    model_->StartRun();
}

void MonteCarloFixed::BeginRun(int r, MonteCarloResultFile& file)
{
    ParameterSet& p = app_.Params;
    if (r > 1) {
        if (p.OutcomeRandomMode != NotRandomising)
            RandomiseOutcomes(p, app_.Random);
        if (p.GRateRandomising)
            RandomiseGrowthRates(p, app_.Random);
    }
    // Every run starts from the growth rates of the parameter set, without the widening
    // that mutation made in the previous run.
    p.UpdateGRateFractions();
    if (LogsRandomisation(p))
        WriteRunLog(file.Stream(), r, p);
    if (p.GParamRec.Influx > ProbabilityOn)
        model_->ObservedGRateRanges() = p.GRateFractions;
}

bool MonteCarloFixed::BuildInitialState(RunHost& host)
{
    return model_->SetInitialState(host.Initialising());
}

void MonteCarloFixed::Generation(int g)
{
    model_->Generation(g);
}

void MonteCarloFixed::EndSeries()
{
    model_.reset();
}

} // namespace quorrel
