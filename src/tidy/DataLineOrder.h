#pragma once

#include "tidy/LineFields.h"
#include "tidy/TextLines.h"

namespace quorrel {

// The order of a data file's lines: generations from 0 on, one after the other; in the
// files of each landscape of an array, the landscapes of a generation row by row from (1, 1).
class DataLineOrder {
public:
    explicit DataLineOrder(bool perLandscape) : perLandscape_(perLandscape) {}

    // The start of a data line: the generation, then for each landscape of an array its row
    // and column.
    void ReadStart(LineFields& f, int& generation, int& row, int& column) const;

    // Refuses the line lines.Next returned last when it does not follow the one before.
    void Check(const TextLines& lines, int generation, int row, int column);

private:
    bool perLandscape_;
    bool first_ = true;
    int generation_ = 0, row_ = 0, column_ = 0;
};

} // namespace quorrel
