#pragma once

#include "tidy/ParameterListing.h"
#include "tidy/TextLines.h"

#include <string>
#include <vector>

namespace quorrel {

// A file of statistics on variable outcome (normal or genotype averages), of a single
// landscape or an array's totals, with the pair tables of generations 1, 101, 201, ..., or of
// each landscape of an array. Values are the files' text: per cent, one decimal.
struct OutcomeFile {
    struct SpeciesLine {
        int generation = 0;
        int row = 0; // 0 unless per landscape
        int column = 0;
        std::vector<std::string> values; // Win, Loss, Standoff of species 1, then 2, ...
    };
    struct PairLine {
        int generation = 0;
        int species = 0;
        int opponent = 0;
        std::string win, loss, standoff;
    };

    ParameterListing listing;
    bool genotype = false;
    bool perLandscape = false;
    std::vector<SpeciesLine> lines;
    std::vector<PairLine> pairs;
};

// Whether the lines after a parameter listing head a file of statistics on variable outcome.
bool IsOutcomeHeading(const TextLines& lines);

OutcomeFile ReadOutcomeFile(TextLines& lines, const ParameterListing& listing);

} // namespace quorrel
