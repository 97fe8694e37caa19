#include "output/Statistics.h"

#include "output/FileNames.h"
#include "output/OutputFileError.h"
#include "output/TextFormat.h"
#include "params/AssertionFailure.h"

#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <system_error>

namespace quorrel {

namespace {

constexpr int PlotWidth = 400;
constexpr int PlotHeight = 200;

// 1..3 for the statistic of kind k (1..12).
int StatisticOf(int k, const char* operation)
{
    if (k < 1 || k > 12)
        QRL_FAIL(std::string(operation) + ": bad statistic kind", "Landscape");
    return (k - 1) % 3 + 1;
}

} // namespace

Statistics::Statistics(const ParameterSet& params, const OptionStruct& options, const LandscapeGrid& landscape,
                       const ColorMap& colors, StatisticsSink* sink)
    : params_(params), options_(options), landscape_(landscape), colors_(colors), sink_(sink)
{
}

int Statistics::SpeciesLeft() const
{
    int left = 0;
    for (int s = 1; s <= params_.GParamRec.Maxspec; ++s)
        left += counts_[s] > 0 ? 1 : 0;
    return left;
}

int Statistics::Cells(bool array) const
{
    return params_.GParamRec.MaxX * params_.GParamRec.MaxY * (array ? arrayLandscapes_ : 1);
}

// Resets (single and first landscape), adds the landscape, and finishes (single and last).
void Statistics::Accumulate(int k)
{
    const int statistic = StatisticOf(k, "ComputeStatistic");
    const bool reset = k <= 6;
    const bool finish = k <= 3 || k >= 10;
    if (reset)
        Reset(statistic);
    Add(statistic);
    if (finish)
        Finish(statistic);
}

void Statistics::Reset(int statistic)
{
    if (statistic == 1) {
        countSum_.fill(0);
    } else if (statistic == 2) {
        rateSum_.fill(0.0);
        rateCount_.fill(0);
    } else {
        for (auto& flags : genotypePresent_)
            flags.fill(false);
    }
}

void Statistics::ComputeStatistics(bool coverage, bool rates, bool genotypes, int firstKind,
                                   const LandscapeTally* tally)
{
    if (firstKind != 1 && firstKind != 4 && firstKind != 7 && firstKind != 10)
        QRL_FAIL("ComputeStatistic: bad statistic kind", "Landscape");
    const bool wanted[] = {false, coverage, rates, genotypes}; // by statistic 1..3
    const bool reset = firstKind <= 4;
    const bool finish = firstKind == 1 || firstKind == 10;
    for (int statistic = 1; statistic <= 3 && reset; ++statistic)
        if (wanted[statistic])
            Reset(statistic);
    const int which = (coverage ? 1 : 0) | (rates ? 2 : 0) | (genotypes ? 4 : 0);
    if (which == 0)
        return;
    if (tally != nullptr && tally->InRange()) {
        AddTally(*tally, coverage, rates, genotypes);
    } else {
        switch (which) {
        case 1: AddCells<true, false, false>(); break;
        case 2: AddCells<false, true, false>(); break;
        case 3: AddCells<true, true, false>(); break;
        case 4: AddCells<false, false, true>(); break;
        case 5: AddCells<true, false, true>(); break;
        case 6: AddCells<false, true, true>(); break;
        default: AddCells<true, true, true>(); break;
        }
    }
    for (int statistic = 1; statistic <= 3 && finish; ++statistic)
        if (wanted[statistic])
            Finish(statistic);
}

// One pass adding every cell to the statistics asked for; each sum is taken in the order of
// the cells, row by row, as a pass of its own takes it.
template <bool Coverage, bool Rates, bool Genotypes>
void Statistics::AddCells()
{
    const GParamStruct& p = params_.GParamRec;
    for (int y = 1; y <= p.MaxY; ++y) {
        const Cell* row = landscape_.Row(y);
        for (int x = 1; x <= p.MaxX; ++x) {
            const Cell& cell = row[x];
            const int s = cell.Species;
            if (s < 1 || s > MaxSpecies)
                continue;
            if constexpr (Coverage)
                ++countSum_[s];
            if constexpr (Rates) {
                rateSum_[s] += cell.GRate;
                ++rateCount_[s];
            }
            if constexpr (Genotypes) {
                // The whole percentage of the single-precision product.
                const int v = static_cast<int>(cell.GRate * 100.0f);
                genotypePresent_[s][std::clamp(v, 0, 100)] = true;
            }
        }
    }
}

void Statistics::AddTally(const LandscapeTally& tally, bool coverage, bool rates, bool genotypes)
{
    for (int s = 1; s <= MaxSpecies; ++s) {
        if (coverage)
            countSum_[s] += tally.Cells(s);
        if (genotypes)
            for (int v = 0; v < LandscapeTally::Percents; ++v)
                if (tally.AtPercent(s, v) > 0)
                    genotypePresent_[s][v] = true;
    }
    if (rates && !(tally.Exact() && AddRateUnits(tally)))
        AddCells<false, true, false>();
}

// The tally's rate sums added to the double sums, when that gives every sum as the cells
// added one by one give it: in a unit (a power of two) of which each sum so far and every rate
// of the landscape are whole multiples, each sum so far stays below 2^53 units with the
// landscape's, so that no partial sum rounds. The unit is the tally's, or finer where a sum so
// far needs it, but not below RateUnit. False, and nothing added, otherwise.
bool Statistics::AddRateUnits(const LandscapeTally& tally)
{
    constexpr int64_t Bound = int64_t(1) << 53;
    SpeciesTable<int64_t> units{};
    SpeciesTable<double> unitOf{};
    for (int s = 1; s <= MaxSpecies; ++s) {
        double unit = tally.Unit();
        double sofar = rateSum_[s] / unit; // powers of two: exact
        while (sofar >= 0.0 && sofar < static_cast<double>(Bound) && sofar != std::floor(sofar) &&
               unit > LandscapeTally::RateUnit) {
            unit /= 2.0;
            sofar = rateSum_[s] / unit;
        }
        if (!(sofar >= 0.0 && sofar < static_cast<double>(Bound)) || sofar != std::floor(sofar))
            return false;
        // The tally's sum in RateUnit is a whole multiple of the unit: every rate is.
        const int64_t perUnit = static_cast<int64_t>(unit / LandscapeTally::RateUnit);
        units[s] = static_cast<int64_t>(sofar) + tally.RateUnits(s) / perUnit;
        unitOf[s] = unit;
        if (units[s] >= Bound)
            return false;
    }
    for (int s = 1; s <= MaxSpecies; ++s) {
        rateSum_[s] = static_cast<double>(units[s]) * unitOf[s];
        rateCount_[s] += tally.Cells(s);
    }
    return true;
}

void Statistics::Add(int statistic)
{
    if (statistic == 1)
        AddCells<true, false, false>();
    else if (statistic == 2)
        AddCells<false, true, false>();
    else
        AddCells<false, false, true>();
}

void Statistics::Finish(int statistic)
{
    const int n = params_.GParamRec.Maxspec;
    if (statistic == 1) {
        counts_ = countSum_;
        return;
    }
    SpeciesTable<float>& means = means_[statistic - 2];
    means.fill(0.0f);
    for (int s = 1; s <= n; ++s) {
        if (statistic == 2) {
            if (rateCount_[s] > 0)
                means[s] = static_cast<float>(rateSum_[s] / static_cast<double>(rateCount_[s]));
        } else {
            double sum = 0.0;
            int count = 0;
            for (int v = 0; v <= 100; ++v)
                if (genotypePresent_[s][v]) {
                    sum += v / 100.0;
                    ++count;
                }
            if (count > 0)
                means[s] = static_cast<float>(sum / count);
        }
    }
}

void Statistics::StartStatistic(int k)
{
    Accumulate(k);
    if (k > 3 && k < 10)
        return;
    const int statistic = StatisticOf(k, "StartStatistic");
    PlotState& plot = plots_[statistic - 1];
    if (statistic == 1)
        plot.previousCounts = counts_;
    else
        plot.previousMeans = means_[statistic - 2];
}

void Statistics::ComputeStatistic(int k) { Accumulate(k); }

void Statistics::PlotState::Open(int width, int height)
{
    Close();
    picture = QImage(width, height, QImage::Format_RGB32);
    picture.fill(Qt::white);
    painter = std::make_unique<QPainter>(&picture);
}

void Statistics::PlotState::Close()
{
    painter.reset();
    picture = QImage();
}

void Statistics::PreparePlot(int statistic)
{
    PlotState& plot = plots_[statistic - 1];
    plot.Open(PlotWidth, PlotHeight);
    plot.painter->setPen(QPen(Qt::black, 1, Qt::DashLine));
    for (int row : {49, 99, 149})
        plot.painter->drawLine(0, row, PlotWidth - 1, row);
    plot.position = 0.0;
    plot.column = 0;
    const int maxgen = params_.GParamRec.Maxgen;
    step_ = maxgen < PlotWidth ? static_cast<double>(PlotWidth) / maxgen : 1.0;
}

void Statistics::ShowStatisticPlot(int k)
{
    if (k < 1 || k > 3)
        QRL_FAIL("ShowStatisticPlot: bad statistic kind", "Landscape");
    PreparePlot(k);
    if (sink_ != nullptr)
        sink_->ShowStatisticPlot(k, plots_[k - 1].picture, params_.GParamRec.Maxgen);
}

void Statistics::PlotStatistic(int k)
{
    if (k < 1 || k > 6)
        QRL_FAIL("PlotStatistic: bad statistic kind", "Landscape");
    const int statistic = StatisticOf(k, "PlotStatistic");
    PlotState& plot = plots_[statistic - 1];
    const bool prepared = plot.picture.isNull();
    if (prepared)
        PreparePlot(statistic);

    plot.position += step_;
    const int x = static_cast<int>(plot.position);
    const int cells = Cells(k == 4);
    auto y = [&](int s, const SpeciesTable<int64_t>& counts, const SpeciesTable<float>& means) {
        if (statistic == 1)
            return static_cast<int>(199 - (counts[s] * 199) / cells);
        return 199 - static_cast<int>(199.0 * means[s]);
    };
    const SpeciesTable<float>& means = statistic == 1 ? means_[0] : means_[statistic - 2];
    int top = PlotHeight;
    int bottom = -1;
    for (int s = 1; s <= params_.GParamRec.Maxspec; ++s) {
        const int from = y(s, plot.previousCounts, plot.previousMeans);
        const int to = y(s, counts_, means);
        plot.painter->setPen(QPen(QColor(colors_[s]), 1, Qt::SolidLine));
        plot.painter->drawLine(plot.column, from, x, to);
        top = std::min({top, from, to});
        bottom = std::max({bottom, from, to});
    }
    // The segments lie within the box of their ends (a pixel more on every side, to be safe),
    // so that a window compares and repaints only that.
    const QPoint topLeft(std::min(plot.column, x) - 1, top - 1);
    const QPoint bottomRight(std::max(plot.column, x) + 1, bottom + 1);
    const QRect drawn = QRect(topLeft, bottomRight) & plot.picture.rect();
    plot.column = x;
    plot.previousCounts = counts_;
    plot.previousMeans = means;
    if (sink_ != nullptr && prepared)
        sink_->RefreshStatisticPlot(statistic, plot.picture);
    else if (sink_ != nullptr)
        sink_->RefreshStatisticArea(statistic, plot.picture, drawn);
}

void Statistics::FinishStatisticPlot(int k)
{
    if (k < 1 || k > 3)
        QRL_FAIL("FinishStatisticPlot: bad statistic kind", "Landscape");
    PlotState& plot = plots_[k - 1];
    if (sink_ != nullptr && !plot.picture.isNull())
        sink_->RefreshStatisticPlot(k, plot.picture);
    plot.Close();
}

void Statistics::OpenStatisticFile(int f)
{
    const int n = params_.GParamRec.Maxspec;
    auto open = [&](std::ofstream& file, const std::string& name, const char* title, const std::string& headingEnd,
                    const std::string& ruleEnd) {
        CreateDataFile(file, name, params_);
        file << " \r\n===>\r\n \r\n" << title << "\r\nGen No.";
        for (int s = 1; s <= n; ++s)
            file << Format("%6d", s);
        file << headingEnd << "\r\n------- ";
        for (int s = 1; s <= n; ++s)
            file << " -----";
        file << ruleEnd << "\r\n";
        CheckWritten(file, name);
    };
    if (f == 1 || f == 4) {
        coverName_ = options_.CoverFilename;
        coverIsArray_ = f == 4;
        open(coverFile_, coverName_, "          Coverage of Species (%)", "   sp left", "  -------");
        // Generation 0 from the values the plot starts with.
        WriteCoverageLine(coverFile_, coverName_, 0, plots_[0].previousCounts, Cells(coverIsArray_));
    } else if (f == 2) {
        const char* titles[] = {"          Average Growth Rate of Species (Normal)",
                                "          Average Growth Rate of Species (Genotype)"};
        for (int i = 0; i < 2; ++i) {
            rateNames_[i] = InsertBeforeExtension(options_.GRateFilename, i == 0 ? "1" : "2");
            open(rateFiles_[i], rateNames_[i], titles[i], " ", " ");
            WriteMeansLine(rateFiles_[i], rateNames_[i], 0, plots_[i + 1].previousMeans);
        }
    } else {
        QRL_FAIL("OpenStatisticFile: bad file kind", "Landscape");
    }
}

void Statistics::WriteCoverageLine(std::ofstream& file, const std::string& name, int g,
                                   const SpeciesTable<int64_t>& counts, int cells)
{
    std::string line = Format("%6d", g) + "  ";
    int left = 0;
    for (int s = 1; s <= params_.GParamRec.Maxspec; ++s) {
        line += Format("%6.1f", 100.0 * static_cast<double>(counts[s]) / cells);
        left += counts[s] > 0 ? 1 : 0;
    }
    line += Format("%7d", left) + "\r\n";
    file << line;
    CheckWritten(file, name);
}

void Statistics::WriteMeansLine(std::ofstream& file, const std::string& name, int g, const SpeciesTable<float>& means)
{
    std::string line = Format("%6d", g) + "  ";
    for (int s = 1; s <= params_.GParamRec.Maxspec; ++s)
        line += Format("%6.1f", 100.0 * static_cast<double>(means[s]));
    line += " \r\n";
    file << line;
    CheckWritten(file, name);
}

void Statistics::WriteStatisticLine(int f, int g)
{
    if (f == 1 || f == 4) {
        WriteCoverageLine(coverFile_, coverName_, g, counts_, Cells(f == 4));
    } else if (f == 2) {
        for (int i = 0; i < 2; ++i)
            WriteMeansLine(rateFiles_[i], rateNames_[i], g, means_[i]);
    } else {
        QRL_FAIL("WriteStatisticLine: bad file kind", "Landscape");
    }
}

void Statistics::CloseStatisticFile(int f)
{
    auto close = [](std::ofstream& file, const std::string& name) {
        if (!file.is_open())
            return;
        errno = 0;
        file.close();
        CheckWritten(file, name);
    };
    if (f == 1 || f == 4) {
        close(coverFile_, coverName_);
    } else if (f == 2) {
        close(rateFiles_[0], rateNames_[0]);
        close(rateFiles_[1], rateNames_[1]);
    } else {
        QRL_FAIL("CloseStatisticFile: bad file kind", "Landscape");
    }
}

} // namespace quorrel
