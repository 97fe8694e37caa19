#include "sweep/RunManifest.h"

#include "sweep/AtomicFile.h"
#include "sweep/DesignCsv.h"

#include <cstdio>

namespace quorrel {

const char* RunStatusText(RunStatus status)
{
    switch (status) {
    case RunStatus::Pending:
        return "pending";
    case RunStatus::Running:
        return "running";
    case RunStatus::Done:
        return "done";
    case RunStatus::Failed:
        return "failed";
    }
    return "pending";
}

std::string RunFolderName(long run)
{
    char name[32];
    std::snprintf(name, sizeof name, "run-%05ld", run);
    return name;
}

std::string RunManifest::Text() const
{
    std::string text = "run,replicate,seed";
    for (const std::string& key : keys_)
        text += "," + CsvField(key);
    text += ",status,exit_status,seconds,folder\n";
    for (const Row& row : rows_) {
        text += std::to_string(row.Run) + "," + std::to_string(row.Replicate) + "," + std::to_string(row.Seed);
        for (const std::string& value : row.Values)
            text += "," + CsvField(value);
        text += std::string(",") + RunStatusText(row.Status) + ",";
        if (row.ExitStatus)
            text += std::to_string(*row.ExitStatus);
        text += ",";
        if (row.Seconds) {
            char seconds[32];
            std::snprintf(seconds, sizeof seconds, "%.3f", *row.Seconds);
            text += seconds;
        }
        text += "," + RunFolderName(row.Run) + "\n";
    }
    return text;
}

std::string RunManifest::Write(const std::filesystem::path& file) const
{
    return WriteFileAtomically(file, Text());
}

} // namespace quorrel
