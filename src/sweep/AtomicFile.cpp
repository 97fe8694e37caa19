#include "sweep/AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <fstream>

#include <unistd.h>

namespace quorrel {

std::string WriteFileAtomically(const std::filesystem::path& path, const std::string& text)
{
    std::filesystem::path temporary = path;
    temporary += ".tmp-" + std::to_string(getpid());
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << text;
        out.flush();
        if (!out) {
            const std::string reason = std::strerror(errno);
            std::error_code ec;
            std::filesystem::remove(temporary, ec);
            return "cannot write " + temporary.string() + ": " + reason;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temporary, path, ec);
    if (ec) {
        std::filesystem::remove(temporary, ec);
        return "cannot write " + path.string() + ": " + ec.message();
    }
    return {};
}

} // namespace quorrel
