#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

namespace quorrel {

// A plan that cannot be run: "FILE, line N: key "K": reason" (line and key when known).
class PlanError : public std::runtime_error {
public:
    PlanError(const std::filesystem::path& file, int line, const std::string& key, const std::string& reason)
        : std::runtime_error(Text(file, line, key, reason))
    {
    }

private:
    static std::string Text(const std::filesystem::path& file, int line, const std::string& key,
                            const std::string& reason)
    {
        std::string text = file.string();
        if (line > 0)
            text += ", line " + std::to_string(line);
        if (!key.empty())
            text += ": key \"" + key + "\"";
        return text + ": " + reason;
    }
};

} // namespace quorrel
