// The landscape text reader (the cover file of Cover = File): a file is refused with one
// message, or read into a landscape that holds only species 1..Maxspec and empty cells.

#include "FuzzSupport.h"
#include "ScriptedDialogs.h"

#include "engine/LandscapeText.h"

#include <memory>

using namespace quorrel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string file = fuzz::InputFile(data, size, "cover.txt");
    ParameterSet p = ParameterSet::InbuiltDefaults("/start");
    p.GParamRec.MaxX = 12;
    p.GParamRec.MaxY = 10;
    p.GrowthRates[2] = GrowthRate{-1, 20, 60};
    p.UpdateGRateFractions();
    auto grid = std::make_unique<LandscapeGrid>();
    Rng rng;
    test::ScriptedDialogs dialogs;
    const bool read = ReadTXTLandscape(file, p, p.GRateFractions, *grid, rng, dialogs);
    FUZZ_CHECK(dialogs.messages.size() == (read ? 0u : 1u));
    for (int y = 1; y <= p.GParamRec.MaxY; ++y)
        for (int x = 1; x <= p.GParamRec.MaxX; ++x) {
            const Cell& c = (*grid)(x, y);
            FUZZ_CHECK(c.Species >= 0 && c.Species <= p.GParamRec.Maxspec);
            if (read)
                FUZZ_CHECK(c.GRate >= 0.0f && c.GRate <= 1.0f && (c.Species != 0 || c.GRate == 0.0f));
        }
    return 0;
}
