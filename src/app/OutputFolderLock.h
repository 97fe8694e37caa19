#pragma once

#include <filesystem>
#include <string>

namespace quorrel {

// An exclusive lock on an output folder for the length of a batch run, so that two runs
// never write into one folder at the same time. The lock is the system's advisory lock on
// the folder itself (flock), released when the process ends however it ends; nothing is
// written into the folder.
class OutputFolderLock {
public:
    OutputFolderLock() = default;
    OutputFolderLock(const OutputFolderLock&) = delete;
    OutputFolderLock& operator=(const OutputFolderLock&) = delete;
    ~OutputFolderLock();

    // Takes the lock; on failure the reason, naming the folder and, when the system tells
    // it, the process that holds the lock. Empty on success.
    std::string Take(const std::filesystem::path& folder);

private:
    int fd_ = -1;
};

} // namespace quorrel
