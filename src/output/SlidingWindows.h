#pragma once

#include "engine/Dialogs.h"
#include "engine/LandscapeGrid.h"
#include "output/OutputOptions.h"
#include "params/ParameterSet.h"

#include <array>
#include <cstdint>
#include <fstream>
#include <string>

namespace quorrel {

// The spatial histogram of sliding windows: for each selected species (element 0: empty
// cells) the number of its cells in square boxes of growing side anchored at the top-left
// corner, and in the whole landscape, written to one text file per species.
class SlidingWindows {
public:
    static constexpr int Elements = MaxSpecies + 1;

    SlidingWindows(const ParameterSet& params, const OptionStruct& options, const LandscapeGrid& landscape,
                   Dialogs& dialogs);

    // g = 0: start of a run (files created, headers written); 1..Maxgen: the counts of
    // generation g when it is sampled; -1: end of the run (files closed). File failures are
    // shown through the dialogs and end the call; the run goes on.
    void SpatialHistogram(int g);

    // The file name of element s.
    std::string FileName(int s) const;

private:
    void Start();
    void Sample(int g);
    void End();
    void Write(int s, const std::string& text);
    bool Selected(int s) const;

    const ParameterSet& params_;
    const OptionStruct& options_;
    const LandscapeGrid& landscape_;
    Dialogs& dialogs_;
    std::array<std::ofstream, Elements> files_;
    std::array<std::string, Elements> names_;
    std::array<int64_t, Elements> BoxCount{};
};

} // namespace quorrel
