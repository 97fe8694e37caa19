// Tidy's reader of coverage and growth-rate files: every line it returns holds one value per
// species, or the file is refused with a TidyError naming the file and line.

#include "FuzzSupport.h"

#include "tidy/StatisticsFile.h"
#include "tidy/TidyError.h"

using namespace quorrel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    try {
        TextLines lines("input.dat", std::string_view(reinterpret_cast<const char*>(data), size));
        const ParameterListing listing = ReadParameterListing(lines);
        const StatisticsFile s = ReadStatisticsFile(lines, listing);
        for (const StatisticsFile::Line& line : s.lines) {
            FUZZ_CHECK(line.values.size() == static_cast<size_t>(listing.Maxspec));
            FUZZ_CHECK(s.kind == StatisticsFile::Kind::Coverage ? !line.speciesLeft.empty() : line.speciesLeft.empty());
        }
        FUZZ_CHECK(lines.AtEnd());
    } catch (const TidyError& e) {
        FUZZ_CHECK(std::string_view(e.what()).starts_with("input.dat line "));
    }
    return 0;
}
