#pragma once

#include "output/OutputOptions.h"
#include "runs/AppState.h"

#include "TempFolder.h"

#include <filesystem>
#include <memory>
#include <string>

namespace quorrel::test {

// The last line of a text file with CR LF line ends.
inline std::string LastLine(const std::string& text)
{
    std::string t = text;
    while (!t.empty() && (t.back() == '\n' || t.back() == '\r'))
        t.pop_back();
    const size_t start = t.rfind('\n');
    return start == std::string::npos ? t : t.substr(start + 1);
}

// The generation number that begins the last line of a data file; -1 when there is none.
inline int LastGeneration(const std::string& path)
{
    const std::string line = LastLine(ReadAll(path));
    try {
        return std::stoi(line);
    } catch (const std::exception&) {
        return -1;
    }
}

// Application state for a small, quick run in folder: the in-built defaults on a
// 12 x 10 landscape, the default options with every file in folder and nothing written.
inline std::unique_ptr<AppState> SmallApp(const std::filesystem::path& folder, int maxgen)
{
    auto app = std::make_unique<AppState>();
    ParameterSet& p = app->Params;
    p.StartDir = folder;
    p.ResetToStartupTables();
    p.SetInbuiltDefaults();
    p.GParamRec.MaxX = 12;
    p.GParamRec.MaxY = 10;
    p.GParamRec.Maxgen = maxgen;
    p.MirrorOutcomeMatrix();
    p.UpdateGRateFractions();
    app->Options = SetDefaultOptions(folder);
    app->ReloadSeed();
    return app;
}

} // namespace quorrel::test
