#pragma once

#include "engine/ArraySettings.h"
#include "engine/Dialogs.h"
#include "engine/LandscapeTables.h"
#include "engine/Rng.h"
#include "params/ParameterSet.h"

#include <cstddef>
#include <limits>

namespace quorrel {

// VOTCVect: the ranges from which every landscape of a variable-outcome array seeds its
// genotypes, Maxspec entries in the layout of VariableOutcomeVector, each table a separate
// allocation. Made by SetVOTCVects at the start of a run, released by FreeVOTCVects.
class VOTCVects {
public:
    // Allocates the tables row by row and fills them from VariableOutcomeVector by the
    // spread TypeVOTC; then, when InitOTCFName is not empty, writes them to that file.
    // False when a table cannot be allocated: "Out of memory.  Try fewer landscapes or
    // species." is shown and the tables made so far are released.
    bool SetVOTCVects(const ArraySettings& settings, const ParameterSet& params, Rng& rng, Dialogs& dialogs);

    // Releases every table; a missing one is the assertion failure "FreeVOTCVects()".
    void FreeVOTCVects();

    bool Allocated() const { return tables_.Allocated(); }
    const VariableOutcomeRange& At(int r, int c, int s) const;
    // ranges := VOTCVect[r][c], all Maxspec entries.
    void LoadInto(int r, int c, VariableOutcomeTable& ranges) const;

    // At most this many tables can be allocated; for tests of the failure path.
    std::size_t TableBudget = std::numeric_limits<std::size_t>::max();

private:
    void Fill(const ArraySettings& settings, const ParameterSet& params, Rng& rng);
    void WriteFile(const ArraySettings& settings, const ParameterSet& params) const;

    LandscapeTables<VariableOutcomeRange> tables_;
};

} // namespace quorrel
