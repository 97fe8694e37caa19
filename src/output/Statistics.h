#pragma once

#include "engine/LandscapeGrid.h"
#include "output/ColorMap.h"
#include "output/LandscapeTally.h"
#include "output/OutputOptions.h"
#include "output/StatisticsSink.h"
#include "params/ParameterSet.h"

#include <QImage>
#include <QPainter>

#include <array>
#include <cstdint>
#include <fstream>
#include <memory>

namespace quorrel {

// Coverage and growth-rate statistics of the current landscape: computed every generation,
// plotted in the statistics window and written to the coverage and growth-rate files.
//
// Statistic kinds: 1 coverage, 2 average growth rate, 3 average genotype of growth rates.
// A landscape array accumulates over its landscapes with kinds 4..6 (first landscape: reset
// and add), 7..9 (middle: add) and 10..12 (last: add and finish), for statistics 1, 2, 3.
// File kinds: 1 the coverage file, 2 both growth-rate files, 4 the coverage file of an array.
// PlotStatistic takes 4..6 for the array plots.
//
// File failures throw OutputFileError; the run driver shows it and the run ends.
class Statistics {
public:
    Statistics(const ParameterSet& params, const OptionStruct& options, const LandscapeGrid& landscape,
               const ColorMap& colors, StatisticsSink* sink = nullptr);

    void SetSink(StatisticsSink* sink) { sink_ = sink; }
    // The number of landscapes of an array, for the array coverage (kind 4 plot and file).
    void SetArrayLandscapes(int count) { arrayLandscapes_ = count; }

    void StartStatistic(int k);
    void ShowStatisticPlot(int k);
    void OpenStatisticFile(int f);
    void ComputeStatistic(int k);
    // ComputeStatistic of kinds firstKind, firstKind + 1 and firstKind + 2 (firstKind 1 for
    // a single landscape, 4, 7 or 10 for the first, a middle or the last landscape of an
    // array), those asked for, in one pass over the landscape; the same values as one pass
    // each. With a tally of the current landscape whose counts hold, the values are read from
    // it instead (the same values; the rates pass over the landscape when the tally's sums
    // do not hold or, added to the sums so far, cannot give the double sums exactly).
    void ComputeStatistics(bool coverage, bool rates, bool genotypes, int firstKind = 1,
                           const LandscapeTally* tally = nullptr);
    void PlotStatistic(int k);
    void WriteStatisticLine(int f, int g);
    void FinishStatisticPlot(int k);
    void CloseStatisticFile(int f);

    // The current values: cells per species, and the means of statistic 2 or 3.
    const SpeciesTable<int64_t>& Counts() const { return counts_; }
    const SpeciesTable<float>& Means(int statistic) const { return means_[statistic == 3 ? 1 : 0]; }
    // The double sums of the rates per species, added since the last reset of statistic 2.
    const SpeciesTable<double>& RateSums() const { return rateSum_; }
    // Species 1..Maxspec that hold at least one cell.
    int SpeciesLeft() const;
    // Plot k (1..3) as drawn so far; empty after FinishStatisticPlot.
    const QImage& Plot(int k) const { return plots_[k - 1].picture; }

private:
    struct PlotState {
        PlotState() = default;
        // The painter works on the picture in place: neither is copied nor moved.
        PlotState(const PlotState&) = delete;
        PlotState& operator=(const PlotState&) = delete;
        ~PlotState() { Close(); }
        // A new white picture with its painter; none.
        void Open(int width, int height);
        void Close();

        QImage picture;
        // Open from the picture's preparation to the end of its plot, so that the segments of
        // a generation do not each begin and end a painter.
        std::unique_ptr<QPainter> painter;
        double position = 0.0;
        int column = 0;
        SpeciesTable<int64_t> previousCounts{};
        SpeciesTable<float> previousMeans{};
    };

    void Accumulate(int k);
    void Reset(int statistic);
    void Add(int statistic);
    template <bool Coverage, bool Rates, bool Genotypes>
    void AddCells();
    void AddTally(const LandscapeTally& tally, bool coverage, bool rates, bool genotypes);
    bool AddRateUnits(const LandscapeTally& tally);
    void Finish(int statistic);
    void PreparePlot(int statistic);
    int Cells(bool array) const;
    void WriteCoverageLine(std::ofstream& file, const std::string& name, int g, const SpeciesTable<int64_t>& counts,
                           int cells);
    void WriteMeansLine(std::ofstream& file, const std::string& name, int g, const SpeciesTable<float>& means);

    const ParameterSet& params_;
    const OptionStruct& options_;
    const LandscapeGrid& landscape_;
    const ColorMap& colors_;
    StatisticsSink* sink_;
    int arrayLandscapes_ = 1;
    double step_ = 1.0;

    // Sums of the landscapes added since the last reset.
    SpeciesTable<int64_t> countSum_{};
    SpeciesTable<double> rateSum_{};
    SpeciesTable<int64_t> rateCount_{};
    SpeciesTable<std::array<bool, 101>> genotypePresent_{};

    // The current values: counts, and the means of statistics 2 and 3.
    SpeciesTable<int64_t> counts_{};
    std::array<SpeciesTable<float>, 2> means_{};

    std::array<PlotState, 3> plots_;

    std::ofstream coverFile_;
    std::string coverName_;
    bool coverIsArray_ = false;
    std::array<std::ofstream, 2> rateFiles_;
    std::array<std::string, 2> rateNames_;
};

} // namespace quorrel
