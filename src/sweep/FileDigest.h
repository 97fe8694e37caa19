#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace quorrel {

// The SHA-256 of a file's bytes in lower-case hex; empty when it cannot be read.
std::optional<std::string> FileSha256(const std::filesystem::path& file);

} // namespace quorrel
