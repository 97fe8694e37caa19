#pragma once

#include "engine/LandscapeGrid.h"
#include "output/ColorMap.h"
#include "output/FreqTimeSink.h"
#include "output/LandscapeTally.h"
#include "output/OutputOptions.h"
#include "output/TimePlotKind.h"
#include "params/ParameterSet.h"

#include <QImage>

#include <array>
#include <bitset>
#include <cstdint>
#include <string>

namespace quorrel {

// The frequency-time plot of growth rates: for the chosen species (FTPSpecies), one pixel row
// per sampled generation in each of two 100 x H pictures (H = Maxgen div FTPlotCycle), ten
// classes of 10 pixels each, grey 41 + p of the colour map for a share of p %. The
// individuals picture weighs the classes by individuals, the values picture by the distinct
// whole percentages present. A landscape array sums one row over all its landscapes.
//
// A single-landscape run calls Plot(Start) after the initial landscape, Plot(Generation)
// in the generations that are multiples of the cycle and Plot(End) after the last one. An
// array calls FirstAtStart / OtherAtStart / LastAtStart for its landscapes at the start,
// FirstInGeneration / OtherInGeneration / LastInGeneration in sampled generations, and
// ArrayEnd at the end. The options are taken at the creating kind for the whole run. The
// end kinds save both pictures ("1" and "2" inserted before the file name's extension) when
// the Write option is set (failure: OutputFileError) and release them in any case.
//
// FreqTimeOutcomePlot is the same plot for the mean win percentage of the genotypes.
class FreqTimePlot {
public:
    static constexpr int Classes = 10;
    static constexpr int PictureWidth = 100;

    FreqTimePlot(const ParameterSet& params, const OptionStruct& options, const LandscapeGrid& landscape,
                 const ColorMap& colors, FreqTimeSink* sink = nullptr);
    virtual ~FreqTimePlot() = default;
    FreqTimePlot(const FreqTimePlot&) = delete;
    FreqTimePlot& operator=(const FreqTimePlot&) = delete;

    void SetSink(FreqTimeSink* sink) { sink_ = sink; }

    // With a tally of the current landscape, the plot of growth rates reads its counts from
    // it instead of passing over the landscape (the same counts).
    void Plot(TimePlotKind kind, const LandscapeTally* tally = nullptr);

    // The window when first shown, for pictures h high.
    static PlotWindowSize WindowSize(int h);

    const QImage& Individuals() const { return individuals_; }
    const QImage& Values() const { return values_; }
    int LineCounter() const { return line_; }
    // The tallies, classes 1..10 (slot 0 unused).
    const std::array<int64_t, Classes + 1>& IndividualCount() const { return individualCount_; }
    int64_t IndividualTotal() const { return individualTotal_; }
    const std::bitset<101>& ValuePresent() const { return valuePresent_; }

protected:
    // The options that drive this plot.
    struct Settings {
        bool Show = false;
        int Species = 1;
        int Cycle = 1;
        bool Write = false;
        std::string FileName;
    };
    // The class 1..10 and the whole percentage 0..100 of an individual.
    struct Value {
        int Class = 1;
        int Percent = 0;
    };

    virtual Settings ReadSettings(const OptionStruct& options) const;
    // The individual at (x, y) of the current landscape, of the chosen species.
    virtual Value ValueOf(int x, int y) const;
    // Whether ValueOf is the growth rate's, which a LandscapeTally holds.
    virtual bool ValuesAreGrowthRates() const { return true; }

    const ParameterSet& params_;
    const LandscapeGrid& landscape_;

private:
    void Create();
    void ResetTallies();
    void Tally();
    void Tally(const LandscapeTally& tally);
    void DrawLine();
    void SaveAndRelease();

    const OptionStruct& options_;
    const ColorMap& colors_;
    FreqTimeSink* sink_;

    Settings settings_;
    QImage individuals_;
    QImage values_;
    int height_ = 0;
    int line_ = 0;
    std::array<int64_t, Classes + 1> individualCount_{};
    int64_t individualTotal_ = 0;
    std::bitset<101> valuePresent_;
};

} // namespace quorrel
