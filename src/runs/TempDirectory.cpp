#include "runs/TempDirectory.h"

#include <cstdlib>
#include <string>
#include <system_error>
#include <vector>

#include <stdlib.h> // mkdtemp

namespace quorrel {

namespace fs = std::filesystem;

std::optional<fs::path> MakeTempDirectory()
{
    const char* env = std::getenv("TMPDIR");
    const fs::path base = (env != nullptr && *env != '\0') ? fs::path(env) : fs::path("/tmp");
    std::string pattern = (base / "QRLXXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (mkdtemp(buffer.data()) == nullptr)
        return std::nullopt;
    return fs::path(buffer.data());
}

std::string TempDirectoryFailureMessage()
{
    return "Unable to establish the directory for temporary files.\r"
           "Try setting TMPDIR to a writable directory such as /tmp\r"
           "or check that there are no old Quorrel files there, eg /tmp/QRL*";
}

bool RemoveTempDirectory(const fs::path& dir)
{
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(dir, ec);
    if (ec || !fs::exists(status))
        return true;
    if (!fs::is_directory(status))
        return false;

    std::vector<fs::path> files;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path& entry = it->path();
        const bool hidden = entry.filename().string().starts_with(".");
        if (hidden || !it->is_regular_file(ec) || it->is_symlink(ec))
            return false;
        files.push_back(entry);
    }
    if (ec)
        return false;
    for (const fs::path& file : files)
        fs::remove(file, ec);
    fs::remove(dir, ec);
    return !fs::exists(fs::symlink_status(dir, ec));
}

} // namespace quorrel
