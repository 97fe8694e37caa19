// Tidy's reader of run.json: a record with its run and replicate from 1 and a known status,
// or a TidyError naming the file.

#include "FuzzSupport.h"

#include "tidy/RunRecord.h"
#include "tidy/TidyError.h"

using namespace quorrel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    try {
        const TidyRunRecord r = ReadRunRecord(std::string_view(reinterpret_cast<const char*>(data), size), "run.json");
        FUZZ_CHECK(r.run >= 1 && r.replicate >= 1 && r.exitStatus >= 0);
        FUZZ_CHECK(r.status == "done" || r.status == "failed");
    } catch (const TidyError& e) {
        FUZZ_CHECK(std::string_view(e.what()).starts_with("run.json"));
    }
    return 0;
}
