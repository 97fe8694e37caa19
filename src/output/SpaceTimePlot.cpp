#include "output/SpaceTimePlot.h"

#include "output/LandscapeBitmap.h"
#include "output/OutputFileError.h"
#include "params/AssertionFailure.h"

#include <algorithm>
#include <utility>

namespace quorrel {

SpaceTimePlot::SpaceTimePlot(const ParameterSet& params, const OptionStruct& options, const LandscapeGrid& landscape,
                             const ColorMap& colors, SpaceTimeSink* sink)
    : params_(params), options_(options), landscape_(landscape), colors_(colors), sink_(sink)
{
}

PlotWindowSize SpaceTimePlot::WindowSize(int maxX, int h)
{
    // A picture taller than the screen allows gets a vertical scroll bar.
    if (h >= 601)
        return {maxX + 16, 600, maxX + 24, 627};
    return {maxX, h, maxX + 8, h + 27};
}

void SpaceTimePlot::DrawLine()
{
    if (line_ < height_) {
        const Cell* row = landscape_.Row(params_.GParamRec.MaxY / 2);
        QRgb* pixels = reinterpret_cast<QRgb*>(picture_.scanLine(line_));
        for (int x = 1; x <= maxX_; ++x) {
            const int species = row[x].Species;
            if (species < 0 || species > MaxSpecies)
                QRL_FAIL("SpaceTimePlot: bad species", "Landscape");
            pixels[x - 1] = colors_[species];
        }
    }
    ++line_;
    if (show_ && sink_ != nullptr)
        sink_->RefreshSpaceTimePlot(picture_, std::min(line_, height_) - 1);
}

void SpaceTimePlot::Plot(TimePlotKind kind)
{
    switch (kind) {
    case TimePlotKind::Start: {
        const GParamStruct& p = params_.GParamRec;
        show_ = options_.ShowSTPlot;
        write_ = options_.WriteSTP;
        fileName_ = options_.STPlotFilename;
        maxX_ = p.MaxX;
        height_ = options_.STPlotCycle > 0 ? p.Maxgen / options_.STPlotCycle : 0;
        picture_ = QImage(maxX_, height_, QImage::Format_RGB32);
        picture_.fill(Qt::white);
        line_ = 0;
        DrawLine();
        if (show_ && sink_ != nullptr)
            sink_->ShowSpaceTimeWindow(WindowSize(maxX_, height_));
        break;
    }
    case TimePlotKind::Generation:
        DrawLine();
        break;
    case TimePlotKind::End: {
        DrawLine();
        QImage picture = std::exchange(picture_, QImage());
        height_ = 0; // later lines have no picture to go to
        std::string error;
        // A picture without rows (Maxgen below the cycle) has nothing to save.
        if (write_ && !picture.isNull() && !SaveBitmap(picture, fileName_, error))
            throw OutputFileError(fileName_, error);
        break;
    }
    default:
        QRL_FAIL("SpaceTimePlot: bad kind", "Landscape");
    }
}

} // namespace quorrel
