#pragma once

namespace quorrel {

// When a time plot is called. Single-landscape runs use Start (before generation 1),
// Generation (sampled generations) and End (after the last generation). A landscape array
// passes its landscapes one by one with their position: first (1, 1), other, last
// (NumOfRow, NumOfCol), at the start and in sampled generations, and ArrayEnd once after
// the last generation. The space-time plot takes Start, Generation and End only.
enum class TimePlotKind {
    Start,
    Generation,
    End,
    FirstAtStart,
    OtherAtStart,
    LastAtStart,
    FirstInGeneration,
    OtherInGeneration,
    LastInGeneration,
    ArrayEnd,
};

// The size a plot window takes when it is first shown: its client area and the whole window.
struct PlotWindowSize {
    int ClientWidth = 0;
    int ClientHeight = 0;
    int WindowWidth = 0;
    int WindowHeight = 0;

    bool operator==(const PlotWindowSize&) const = default;
};

} // namespace quorrel
