#include "tidy/DataLineOrder.h"

#include <string>

namespace quorrel {

void DataLineOrder::ReadStart(LineFields& f, int& generation, int& row, int& column) const
{
    generation = IntValue(f.Int(6, "the generation"));
    f.Literal("  ");
    if (perLandscape_) {
        row = IntValue(f.Int(4, "the landscape's row"));
        column = IntValue(f.Int(4, "the landscape's column"));
    }
}

void DataLineOrder::Check(const TextLines& lines, int generation, int row, int column)
{
    const int nextGeneration = first_ ? 0 : generation_ + 1;
    bool follows = false;
    if (!perLandscape_)
        follows = generation == nextGeneration;
    else if (row < 1 || column < 1)
        follows = false;
    else if (!first_ && generation == generation_)
        follows = row > row_ || (row == row_ && column > column_);
    else
        follows = generation == nextGeneration && row == 1 && column == 1;
    if (!follows) {
        std::string what = "generation " + std::to_string(generation);
        if (perLandscape_)
            what += ", row " + std::to_string(row) + ", column " + std::to_string(column);
        lines.FailAt(lines.Number() - 1, what + " does not follow the line before");
    }
    first_ = false;
    generation_ = generation;
    row_ = row;
    column_ = column;
}

} // namespace quorrel
