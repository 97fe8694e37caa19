#include "output/OutputOptions.h"

namespace quorrel {

std::string InStartDir(const std::filesystem::path& startDir, const std::string& name)
{
    return (startDir / name).string();
}

OptionStruct SetDefaultOptions(const std::filesystem::path& startDir)
{
    OptionStruct o;
    o.CAFilename = InStartDir(startDir, "CALand.bmp");
    o.CoverFilename = InStartDir(startDir, "Cover.dat");
    o.GRateFilename = InStartDir(startDir, "GRate.dat");
    o.STPlotFilename = InStartDir(startDir, "STPlot.bmp");
    o.FTPlotFilename = InStartDir(startDir, "FTPlot.bmp");
    o.OTCFilename = InStartDir(startDir, "Outcome.dat");
    o.GCFilename = InStartDir(startDir, "GCData.dat");
    o.FTPOTCFilename = InStartDir(startDir, "FTPOTC.bmp");
    // An empty base name: the sliding-window files become 00.txt, 01.txt, ... in startDir.
    o.SWFilename = InStartDir(startDir, ".txt");
    return o;
}

} // namespace quorrel
