#pragma once

#include "sweep/RunSeed.h"

#include <nlohmann/json.hpp>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quorrel {

inline constexpr const char* RunRecordName = "run.json";
inline constexpr const char* RunRecordFormat = "quorrel-run 1";

struct RunOutputFile {
    std::string File; // relative to the run's folder, '/' between folders
    uintmax_t Bytes = 0;
    std::string Sha256;

    bool operator==(const RunOutputFile&) const = default;
};

// The record a run's folder keeps of it (run.json).
struct RunRecord {
    std::string Version;
    std::string Commit;
    std::vector<std::string> Command;
    std::string Plan;
    std::string PlanSha256;
    long Run = 0;
    int Replicate = 1;
    int Seed = 0;
    std::string Mode;
    DesignPoint Varied;
    nlohmann::ordered_json Parameters = nlohmann::ordered_json::object();
    nlohmann::ordered_json Options = nlohmann::ordered_json::object();
    std::string Host;
    std::string Start;
    std::string End;
    double Seconds = 0.0;
    std::string Status;
    int ExitStatus = 0;
    std::string Messages;
    std::vector<RunOutputFile> Outputs;
};

// The record as UTF-8 JSON, its fields in the fixed order; bytes of the messages that are
// not UTF-8 become U+FFFD.
std::string RunRecordJson(const RunRecord& record);

// Every file of the folder but run.json, with its size and SHA-256, sorted by name.
std::vector<RunOutputFile> FolderOutputs(const std::filesystem::path& folder);

// What --resume needs of a record; empty when the file is missing or not a run record.
struct RecordedRun {
    long Run = 0;
    int Replicate = 0;
    int Seed = 0;
    std::string Status;
    int ExitStatus = 0;
    double Seconds = 0.0;
    DesignPoint Varied;
    std::vector<RunOutputFile> Outputs;
};
std::optional<RecordedRun> ReadRunRecord(const std::filesystem::path& file);

// A time as ISO 8601 in UTC, to the second ("2026-12-10T12:00:00Z").
std::string UtcTimeText(std::chrono::system_clock::time_point time);

} // namespace quorrel
