// The parameter-listing reader of tidy: a listing is read with its sizes in range, or
// refused with a TidyError naming the file and line; nothing else escapes.

#include "FuzzSupport.h"

#include "tidy/ParameterListing.h"
#include "tidy/TidyError.h"

using namespace quorrel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        TextLines lines("input.dat", text);
        const ParameterListing p = ReadParameterListing(lines);
        FUZZ_CHECK(p.Maxspec >= 2 && p.Maxspec <= 40);
        FUZZ_CHECK(p.MaxX >= 10 && p.MaxX <= 700 && p.MaxY >= 10 && p.MaxY <= 700);
        FUZZ_CHECK(StartsWithParameterListing(text));
    } catch (const TidyError& e) {
        FUZZ_CHECK(std::string_view(e.what()).starts_with("input.dat line "));
    }
    return 0;
}
