#pragma once

#include "engine/Landscapes.h"
#include "params/ParameterSet.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace quorrel::test {

// The in-built defaults resized to a small landscape.
inline ParameterSet SmallParameters(int maxX, int maxY, int maxspec = 3)
{
    ParameterSet p;
    p.ResetToStartupTables();
    p.SetInbuiltDefaults();
    p.GParamRec.MaxX = maxX;
    p.GParamRec.MaxY = maxY;
    p.GParamRec.Maxspec = maxspec;
    for (int s = 1; s <= maxspec; ++s)
        p.GrowthRates[s] = GrowthRate{100, 0, 0};
    p.MirrorOutcomeMatrix();
    p.UpdateGRateFractions();
    return p;
}

// A fresh directory under the system's temporary folder, removed at the end of the test.
class TempDir {
public:
    TempDir()
    {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() / ("quorrel-engine-" + std::to_string(rd()));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() { std::filesystem::remove_all(path_); }
    std::string File(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

inline std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteAll(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

} // namespace quorrel::test
