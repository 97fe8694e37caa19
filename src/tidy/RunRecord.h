#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorrel {

// What tidy takes from a run folder's run.json: the run's place in the design, its varied
// values (as text, in plan order) and how it ended.
struct TidyRunRecord {
    int run = 0;
    int replicate = 0;
    long long seed = 0;
    std::string mode;
    std::vector<std::pair<std::string, std::string>> varied;
    std::string status; // "done" or "failed"
    long long exitStatus = 0; // as the record holds it, however large
    std::string seconds; // the number as the record holds it
};

// Parses run.json text; refuses a record that is not JSON (naming the line and column), not
// of the format "quorrel-run 1", or lacks a field tidy needs. name is how messages name the file.
TidyRunRecord ReadRunRecord(std::string_view text, const std::string& name);

} // namespace quorrel
