#pragma once

#include "engine/Dialogs.h"
#include "engine/Rng.h"
#include "params/ParameterSet.h"

#include <string>

namespace quorrel {

// The growth-rate vector editor used when rates do not depend on the opponent: each
// species' rate, fixed or a variable range, stored directly into the parameter set.
class GRateVectorModel {
public:
    GRateVectorModel(ParameterSet& params, Rng& rng, Dialogs& dialogs);

    int Species() const { return params_.GParamRec.Maxspec; }
    // The rate, or "Low - High" for a variable species.
    std::string RowText(int s) const;
    std::string Label() const;

    // The entry dialog's boxes for species s: the fixed rate, or the range.
    struct Boxes {
        std::string fixed;
        std::string from;
        std::string to;
    };
    Boxes BoxesOf(int s) const;

    // Choosing a row stops randomisation.
    void SelectRow();
    // The entry dialog's OK for species s.
    bool Enter(int s, const Boxes& boxes);

    // The buttons, each after its confirmation.
    bool Random();
    bool Reset();

private:
    bool Confirm(const char* text);
    void Error(const char* text);

    ParameterSet& params_;
    Rng& rng_;
    Dialogs& dialogs_;
};

} // namespace quorrel
