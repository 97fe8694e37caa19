#pragma once

#include <bitset>
#include <cstdint>
#include <filesystem>
#include <string>

namespace quorrel {

// The until-generation value that means "to the end of the run".
inline constexpr int32_t UntilEndOfRun = 65536;

// Landscape file types: 1 text, 2 bitmap, 3 both.
inline bool IncludesText(int32_t types) { return types % 2 != 0; }
inline bool IncludesBitmap(int32_t types) { return types >= 2; }

// Which outputs a run shows and writes, under which names and how often.
// Fields in the order of the record; file names are full paths.
struct OptionStruct {
    bool ShowCALandscape = true;
    int32_t DisplayCycle = 1;
    bool WriteLandscape = false;
    int32_t WriteLandTypes = 1;
    std::string CAFilename;
    bool WriteIntScape = false;
    int32_t WriteIntTypes = 1;
    int32_t WriteIntEvery = 1;
    int32_t WriteIntFrom = 1;
    int32_t WriteIntUntil = UntilEndOfRun;
    bool WriteConsolid = true;
    bool ShowCoverage = true;
    bool WriteCoverage = false;
    std::string CoverFilename;
    bool ShowGRate1 = true;
    bool ShowGRate2 = true;
    bool WriteGRate = false;
    std::string GRateFilename;
    bool ShowSTPlot = true;
    int32_t STPlotCycle = 1;
    bool WriteSTP = false;
    std::string STPlotFilename;
    bool ShowFTPlot = true;
    int8_t FTPSpecies = 1;
    int32_t FTPlotCycle = 1;
    bool WriteFTP = false;
    std::string FTPlotFilename;
    bool ShowOTC = true;
    bool WriteOTC = false;
    std::string OTCFilename;
    bool ShowGCGraph = true;
    int8_t GCSpecies = 1;
    int8_t GCSpeciesA = 0;
    bool WriteGCGraph = false;
    std::string GCFilename;
    bool ShowFTPOTC = true;
    int8_t FTPOTCSpecies = 1;
    int32_t FTPOTCCycle = 1;
    bool WriteFTPOTC = false;
    std::string FTPOTCFilename;
    bool WriteSW = false;
    int32_t GenSWEvery = 1;
    int32_t GenSWFrom = 1;
    int32_t GenSWUntil = UntilEndOfRun;
    int32_t DeltaSideSW = 5;
    std::string SWFilename;
    // Element 0 stands for empty cells, element s for species s.
    std::bitset<41> SWSpeciesMask = DefaultSpeciesMask();

    static std::bitset<41> DefaultSpeciesMask() { return std::bitset<41>().set().reset(0); }

    bool operator==(const OptionStruct&) const = default;
};

// The defaults, with every file name in startDir.
OptionStruct SetDefaultOptions(const std::filesystem::path& startDir);

// startDir + "/" + name as text, the form in which option file names are kept.
std::string InStartDir(const std::filesystem::path& startDir, const std::string& name);

} // namespace quorrel
