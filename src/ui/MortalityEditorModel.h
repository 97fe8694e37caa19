#pragma once

#include "engine/Dialogs.h"
#include "params/ParameterSet.h"

#include <string>
#include <vector>

namespace quorrel {

// The mortality editor's cells (one per species) and size box. OK stores only when every
// value passes; Reset changes the parameter set at once.
class MortalityEditorModel {
public:
    MortalityEditorModel(ParameterSet& params, Dialogs& dialogs);

    // Cells and size box := the parameter set.
    void Load();

    int Species() const { return static_cast<int>(cells_.size()) - 1; }
    std::string& Cell(int species) { return cells_[species]; }
    std::string& Size() { return size_; }

    bool Commit();
    // After its confirmation: the size and all 40 species' mortalities become 0, now.
    bool Reset();

private:
    ParameterSet& params_;
    Dialogs& dialogs_;
    std::vector<std::string> cells_;
    std::string size_;
};

} // namespace quorrel
