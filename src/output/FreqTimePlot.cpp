#include "output/FreqTimePlot.h"

#include "output/FileNames.h"
#include "output/LandscapeBitmap.h"
#include "output/OutputFileError.h"
#include "params/AssertionFailure.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace quorrel {

FreqTimePlot::FreqTimePlot(const ParameterSet& params, const OptionStruct& options, const LandscapeGrid& landscape,
                           const ColorMap& colors, FreqTimeSink* sink)
    : params_(params), landscape_(landscape), options_(options), colors_(colors), sink_(sink)
{
}

PlotWindowSize FreqTimePlot::WindowSize(int h)
{
    if (h > 600)
        return {220, 600, 228, 627};
    return {204, h, 212, h + 27};
}

FreqTimePlot::Settings FreqTimePlot::ReadSettings(const OptionStruct& options) const
{
    return {options.ShowFTPlot, options.FTPSpecies, options.FTPlotCycle, options.WriteFTP, options.FTPlotFilename};
}

FreqTimePlot::Value FreqTimePlot::ValueOf(int x, int y) const
{
    // Tenths and whole percentages of the single-precision products, so that a rate
    // stored as 0.449999988 counts as 45 %.
    const float rate = landscape_(x, y).GRate;
    const int tenth = static_cast<int>(rate * 10.0f);
    const int percent = static_cast<int>(rate * 100.0f);
    return {std::clamp(tenth + 1, 1, Classes), std::clamp(percent, 0, 100)};
}

void FreqTimePlot::Create()
{
    settings_ = ReadSettings(options_);
    height_ = settings_.Cycle > 0 ? params_.GParamRec.Maxgen / settings_.Cycle : 0;
    individuals_ = QImage(PictureWidth, height_, QImage::Format_RGB32);
    values_ = QImage(PictureWidth, height_, QImage::Format_RGB32);
    individuals_.fill(Qt::white);
    values_.fill(Qt::white);
    if (height_ >= 20) {
        const int species = settings_.Species >= 0 && settings_.Species <= MaxSpecies ? settings_.Species : 0;
        for (int y = height_ - 10; y < height_; ++y)
            std::fill_n(reinterpret_cast<QRgb*>(individuals_.scanLine(y)), 10, colors_[species]);
    }
    line_ = 0;
}

void FreqTimePlot::ResetTallies()
{
    individualCount_.fill(0);
    individualTotal_ = 0;
    valuePresent_.reset();
}

void FreqTimePlot::Tally()
{
    const GParamStruct& p = params_.GParamRec;
    for (int y = 1; y <= p.MaxY; ++y) {
        const Cell* row = landscape_.Row(y);
        for (int x = 1; x <= p.MaxX; ++x) {
            if (row[x].Species != settings_.Species)
                continue;
            const Value v = ValueOf(x, y);
            ++individualCount_[v.Class];
            ++individualTotal_;
            valuePresent_.set(static_cast<size_t>(v.Percent));
        }
    }
}

// The class of a rate is that of its whole percentage for every rate in [0, 2), each
// checked in the tests.
void FreqTimePlot::Tally(const LandscapeTally& tally)
{
    const int s = settings_.Species;
    for (int percent = 0; percent < LandscapeTally::Percents; ++percent) {
        const int32_t cells = tally.AtPercent(s, percent);
        if (cells == 0)
            continue;
        individualCount_[std::min(percent / 10 + 1, Classes)] += cells;
        individualTotal_ += cells;
        valuePresent_.set(static_cast<size_t>(percent));
    }
}

void FreqTimePlot::DrawLine()
{
    if (line_ < height_) {
        std::array<int64_t, Classes + 1> valueCount{};
        for (int percent = 0; percent <= 100; ++percent)
            if (valuePresent_[percent])
                ++valueCount[std::min(percent / 10 + 1, Classes)];
        const int64_t valueTotal = static_cast<int64_t>(valuePresent_.count());
        auto paint = [&](QImage& picture, const std::array<int64_t, Classes + 1>& counts, int64_t total) {
            QRgb* pixels = reinterpret_cast<QRgb*>(picture.scanLine(line_));
            for (int k = 1; k <= Classes; ++k) {
                int share = 0;
                if (counts[k] > 0)
                    share = std::min(100, static_cast<int>(std::nearbyint(100.0 * counts[k] / total)));
                std::fill_n(pixels + 10 * (k - 1), 10, colors_[ColorMap::FirstGrey + share]);
            }
        };
        paint(individuals_, individualCount_, individualTotal_);
        paint(values_, valueCount, valueTotal);
    }
    ++line_;
    if (settings_.Show && sink_ != nullptr)
        sink_->RefreshFreqTimePlot(individuals_, values_, std::min(line_, height_) - 1);
}

void FreqTimePlot::SaveAndRelease()
{
    QImage individuals = std::exchange(individuals_, QImage());
    QImage values = std::exchange(values_, QImage());
    height_ = 0; // later lines have no picture to go to
    // Pictures without rows (Maxgen below the cycle) have nothing to save.
    if (!settings_.Write || individuals.isNull())
        return;
    const std::pair<const QImage*, const char*> pictures[] = {{&individuals, "1"}, {&values, "2"}};
    for (const auto& [picture, digit] : pictures) {
        const std::string name = InsertBeforeExtension(settings_.FileName, digit);
        std::string error;
        if (!SaveBitmap(*picture, name, error))
            throw OutputFileError(name, error);
    }
}

void FreqTimePlot::Plot(TimePlotKind kind, const LandscapeTally* tally)
{
    using K = TimePlotKind;
    if (kind == K::ArrayEnd) {
        SaveAndRelease();
        return;
    }
    const bool create = kind == K::Start || kind == K::FirstAtStart;
    const bool reset = create || kind == K::Generation || kind == K::End || kind == K::FirstInGeneration;
    const bool draw = kind == K::Start || kind == K::Generation || kind == K::End || kind == K::LastAtStart ||
                      kind == K::LastInGeneration;
    const bool show = kind == K::Start || kind == K::LastAtStart;
    if (create)
        Create();
    if (reset)
        ResetTallies();
    const int s = settings_.Species;
    if (tally != nullptr && tally->InRange() && ValuesAreGrowthRates() && s >= 0 && s <= MaxSpecies)
        Tally(*tally);
    else
        Tally();
    if (draw)
        DrawLine();
    if (show && settings_.Show && sink_ != nullptr)
        sink_->ShowFreqTimeWindow(WindowSize(height_));
    if (kind == K::End)
        SaveAndRelease();
}

} // namespace quorrel
