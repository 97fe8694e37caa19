// Tidy's reader of Monte Carlo result files: runs numbered 1.., an end cover per species,
// extinctions of distinct species in range, or a TidyError naming the file and line.

#include "FuzzSupport.h"

#include "tidy/MonteCarloResult.h"
#include "tidy/TidyError.h"

using namespace quorrel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    try {
        TextLines lines("input.dat", std::string_view(reinterpret_cast<const char*>(data), size));
        const ParameterListing listing = ReadParameterListing(lines);
        const MonteCarloResult m = ReadMonteCarloResult(lines, listing);
        for (size_t r = 0; r < m.runs.size(); ++r) {
            FUZZ_CHECK(m.runs[r].number == static_cast<int>(r) + 1);
            FUZZ_CHECK(m.runs[r].endCover.size() == static_cast<size_t>(listing.Maxspec));
            FUZZ_CHECK(m.runs[r].extinctions.size() <= static_cast<size_t>(listing.Maxspec));
            for (const auto& [species, time] : m.runs[r].extinctions)
                FUZZ_CHECK(species >= 1 && species <= listing.Maxspec && !time.empty());
        }
    } catch (const TidyError& e) {
        FUZZ_CHECK(std::string_view(e.what()).starts_with("input.dat line "));
    }
    return 0;
}
