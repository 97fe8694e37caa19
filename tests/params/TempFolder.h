#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

namespace quorrel::test {

// A fresh, empty folder under the system's temporary folder, removed again at the end.
class TempFolder {
public:
    TempFolder()
    {
        std::random_device random;
        path_ = std::filesystem::temp_directory_path() / ("quorrel-params-" + std::to_string(random()));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

    void Write(const std::string& name, const std::string& content) const
    {
        std::ofstream(path_ / name, std::ios::binary) << content;
    }

    std::string Read(const std::string& name) const
    {
        std::ifstream in(path_ / name, std::ios::binary);
        std::ostringstream content;
        content << in.rdbuf();
        return content.str();
    }

private:
    std::filesystem::path path_;
};

} // namespace quorrel::test
