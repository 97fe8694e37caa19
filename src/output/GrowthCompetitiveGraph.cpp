#include "output/GrowthCompetitiveGraph.h"

#include "output/OutputFileError.h"
#include "output/TextFormat.h"
#include "params/AssertionFailure.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <system_error>

namespace quorrel {

namespace {

constexpr const char* Module = "StatOutcome";
const QRgb Silver = qRgb(192, 192, 192);
const QRgb White = qRgb(255, 255, 255);

void FillRect(QImage& picture, int left, int top, int width, int height, QRgb color)
{
    for (int y = top; y < top + height; ++y)
        std::fill_n(reinterpret_cast<QRgb*>(picture.scanLine(y)) + left, width, color);
}

} // namespace

GrowthCompetitiveGraph::GrowthCompetitiveGraph(const ParameterSet& params, const OptionStruct& options,
                                               const LandscapeGrid& landscape, const GenotypeGrid& genotypes,
                                               const ColorMap& colors, GrowthCompetitiveSink* sink,
                                               GrowthCompetitiveSink* sinkA)
    : params_(params), options_(options), landscape_(landscape), genotypes_(genotypes), colors_(colors), sink_(sink),
      sinkA_(sinkA)
{
}

uint16_t GrowthCompetitiveGraph::DensityStep(int maxX, int maxY, int maxspec)
{
    const double step = std::nearbyint(static_cast<double>(maxX) * maxY / (400.0 * maxspec));
    return static_cast<uint16_t>(std::clamp(step, 0.0, 65535.0));
}

std::vector<int> GrowthCompetitiveGraph::OpponentsA() const
{
    std::vector<int> opponents;
    for (const Panel& panel : graphA_.panels)
        opponents.push_back(panel.opponent);
    return opponents;
}

void GrowthCompetitiveGraph::ZeroCounts(Graph& graph)
{
    for (Panel& panel : graph.panels)
        panel.counts = CountGrid{};
}

void GrowthCompetitiveGraph::Prepare(Graph& graph, bool graphA)
{
    const GParamStruct& p = params_.GParamRec;
    species_ = options_.GCSpecies;
    if (species_ < 1 || species_ > p.Maxspec)
        QRL_FAIL("GCGraph: bad species", Module);
    step_ = DensityStep(p.MaxX, p.MaxY, p.Maxspec);

    graph.panels.clear();
    int width = PanelWidth;
    if (!graphA) {
        graph.panels.push_back(Panel{});
    } else if (options_.GCSpeciesA != 0) {
        graph.panels.push_back(Panel{options_.GCSpeciesA, 0, {}});
    } else {
        for (int j = 1; j <= p.Maxspec; ++j)
            if (j != species_ && params_.OutcomeMatrix[species_][j].Win < 0) {
                const int left = PanelStride * static_cast<int>(graph.panels.size());
                graph.panels.push_back(Panel{j, left, {}});
            }
        width += std::max(0, (static_cast<int>(graph.panels.size()) - 1) * PanelStride);
    }

    // Upper panels white until generation 0 is drawn; silver band and gaps between panels.
    graph.picture = QImage(width, Height, QImage::Format_RGB32);
    graph.picture.fill(White);
    FillRect(graph.picture, 0, PanelWidth, width, LowerPanelTop - PanelWidth, Silver);
    for (size_t k = 1; k < graph.panels.size(); ++k)
        FillRect(graph.picture, graph.panels[k].left - (PanelStride - PanelWidth), 0, PanelStride - PanelWidth,
                 Height, Silver);
    if (graphA)
        for (const Panel& panel : graph.panels) {
            const int legend = panel.opponent >= 0 && panel.opponent <= MaxSpecies ? panel.opponent : 0;
            FillRect(graph.picture, panel.left, 192, 10, 10, colors_[legend]);
        }
}

int GrowthCompetitiveGraph::Competitive(int x, int y, int opponent) const
{
    const OutcomeTriple* genotype = genotypes_.Genotype(x, y);
    if (opponent != 0)
        return std::clamp(static_cast<int>(genotype[opponent - 1].Win), 0, 100); // unset (-1) counts as 0
    float sum = 0.0f;
    int count = 0;
    for (int j = 1; j <= params_.GParamRec.Maxspec; ++j)
        if (j != species_ && params_.OutcomeMatrix[species_][j].Win < 0) {
            sum += genotype[j - 1].Win;
            ++count;
        }
    if (count == 0)
        return 0;
    return std::clamp(static_cast<int>(std::nearbyint(sum / static_cast<float>(count))), 0, 100);
}

void GrowthCompetitiveGraph::Count(Panel& panel) const
{
    const GParamStruct& p = params_.GParamRec;
    if (!genotypes_.Allocated() || genotypes_.MaxX() < p.MaxX || genotypes_.MaxY() < p.MaxY ||
        genotypes_.Maxspec() != p.Maxspec)
        QRL_FAIL("The genotype grid does not fit the landscape", Module);
    if (panel.opponent < 0 || panel.opponent > p.Maxspec)
        QRL_FAIL("GCGraphA: bad species", Module);
    for (int y = 1; y <= p.MaxY; ++y) {
        const Cell* row = landscape_.Row(y);
        for (int x = 1; x <= p.MaxX; ++x) {
            if (row[x].Species != species_)
                continue;
            // The whole percentage of the single-precision product, as the other statistics take it.
            const int rate = std::clamp(static_cast<int>(std::nearbyint(row[x].GRate * 100.0f)), 0, 100);
            ++panel.counts[rate][Competitive(x, y, panel.opponent)];
        }
    }
}

void GrowthCompetitiveGraph::Draw(QImage& picture, const Panel& panel, int g) const
{
    const int top = g == 0 ? 0 : LowerPanelTop;
    if (g != 0)
        FillRect(picture, panel.left, top, PanelWidth, Height - LowerPanelTop, White);
    const QRgb color = colors_[species_];
    const int64_t t = step_;
    for (int rate = 0; rate <= 100; ++rate)
        for (int c = 0; c <= 100; ++c) {
            const int64_t n = panel.counts[rate][c];
            if (n <= 0)
                continue;
            const int x = panel.left + 2 * rate;
            const int upper = top + 200 - 2 * c;
            const int lower = upper + 1;
            picture.setPixel(x, lower, color);
            if (n > t)
                picture.setPixel(x + 1, upper, color);
            if (n > 2 * t)
                picture.setPixel(x + 1, lower, color);
            if (n > 3 * t)
                picture.setPixel(x, upper, color);
        }
}

void GrowthCompetitiveGraph::WriteBlock(int g)
{
    std::string block = "Gen = " + Format("%6d", g) + "\r\n";
    const CountGrid& counts = first_.panels.front().counts;
    for (int rate = 0; rate <= 100; ++rate)
        for (int c = 0; c <= 100; ++c)
            if (counts[rate][c] != 0)
                block += Format("%5d", rate) + Format("%14d", c) + Format("%21d", counts[rate][c]) + "\r\n";
    errno = 0;
    file_ << block;
    file_.flush();
    CheckWritten(file_, fileName_);
}

void GrowthCompetitiveGraph::GCGraph(int g, GCKind kind)
{
    if (g < 0) {
        first_ = Graph{};
        if (file_.is_open()) {
            errno = 0;
            file_.close();
            CheckWritten(file_, fileName_);
        }
        return;
    }
    const bool draws = kind == GCKind::Single || kind == GCKind::Last;
    if (kind == GCKind::Single || kind == GCKind::First) {
        if (g == 0)
            Prepare(first_, false);
        ZeroCounts(first_);
    }
    if (first_.panels.empty())
        QRL_FAIL("GCGraph: the graph has not been started", Module);
    Count(first_.panels.front());
    if (!draws)
        return;
    Draw(first_.picture, first_.panels.front(), g);
    if (options_.ShowGCGraph && sink_ != nullptr) {
        if (g == 0)
            sink_->ShowGraph(first_.picture);
        else
            sink_->RefreshGraph(first_.picture);
    }
    if (g == 0) {
        if (file_.is_open())
            file_.close();
        if (!options_.WriteGCGraph)
            return;
        fileName_ = options_.GCFilename;
        CreateDataFile(file_, fileName_, params_);
        file_ << " \r\n===>\r\n \r\n    Growth Rate -- Competitive \r\nFor species: " << Format("%4d", species_)
              << "\r\n \r\nG-Rates  Competitive(win)  Number of Cells\r\n"
                 "-------  ----------------  ---------------\r\n";
        CheckWritten(file_, fileName_);
    }
    if (file_.is_open())
        WriteBlock(g);
}

void GrowthCompetitiveGraph::GCGraphA(int g, GCKind kind)
{
    if (g < 0) {
        graphA_ = Graph{};
        return;
    }
    if (kind == GCKind::Single || kind == GCKind::First) {
        if (g == 0)
            Prepare(graphA_, true);
        ZeroCounts(graphA_);
    }
    if (graphA_.picture.isNull())
        QRL_FAIL("GCGraphA: the graph has not been started", Module);
    // Each panel keeps its own counts, so with one panel per opponent the counts of an array
    // add up over its landscapes as they do for a single opponent.
    for (Panel& panel : graphA_.panels) {
        Count(panel);
        Draw(graphA_.picture, panel, g);
    }
    if ((kind == GCKind::Single || kind == GCKind::Last) && options_.ShowGCGraph && sinkA_ != nullptr) {
        if (g == 0)
            sinkA_->ShowGraph(graphA_.picture);
        else
            sinkA_->RefreshGraph(graphA_.picture);
    }
}

} // namespace quorrel
