#pragma once

#include "tidy/ParameterListing.h"
#include "tidy/TextLines.h"

#include <string>
#include <vector>

namespace quorrel {

// A coverage file or one of the growth-rate files (normal or genotype means), of a single
// landscape, of a landscape array's totals, or of each landscape of an array (the files with
// the row and column of the landscape on every line). Values are the files' text: coverage in
// per cent of the cells, growth rates as 100 x the mean, one decimal.
struct StatisticsFile {
    enum class Kind { Coverage, GrowthNormal, GrowthGenotype };
    struct Line {
        int generation = 0;
        int row = 0; // 0 unless per landscape
        int column = 0;
        std::vector<std::string> values; // species 1..Maxspec
        std::string speciesLeft;         // coverage files only
    };

    ParameterListing listing;
    Kind kind = Kind::Coverage;
    bool perLandscape = false;
    std::vector<Line> lines;
};

// Whether the lines after a parameter listing head a coverage or growth-rate file.
bool IsStatisticsHeading(const TextLines& lines);

// Reads the heading and the data lines after the listing: one line per generation from 0 on
// (per landscape: the landscapes row by row within each generation) to the end of the file.
StatisticsFile ReadStatisticsFile(TextLines& lines, const ParameterListing& listing);

} // namespace quorrel
