#pragma once

#include "engine/Landscapes.h"
#include "params/ParameterSet.h"

#include "TempFolder.h"

namespace quorrel::test {

// The in-built defaults resized to a small landscape.
inline ParameterSet SmallParameters(int maxX, int maxY, int maxspec = 3)
{
    ParameterSet p;
    p.ResetToStartupTables();
    p.SetInbuiltDefaults();
    p.GParamRec.MaxX = maxX;
    p.GParamRec.MaxY = maxY;
    p.GParamRec.Maxspec = maxspec;
    for (int s = 1; s <= maxspec; ++s)
        p.GrowthRates[s] = GrowthRate{100, 0, 0};
    p.MirrorOutcomeMatrix();
    p.UpdateGRateFractions();
    return p;
}

} // namespace quorrel::test
