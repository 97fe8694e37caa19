#pragma once

#include "params/ParameterSet.h"

#include <optional>
#include <string>
#include <string_view>

namespace quorrel {

// The texts of the general-parameters dialog's controls, one per field of GParamStruct.
// The list fields hold the item text ("Random", "Torus", "Closed", ...).
struct GeneralParameterTexts {
    std::string Maxspec, MaxX, MaxY, PIX, Maxgen, RandSeed, Init, Cover, CoverFile, Border, TotalCover,
        OverGRate, DisturbProb, PatchSize, PatchType, Influx, RecruitType, MutationGR, MutAmtGR, MutationOTC,
        MutAmtOTC;
    bool MeanField = false;

    // The text of the field with this key (the parameter file's key, e.g. "MaxX"); nullptr
    // for an unknown key or for MeanField, which is a check box.
    std::string* Field(std::string_view key);
};

// The controls as the dialog fills them from a record: integers in decimal, TotalCover with
// two decimals and the probabilities with eight, each without trailing zeros and without a
// decimal point left at the end (20.0 shows as 20); list fields show their item.
GeneralParameterTexts GeneralParameterTextsFrom(const GParamStruct& p);

// The dialog's OK: every field checked in dialog order. The new record, or the message of
// the first check that failed.
struct GeneralParameterCheckResult {
    std::optional<GParamStruct> Record;
    std::string Message;
};
GeneralParameterCheckResult CheckGeneralParameters(const GeneralParameterTexts& texts);

} // namespace quorrel
