// Tidy's reader of the files of statistics on variable outcome: three values per species on
// every line, Maxspec squared pairs per pair table, or a TidyError naming the file and line.

#include "FuzzSupport.h"

#include "tidy/OutcomeFile.h"
#include "tidy/TidyError.h"

using namespace quorrel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    try {
        TextLines lines("input.dat", std::string_view(reinterpret_cast<const char*>(data), size));
        const ParameterListing listing = ReadParameterListing(lines);
        const OutcomeFile o = ReadOutcomeFile(lines, listing);
        const size_t n = static_cast<size_t>(listing.Maxspec);
        for (const OutcomeFile::SpeciesLine& line : o.lines)
            FUZZ_CHECK(line.values.size() == 3 * n);
        FUZZ_CHECK(o.pairs.size() % (n * n) == 0);
        FUZZ_CHECK(!o.perLandscape || o.pairs.empty());
    } catch (const TidyError& e) {
        FUZZ_CHECK(std::string_view(e.what()).starts_with("input.dat line "));
    }
    return 0;
}
