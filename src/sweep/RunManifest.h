#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quorrel {

// The state of a run in the manifest.
enum class RunStatus { Pending, Running, Done, Failed };
const char* RunStatusText(RunStatus status);

// The folder of run number run within the sweep's folder: run-00017 (five digits, more
// when needed).
std::string RunFolderName(long run);

// The manifest of a sweep (runs.csv, or runs.task-<I>.csv for a share of a cluster task):
// one row per run, columns run, replicate, seed, one per varied key in plan order, status,
// exit_status, seconds and folder. Each row holds only its own few numbers and texts.
class RunManifest {
public:
    struct Row {
        long Run = 0;
        int Replicate = 1;
        int Seed = 0;
        std::vector<std::string> Values; // the varied keys' values, in plan order
        RunStatus Status = RunStatus::Pending;
        std::optional<int> ExitStatus;   // empty until the run ends
        std::optional<double> Seconds;
    };

    explicit RunManifest(std::vector<std::string> variedKeys) : keys_(std::move(variedKeys)) {}

    void Add(Row row) { rows_.push_back(std::move(row)); }
    std::vector<Row>& Rows() { return rows_; }
    const std::vector<Row>& Rows() const { return rows_; }

    std::string Text() const;
    // Rewritten whole, atomically; the reason when it fails, else empty.
    std::string Write(const std::filesystem::path& file) const;

private:
    std::vector<std::string> keys_;
    std::vector<Row> rows_;
};

} // namespace quorrel
