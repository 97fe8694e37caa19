#pragma once

#include "engine/ArraySettings.h"
#include "engine/Dialogs.h"
#include "engine/LandscapeTables.h"
#include "engine/Rng.h"
#include "params/ParameterSet.h"

#include <cstddef>
#include <limits>

namespace quorrel {

// GRateVect: the growth-rate table of every landscape of an array, Maxspec entries in the
// layout of GRateFractions, each table a separate allocation. Made by SetGRateVects at the
// start of a run and released by FreeGRateVects at its end (or when the object goes).
class GRateVects {
public:
    // Allocates the tables row by row and fills them from GRateFractions by the spread
    // TypeGRate; then, when InitGRFName is not empty, writes them to that file (failure:
    // ParameterFileError or ArrayFileError). False when a table cannot be allocated: the
    // message "Out of memory.  Try fewer landscapes or species." is shown and the tables
    // made so far are released.
    bool SetGRateVects(const ArraySettings& settings, const ParameterSet& params, Rng& rng, Dialogs& dialogs);

    // Releases every table; a missing one is the assertion failure "FreeGRateVects: bad GRateVect".
    void FreeGRateVects();

    bool Allocated() const { return tables_.Allocated(); }
    // Entry s (1..Maxspec) of the table of landscape (r, c).
    const GRateFraction& At(int r, int c, int s) const;
    // GRateFractions := GRateVect[r][c], all Maxspec entries.
    void LoadInto(int r, int c, SpeciesTable<GRateFraction>& fractions) const;

    // At most this many tables can be allocated; for tests of the failure path.
    std::size_t TableBudget = std::numeric_limits<std::size_t>::max();

private:
    void Fill(const ArraySettings& settings, const ParameterSet& params, Rng& rng);
    void WriteFile(const ArraySettings& settings, const ParameterSet& params) const;

    LandscapeTables<GRateFraction> tables_;
};

} // namespace quorrel
