#pragma once

#include <filesystem>
#include <ostream>

namespace quorrel {

// Reads every DIR/run-NNNNN/run.json of a sweep folder and the data files of the runs that
// are done, and writes beside them, each atomically, the long CSV files runs.csv,
// coverage.csv, growth_rates.csv, outcomes.csv, landscapes.csv and montecarlo.csv (README,
// "Tidy data"). Returns 0 when all are written; 2 when dir is not a sweep folder or a file
// is refused (the message on err names the file and line; no tidy file is changed then);
// 1 when a tidy file cannot be written.
int TidyFolder(const std::filesystem::path& dir, std::ostream& err);

} // namespace quorrel
