#include "sweep/FileDigest.h"

#include <sha2.h>

#include <cstdint>
#include <fstream>

namespace quorrel {

std::optional<std::string> FileSha256(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return std::nullopt;
    SHA2_CTX context;
    SHA256Init(&context);
    char buffer[1 << 16];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        SHA256Update(&context, reinterpret_cast<const uint8_t*>(buffer), static_cast<size_t>(in.gcount()));
        if (!in)
            break;
    }
    if (in.bad())
        return std::nullopt;
    uint8_t digest[SHA256_DIGEST_LENGTH];
    SHA256Final(digest, &context);
    static const char hex[] = "0123456789abcdef";
    std::string text;
    for (const uint8_t byte : digest) {
        text += hex[byte >> 4];
        text += hex[byte & 15];
    }
    return text;
}

} // namespace quorrel
