#pragma once

#include "sweep/SweepDesign.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace quorrel {

// A plan value as the run is given it, and where it is written.
struct PlanEntry {
    std::string Key;
    std::string Value;
    int Line = 0;
};

// What a plan file asks for. Paths are absolute; option keys are the long option names of
// a run ("rows" for --rows).
struct SweepPlan {
    std::filesystem::path File;
    std::string Mode = "single-fixed";
    std::filesystem::path Dir;     // the runs' start directory: the plan's folder unless "dir" says
    std::filesystem::path Params;  // empty: none
    std::filesystem::path Options; // empty: Options.dat of Dir, else the defaults
    int Replicates = 1;
    uint64_t Seed = 1;
    std::vector<PlanEntry> RunOptions; // options given to every run, in plan order
    bool GRateRandom = false;
    std::vector<PlanEntry> Sets;       // [set]: general parameters for every run, in plan order
    SweepDesign Design;

    size_t Runs() const { return Design.Points() * static_cast<size_t>(Replicates); }
};

// Whether key is an option of a run that a plan may give at its top or vary, and whether
// its value names a file written into the run's folder.
bool IsPlanRunOption(const std::string& key);
bool IsRunFolderFileOption(const std::string& key);
// Whether key is a general parameter a plan may set or vary (every --set key but RandSeed).
bool IsPlanParameter(const std::string& key);

} // namespace quorrel
