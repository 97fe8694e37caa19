#pragma once

#include "engine/Dialogs.h"
#include "params/ParameterSet.h"

#include <string>
#include <vector>

namespace quorrel {

// The recruitment editor's cells (one probability per species). OK stores only when every
// value passes; Reset changes the parameter set at once.
class RecruitmentEditorModel {
public:
    RecruitmentEditorModel(ParameterSet& params, Dialogs& dialogs);

    void Load();

    int Species() const { return static_cast<int>(cells_.size()) - 1; }
    std::string& Cell(int species) { return cells_[species]; }

    bool Commit();
    // After its confirmation: all 40 probabilities become 1.0, now.
    bool Reset();

private:
    ParameterSet& params_;
    Dialogs& dialogs_;
    std::vector<std::string> cells_;
};

} // namespace quorrel
