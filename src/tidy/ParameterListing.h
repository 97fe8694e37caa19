#pragma once

#include "tidy/TextLines.h"

#include <string>

namespace quorrel {

// What tidy needs of the parameter listing at the head of every data file: the number of
// species and the landscape's size. The listing's first line is the file's own path as it
// was written.
struct ParameterListing {
    std::string path;
    int Maxspec = 0;
    int MaxX = 0;
    int MaxY = 0;
    int Maxgen = 0;
};

// Whether text begins as a parameter listing does (a path line, a single blank, the Maxspec
// line): the mark of a data file, whatever its name.
bool StartsWithParameterListing(std::string_view text);

// Reads the listing line by line as the parameter-file writer lays it out (keyed lines,
// outcome matrix, growth rates, mortality, variable-outcome and recruitment vectors) and
// refuses anything else with the file's name and line.
ParameterListing ReadParameterListing(TextLines& lines);

// The "No." line and the Win, Loss and Standoff lines of rows 1..n-1 of an outcome matrix, as
// the listing (standoffBlank: each Standoff line ends in a blank) and the run logs write them.
void ReadOutcomeMatrixTable(TextLines& lines, int n, bool standoffBlank);

} // namespace quorrel
