#pragma once

#include <filesystem>
#include <string>

namespace quorrel {

// Writes text to path through a temporary file beside it and a rename, so that a reader
// sees the old file or the new one, never a part. The reason when it fails, else empty.
std::string WriteFileAtomically(const std::filesystem::path& path, const std::string& text);

} // namespace quorrel
