#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace quorrel {

// A design file: a header of keys, then one row of values per design point. Fields are
// separated by commas; a field in double quotes may hold commas and "" for a quote; spaces
// around a field are dropped; blank lines are skipped.
struct DesignCsvRow {
    std::vector<std::string> Values;
    int Line = 0;
};
struct DesignCsv {
    std::vector<std::string> Keys;
    std::vector<DesignCsvRow> Rows;
};
// Throws PlanError naming the file and the line.
DesignCsv ReadDesignCsv(const std::filesystem::path& file);

// One field as a CSV writer must put it: quoted when it holds a comma, a quote, a line
// break or spaces at an end.
std::string CsvField(const std::string& text);

} // namespace quorrel
