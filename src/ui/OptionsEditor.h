#pragma once

#include "engine/Dialogs.h"
#include "output/OutputOptions.h"
#include "params/ParameterSet.h"

#include <string>

namespace quorrel {

// The number boxes of the output options that take effect while editing.
enum class OptionNumber {
    DisplayCycle,
    STPlotCycle,
    FTPlotCycle,
    FTPOTCCycle,
    FTPSpecies,
    FTPOTCSpecies,
    WriteIntEvery,
    WriteIntFrom,
    WriteIntUntil,
    GenSWEvery,
    GenSWFrom,
    GenSWUntil,
    DeltaSideSW,
    GCSpecies,
    GCSpeciesA,
};

// The rules of the "Output Options" dialog on its working copy, without any window: every
// edit goes into the working copy at once; a refused edit shows its information message and
// puts back the live value (or the field's fallback when the live value is out of range).
class OptionsEditor {
public:
    OptionsEditor(const OptionStruct& live, const ParameterSet& params, Dialogs& dialogs);

    OptionStruct Working;

    // Working := the live options, as the dialog opens.
    void Reset() { Working = live_; }
    // Working := the defaults ("&Default").
    void Default() { Working = SetDefaultOptions(params_.StartDir); }

    // The text typed into a number box has been entered.
    void Edit(OptionNumber field, const std::string& text);

    // The text that a number box shows for the working copy (the end of the run as a blank).
    std::string Text(OptionNumber field) const;

    // The warnings of OK about settings that give no output; true when the working copy is
    // to be committed (no warning, or every warning answered OK).
    bool ConfirmOk();

private:
    void EditGCSpecies(const std::string& text);
    void EditGCSpeciesA(const std::string& text);
    bool IsVariablePair(int species, int against) const;
    std::string NotVariable(int species, int against, const char* consequence) const;

    const OptionStruct& live_;
    const ParameterSet& params_;
    Dialogs& dialogs_;
};

} // namespace quorrel
