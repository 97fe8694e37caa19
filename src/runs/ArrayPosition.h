#pragma once

#include "output/GrowthCompetitiveGraph.h"
#include "output/TimePlotKind.h"

namespace quorrel {

// Where a landscape stands in the pass over an array: the first (1, 1) resets the array's
// totals, the last (NumOfRow, NumOfCol) completes them, the others only add.
enum class ArrayPosition { First, Middle, Last };

inline ArrayPosition PositionOf(int r, int c, int rows, int cols)
{
    if (r == 1 && c == 1)
        return ArrayPosition::First;
    if (r == rows && c == cols)
        return ArrayPosition::Last;
    return ArrayPosition::Middle;
}

// The array kind of statistic k (1 coverage, 2 growth rate, 3 genotype of growth rates).
inline int ArrayStatisticKind(int k, ArrayPosition position)
{
    return k + (position == ArrayPosition::First ? 3 : position == ArrayPosition::Middle ? 6 : 9);
}

// The part of the outcome statistics: 1 first, 2 middle, 3 last landscape.
inline int OutcomePart(ArrayPosition position)
{
    return position == ArrayPosition::First ? 1 : position == ArrayPosition::Middle ? 2 : 3;
}

inline TimePlotKind TimePlotKindAtStart(ArrayPosition position)
{
    return position == ArrayPosition::First    ? TimePlotKind::FirstAtStart
           : position == ArrayPosition::Middle ? TimePlotKind::OtherAtStart
                                               : TimePlotKind::LastAtStart;
}

inline TimePlotKind TimePlotKindInGeneration(ArrayPosition position)
{
    return position == ArrayPosition::First    ? TimePlotKind::FirstInGeneration
           : position == ArrayPosition::Middle ? TimePlotKind::OtherInGeneration
                                               : TimePlotKind::LastInGeneration;
}

inline GCKind GraphKind(ArrayPosition position)
{
    return position == ArrayPosition::First    ? GCKind::First
           : position == ArrayPosition::Middle ? GCKind::Middle
                                               : GCKind::Last;
}

} // namespace quorrel
