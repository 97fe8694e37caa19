#pragma once

#include "engine/LandscapeGrid.h"
#include "output/ColorMap.h"
#include "output/OutputOptions.h"
#include "output/SpaceTimeSink.h"
#include "output/TimePlotKind.h"
#include "params/ParameterSet.h"

#include <QImage>

namespace quorrel {

// The space-time plot of a single-landscape run: one pixel row per sampled generation,
// holding the middle row (MaxY div 2) of the current landscape in the species colours, so
// that time runs down the picture. The picture is MaxX x H, H = Maxgen div STPlotCycle;
// lines at row H or below fall outside it.
//
// A run calls Plot(TimePlotKind::Start) after the initial landscape, Plot(Generation) in
// every generation that is a multiple of STPlotCycle, and Plot(End) after the last one,
// when ShowSTPlot or WriteSTP is set. The options are taken at Start for the whole run.
// End saves the picture under STPlotFilename when WriteSTP is set (a file that cannot be
// written throws OutputFileError) and releases it in any case.
class SpaceTimePlot {
public:
    SpaceTimePlot(const ParameterSet& params, const OptionStruct& options, const LandscapeGrid& landscape,
                  const ColorMap& colors, SpaceTimeSink* sink = nullptr);

    void SetSink(SpaceTimeSink* sink) { sink_ = sink; }

    // Kinds Start, Generation and End; any other is an assertion failure.
    void Plot(TimePlotKind kind);

    // The window when first shown, for a picture maxX wide and h high.
    static PlotWindowSize WindowSize(int maxX, int h);

    const QImage& Picture() const { return picture_; }
    int LineCounter() const { return line_; }

private:
    void DrawLine();

    const ParameterSet& params_;
    const OptionStruct& options_;
    const LandscapeGrid& landscape_;
    const ColorMap& colors_;
    SpaceTimeSink* sink_;

    QImage picture_;
    int line_ = 0;
    int maxX_ = 0;
    int height_ = 0;
    bool show_ = false;
    bool write_ = false;
    std::string fileName_;
};

} // namespace quorrel
