// The options-file reader: a file is used, and then writes back as it was read, or it is
// refused with a warning and the defaults in full.

#include "FuzzSupport.h"
#include "ScriptedDialogs.h"

#include "output/OptionsFile.h"

using namespace quorrel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string file = fuzz::InputFile(data, size, "input.dat");
    const std::filesystem::path start = std::filesystem::path(file).parent_path();
    const OptionStruct defaults = SetDefaultOptions(start);
    OptionStruct options = defaults;
    options.DisplayCycle = 77; // a value the defaults do not hold: a refusal must reset it
    test::ScriptedDialogs dialogs;
    if (!ReadOptionsFileAt(options, file, start, dialogs)) {
        FUZZ_CHECK(options == defaults);
        FUZZ_CHECK(!dialogs.messages.empty());
        return 0;
    }
    FUZZ_CHECK(options.FTPSpecies >= 0 && options.FTPSpecies <= 40);
    FUZZ_CHECK(options.GCSpecies >= 0 && options.GCSpecies <= 40);
    FUZZ_CHECK(options.FTPOTCSpecies >= 0 && options.FTPOTCSpecies <= 40);

    // Written to the start folder and read back: the same options.
    FUZZ_CHECK(WriteOptionsFile(options, start, dialogs));
    OptionStruct again = defaults;
    FUZZ_CHECK(ReadOptionsFile(again, start, dialogs));
    FUZZ_CHECK(again == options);
    return 0;
}
