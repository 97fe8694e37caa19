#pragma once

#include "engine/Model.h"
#include "runs/MonteCarloSeries.h"

#include <optional>

namespace quorrel {

// The Monte Carlo series of the fixed-outcome model. Before every run after the first it
// draws a new outcome network (OutcomeRandomMode not none) and new growth rates
// (GRateRandomising), and logs every run's values in the result file when either is on.
// The network and rates drawn for the last run stay in the parameter set.
class MonteCarloFixed : public MonteCarloSeries {
public:
    explicit MonteCarloFixed(AppState& app) : MonteCarloSeries(app, false) {}

private:
    void BeginSeries(Dialogs& dialogs) override;
    void BeginRun(int r, MonteCarloResultFile& file) override;
    bool BuildInitialState(RunHost& host) override;
    void Generation(int g) override;
    void EndSeries() override;

    std::optional<Model> model_;
};

} // namespace quorrel
