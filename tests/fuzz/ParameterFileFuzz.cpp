// The parameter-file reader: a file is refused with the set untouched, or read into a set
// that the dialogs and editors would accept and that is read back from what the writer
// writes as the same listing.

#include "FuzzSupport.h"

#include "params/ParameterFile.h"
#include "params/ParameterRules.h"

#include <sstream>
#include <string_view>

using namespace quorrel;

namespace {

bool TablesAllowed(const ParameterSet& p)
{
    const int n = p.GParamRec.Maxspec;
    for (int i = 1; i <= n; ++i) {
        for (int j = i + 1; j <= n; ++j)
            if (!rules::Outcome(p.OutcomeMatrix[i][j]))
                return false;
        const VariableOutcomeRange& v = p.VariableOutcomeVector[i];
        if (!rules::GrowthRateEntry(p.GrowthRates[i]) || !rules::Probability(p.MortalityVector[i]) ||
            !rules::Probability(p.RecruitmentVector[i]) || !rules::OutcomeRange(v.WinLow, v.WinHigh) ||
            !rules::OutcomeRange(v.LossLow, v.LossHigh))
            return false;
    }
    return rules::MortalSize(static_cast<int64_t>(p.MortalityVector[0]));
}

// A file that is read holds at least one key: anything else is no parameter file.
bool HoldsAKey(std::string_view text)
{
    for (const char* key : {"Maxspec", "MaxX", "MaxY", "PIX", "Maxgen", "RandSeed", "Init", "Cover", "Border",
                            "TotalCover", "OverGRate", "DisturbProb", "PatchSize", "PatchType", "Influx",
                            "RecruitType", "MutationGR", "MutAmtGR", "MutationOTC", "MutAmtOTC", "MeanField",
                            "Outcome Matrix :", "Growth Rates", "Mortality Vector", "Variable Outcome V",
                            "Recruitment Vector"})
        if (text.find(key) != std::string_view::npos)
            return true;
    return false;
}

std::string Listing(const ParameterSet& p)
{
    std::ostringstream out;
    WriteParameterListing(out, p, "fuzz.prm");
    return out.str();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string file = fuzz::InputFile(data, size, "input.prm");
    const ParameterSet before = ParameterSet::InbuiltDefaults("/start");
    ParameterSet p = before;
    try {
        ReadParameterFile(p, file);
    } catch (const ParameterFileError& refused) {
        FUZZ_CHECK(Listing(p) == Listing(before) && p.GParamRec == before.GParamRec);
        FUZZ_CHECK(std::string(refused.what()).find(file) != std::string::npos);
        return 0;
    }
    FUZZ_CHECK(HoldsAKey(std::string_view(reinterpret_cast<const char*>(data), size)));
    FUZZ_CHECK(!FirstGeneralParameterFault(p.GParamRec));
    FUZZ_CHECK(TablesAllowed(p));

    // What was read is written, read back and written again unchanged (the file keeps
    // TotalCover to two decimals, so the first writing may round it).
    p.MirrorOutcomeMatrix();
    p.UpdateGRateFractions();
    const std::string written = (fuzz::FuzzFolder() / "written.prm").string();
    WriteParameterFile(p, written);
    ParameterSet again = before;
    try {
        ReadParameterFile(again, written);
    } catch (const ParameterFileError&) {
        FUZZ_CHECK(!"a file the program wrote was refused");
    }
    again.MirrorOutcomeMatrix();
    again.UpdateGRateFractions();
    FUZZ_CHECK(Listing(again) == Listing(p));
    return 0;
}
