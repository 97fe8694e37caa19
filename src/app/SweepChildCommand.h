#pragma once

#include "sweep/RunSeed.h"
#include "sweep/SweepPlan.h"

#include <filesystem>
#include <string>
#include <vector>

namespace quorrel {

// One run of a sweep: its number, replicate, design point, seed and folder.
struct SweepRun {
    long Run = 0;          // 1-based
    size_t PointIndex = 0; // 0-based index of the design point
    int Replicate = 1;     // 1-based
    DesignPoint Point;
    int Seed = 0;
    std::filesystem::path Folder;
};

// Run number run (1-based) of the plan, its folder within the sweep's folder.
SweepRun SweepRunOf(const SweepPlan& plan, long run, const std::filesystem::path& sweepFolder);

// The command line of a run, argv[0] included ("quorrel-batch"): --quiet, the mode, the
// start folder, the parameter and options files, --set for each [set] entry and each varied
// general parameter and for RandSeed, the plan's and the varied options of the run (file
// names within the run's folder), and --output-dir with the run's folder.
std::vector<std::string> SweepChildCommand(const SweepPlan& plan, const SweepRun& run,
                                           const std::filesystem::path& outputDir);

} // namespace quorrel
