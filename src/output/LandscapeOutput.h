#pragma once

#include "engine/Dialogs.h"
#include "engine/LandscapeGrid.h"
#include "output/ColorMap.h"
#include "output/LandscapeSink.h"
#include "output/OutputOptions.h"
#include "params/ParameterSet.h"

#include <QImage>

#include <array>
#include <string>

namespace quorrel {

// Shows the current landscape and writes the landscape files the output options ask for,
// at generation 0 and after every generation of a run. File failures are shown through the
// dialogs and the run goes on.
class LandscapeOutput {
public:
    LandscapeOutput(const ParameterSet& params, const OptionStruct& options, const LandscapeGrid& landscape,
                    const ColorMap& colors, Dialogs& dialogs, LandscapeSink* sink = nullptr);

    // The display that shows the landscape; none (the batch runner) writes files only.
    void SetSink(LandscapeSink* sink) { sink_ = sink; }

    // Generation g (0 at the start, then 1..Maxgen) with display cycle d.
    void OutputLandscape(int g, int d);
    // Shows the current landscape if the display declined a picture since it was last shown.
    void ShowPending();

private:
    void WriteText(int g, bool interval, bool final);
    void WriteBitmap(const QImage& bitmap, int g, bool interval, bool final);
    bool AppendBlock(const std::string& fileName, int g);
    void ReportFailure(const std::string& fileName, const std::string& reason);

    const ParameterSet& params_;
    const OptionStruct& options_;
    const LandscapeGrid& landscape_;
    const ColorMap& colors_;
    Dialogs& dialogs_;
    LandscapeSink* sink_;
    // Two pictures drawn in turn: the display keeps the one it shows while the next is drawn,
    // and neither is allocated again.
    std::array<QImage, 2> pictures_;
    int nextPicture_ = 0;
    bool pending_ = false;
};

} // namespace quorrel
