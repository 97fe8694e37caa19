#pragma once

#include "output/OutputOptions.h"

namespace quorrel {

// Which controls of the "Output Options" dialog are enabled for a working copy: an output's
// cycle and species boxes while it is shown or written, a file name while it is written.
struct OptionEnabling {
    bool DisplayCycle, FinalLandscapeTypes, MultipleLandscapes, CAFilename, CoverFilename, GRateFilename,
        STPlotCycle, STPlotFilename, FTPlot, FTPlotFilename, OTCFilename, GCGraph, GCFilename, FTPOTC,
        FTPOTCFilename, SlidingWindows;

    static OptionEnabling Of(const OptionStruct& o)
    {
        return {
            .DisplayCycle = o.ShowCALandscape,
            .FinalLandscapeTypes = o.WriteLandscape,
            .MultipleLandscapes = o.WriteIntScape,
            .CAFilename = o.WriteLandscape || o.WriteIntScape,
            .CoverFilename = o.WriteCoverage,
            .GRateFilename = o.WriteGRate,
            .STPlotCycle = o.ShowSTPlot || o.WriteSTP,
            .STPlotFilename = o.WriteSTP,
            .FTPlot = o.ShowFTPlot || o.WriteFTP,
            .FTPlotFilename = o.WriteFTP,
            .OTCFilename = o.WriteOTC,
            .GCGraph = o.ShowGCGraph || o.WriteGCGraph,
            .GCFilename = o.WriteGCGraph,
            .FTPOTC = o.ShowFTPOTC || o.WriteFTPOTC,
            .FTPOTCFilename = o.WriteFTPOTC,
            .SlidingWindows = o.WriteSW,
        };
    }
};

} // namespace quorrel
