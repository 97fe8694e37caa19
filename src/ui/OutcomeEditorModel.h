#pragma once

#include "engine/Dialogs.h"
#include "engine/Rng.h"
#include "params/ParameterSet.h"

#include <functional>
#include <string>

namespace quorrel {

// The outcome editor's working copies (matrix, variable-outcome ranges, randomisation mode)
// and every operation of the editor and its small dialogs. Nothing reaches the parameter
// set before Commit, except the stand-off percentage, which is a process setting.
// Messages go through the dialog seam; an operation that returns true lets its dialog close.
class OutcomeEditorModel {
public:
    enum class Generator { Uniform, NoReversal, Hierarchical };

    OutcomeEditorModel(ParameterSet& params, Rng& rng, Dialogs& dialogs);

    // Working copies := the live tables and mode.
    void Load();
    // Live tables (species 1..Maxspec) and mode := the working copies.
    void Commit();

    int Species() const { return params_.GParamRec.Maxspec; }
    const OutcomeTable& Matrix() const { return matrix_; }
    const VariableOutcomeTable& Ranges() const { return ranges_; }
    int Mode() const { return mode_; }
    std::string ModeLabel() const;

    // Only cells above the diagonal can be edited.
    bool CanEdit(int i, int j) const { return i < j && j <= Species(); }

    // The single-entry dialog's OK for the pair (i, j), i < j; a negative first value
    // marks a variable pair.
    bool EnterOutcome(int i, int j, const std::string& first, const std::string& second, const std::string& third);
    // The win-range and loss-range dialogs' OK for species s.
    bool EnterWinRange(int s, const std::string& from, const std::string& to);
    bool EnterLossRange(int s, const std::string& from, const std::string& to);
    // The stand-off dialog's OK.
    bool EnterStandoff(const std::string& text);

    // A generator button: confirmation, mode, (for Uniform and Hierarchical) the upper
    // triangle zeroed, then askStandoff (the stand-off dialog), then the network.
    bool Generate(Generator kind, const std::function<void()>& askStandoff);

    // The reset buttons, each after its confirmation.
    bool ResetAllFixed();
    bool ResetAllVariable();
    bool ResetVariableRanges();

private:
    bool Confirm(const char* text);
    void Error(const std::string& text);
    // Checks 1 to 4 shared by the two range dialogs; true with a, b (or both empty).
    bool ReadRange(const std::string& from, const std::string& to, bool& empty, int& a, int& b);

    ParameterSet& params_;
    Rng& rng_;
    Dialogs& dialogs_;
    OutcomeTable matrix_{};
    VariableOutcomeTable ranges_{};
    int mode_ = NotRandomising;
};

} // namespace quorrel
