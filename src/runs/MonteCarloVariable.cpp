#include "runs/MonteCarloVariable.h"

#include "engine/RandomNetworks.h"

namespace quorrel {

std::size_t MonteCarloVariable::GenotypeBytes() const
{
    if (!model_)
        return 0;
    return model_->Grids().Bytes();
}

void MonteCarloVariable::BeginSeries(Dialogs& dialogs)
{
    model_.emplace(app_.Params, app_.Lands, app_.Random, dialogs, OutcomeKind::Variable);
    model_->GenotypeByteBudget = GenotypeByteBudget;
    // The mean-field permutation is set up once per series; each run shuffles it further.
    model_->StartRun();
}

void MonteCarloVariable::BeginRun(int r, MonteCarloResultFile& /*file*/)
{
    ParameterSet& p = app_.Params;
    if (r > 1 && p.GRateRandomising)
        RandomiseGrowthRates(p, app_.Random);
    p.UpdateGRateFractions();
    // Whatever Influx is, so that no widening by mutation carries over to the next run.
    model_->ObservedGRateRanges() = p.GRateFractions;
    model_->SeedOutcomeRanges() = p.VariableOutcomeVector;
    model_->ObservedOutcomeRanges() = p.VariableOutcomeVector;
}

bool MonteCarloVariable::BuildInitialState(RunHost& host)
{
    return model_->SetInitialState(host.Initialising());
}

void MonteCarloVariable::Generation(int g)
{
    model_->Generation(g);
}

void MonteCarloVariable::EndRun()
{
    model_->FreeGenotypes();
}

void MonteCarloVariable::EndSeries()
{
    model_.reset();
}

} // namespace quorrel
