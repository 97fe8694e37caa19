#pragma once

#include "engine/Dialogs.h"
#include "engine/Rng.h"
#include "params/ParameterSet.h"

#include <string>
#include <vector>

namespace quorrel {

// The "Growth Rates" window's grids as texts: per species a Low and a High cell and a row
// of rates against every other species, plus the randomising label. The rules for
// checking, committing, randomising and resetting them live here; nothing reaches the
// parameter set before Commit.
class GrowthRateEditorModel {
public:
    enum class Column { Low, High, Against };

    // A cell: species row i (1..n); for Against also the opponent j.
    struct CellRef {
        Column column = Column::Low;
        int i = 0;
        int j = 0;
    };

    GrowthRateEditorModel(ParameterSet& params, Rng& rng, Dialogs& dialogs);

    // Grids := the parameter set (fails on a growth rate that is neither fixed nor -1).
    // The grids are empty until the first Load.
    void Load();

    int Species() const { return n_; }
    const std::string& Low(int i) const { return low_[i]; }
    const std::string& High(int i) const { return high_[i]; }
    // "  -" on the diagonal.
    const std::string& Against(int i, int j) const { return against_[i][j]; }
    std::string& Cell(const CellRef& cell);
    bool Randomising() const { return randomising_; }
    std::string Label() const;

    // Only off-diagonal rate-against cells of fixed species (blank High) can be chosen.
    bool CanSelectAgainst(int i, int j) const;

    // The check of one cell, with its error message. Leaving a blank High cell (leaving =
    // true) also clears the randomising label.
    bool CheckCell(const CellRef& cell, bool leaving = false);

    // OK: the Low column, then High, then every off-diagonal rate-against cell; the first
    // failure is reported in failed and nothing is stored. Otherwise the grids are
    // committed to the parameter set.
    bool Commit(CellRef* failed = nullptr);

    // The buttons, each after its confirmation.
    bool Random();
    bool Reset();

private:
    bool Confirm(const char* text);
    void Error(const std::string& text);

    ParameterSet& params_;
    Rng& rng_;
    Dialogs& dialogs_;
    int n_ = 0;
    std::vector<std::string> low_;
    std::vector<std::string> high_;
    std::vector<std::vector<std::string>> against_;
    bool randomising_ = false;
};

} // namespace quorrel
