#pragma once

#include "tidy/ParameterListing.h"
#include "tidy/TextLines.h"

#include <string>
#include <utility>
#include <vector>

namespace quorrel {

// The summary of a Monte Carlo result file, per run of the series: the extinctions in their
// order (species and generation) and the end cover of every species (per cent of the cells,
// one decimal, as the file holds them). A file without a summary (a series that was stopped)
// has no runs.
struct MonteCarloResult {
    struct Run {
        int number = 0;
        std::vector<std::pair<int, std::string>> extinctions; // species, generation; in order
        std::vector<std::string> endCover;                     // species 1..Maxspec
    };

    ParameterListing listing;
    std::vector<Run> runs;
};

// Whether the lines after a parameter listing are those of a Monte Carlo result file.
bool IsMonteCarloHeading(const TextLines& lines);

// Reads the per-run logs of randomised outcomes and growth rates (checked, not kept) and the
// summary, and refuses a summary whose tables disagree with one another.
MonteCarloResult ReadMonteCarloResult(TextLines& lines, const ParameterListing& listing);

} // namespace quorrel
