#pragma once

#include "engine/Model.h"
#include "runs/MonteCarloSeries.h"

#include <cstddef>
#include <limits>
#include <optional>

namespace quorrel {

// The Monte Carlo series of the variable-outcome model. It never redraws the outcome
// network; before every run after the first it draws new growth rates when GRateRandomising
// is set, and logs nothing of them. Every run starts from the parameter set's ranges and
// from fresh genotype storage, released at the end of the run.
class MonteCarloVariable : public MonteCarloSeries {
public:
    explicit MonteCarloVariable(AppState& app) : MonteCarloSeries(app, true) {}

    // At most this many bytes of genotype storage (both grids); for tests of the failure path.
    std::size_t GenotypeByteBudget = std::numeric_limits<std::size_t>::max();

    // While a series runs: the genotype storage held now, and the run's outcome ranges.
    std::size_t GenotypeBytes() const;
    const OutcomeRanges* Ranges() const { return model_ ? &model_->Ranges() : nullptr; }

private:
    void BeginSeries(Dialogs& dialogs) override;
    void BeginRun(int r, MonteCarloResultFile& file) override;
    bool BuildInitialState(RunHost& host) override;
    void Generation(int g) override;
    void EndRun() override;
    void EndSeries() override;

    std::optional<Model> model_;
};

} // namespace quorrel
