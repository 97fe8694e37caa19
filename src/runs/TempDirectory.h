#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace quorrel {

// The program's private folder for scratch files: "QRL" and a unique suffix inside the
// system's temporary folder ($TMPDIR, else /tmp).

// The folder made, or nothing when it could not be made.
std::optional<std::filesystem::path> MakeTempDirectory();

// The message shown when MakeTempDirectory fails.
std::string TempDirectoryFailureMessage();

// Deletes the files in the folder and the folder itself. A folder that is gone already
// counts as removed; one that holds a sub-directory, a hidden entry or anything but plain
// files is left as it is. False when the folder is still there.
bool RemoveTempDirectory(const std::filesystem::path& dir);

} // namespace quorrel
