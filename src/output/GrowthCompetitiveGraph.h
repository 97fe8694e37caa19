#pragma once

#include "engine/GenotypeGrid.h"
#include "engine/LandscapeGrid.h"
#include "output/ColorMap.h"
#include "output/GrowthCompetitiveSink.h"
#include "output/OutputOptions.h"
#include "params/ParameterSet.h"

#include <QImage>

#include <array>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace quorrel {

// How a growth rate-competitive graph call stands in the run: one landscape, or the first,
// a middle or the last landscape of an array (whose counts add up from first to last).
enum class GCKind { Single, First, Middle, Last };

// The growth rate-competitive graphs of the species GCSpecies: its individuals counted on the
// plane of growth rate (g = round(100 GRate), left to right) against competitive ability
// (c, bottom to top), generation 0 in the upper panel (rows 0..201) and the latest drawn
// generation in the lower panel (rows 210..411), a silver band between them. A point is a
// 2 x 2 block that fills up pixel by pixel as its count passes 0, T, 2T and 3T, with the
// density step T = round(MaxX MaxY / (400 Maxspec)).
//
// GCGraph: c is the mean Win of the individual's genotype against every species whose
// relation with GCSpecies is variable; drawn, shown and (WriteGCGraph) written to the data
// file GCFilename for the kinds Single and Last.
// GCGraphA: c is the Win against GCSpeciesA, or with GCSpeciesA 0 against each variable
// opponent in a panel of its own (panel p at column 207 p). It draws on every call and
// shows for the kinds Single and Last. Counts always add up over an array, panel by panel.
//
// A run calls GCGraph(g, kind) and then GCGraphA(g, kind) with g = 0 for the initial
// landscape (this creates the pictures and, with WriteGCGraph, the data file), with the
// generation number for later drawings, and once with g = -1 at the end (pictures
// released, data file closed). A file failure throws OutputFileError, which ends the run.
class GrowthCompetitiveGraph {
public:
    static constexpr int PanelWidth = 202;
    static constexpr int PanelStride = 207;
    static constexpr int Height = 412;
    static constexpr int LowerPanelTop = 210;

    GrowthCompetitiveGraph(const ParameterSet& params, const OptionStruct& options, const LandscapeGrid& landscape,
                           const GenotypeGrid& genotypes, const ColorMap& colors,
                           GrowthCompetitiveSink* sink = nullptr, GrowthCompetitiveSink* sinkA = nullptr);

    void SetSinks(GrowthCompetitiveSink* sink, GrowthCompetitiveSink* sinkA)
    {
        sink_ = sink;
        sinkA_ = sinkA;
    }

    void GCGraph(int g, GCKind kind);
    void GCGraphA(int g, GCKind kind);

    // The density step of this run (set at generation 0).
    uint16_t DensityStep() const { return step_; }
    static uint16_t DensityStep(int maxX, int maxY, int maxspec);

    const QImage& Picture() const { return first_.picture; }
    const QImage& PictureA() const { return graphA_.picture; }
    // The opponents of graph A's panels, in panel order.
    std::vector<int> OpponentsA() const;

private:
    using CountGrid = std::array<std::array<int32_t, 101>, 101>; // [growth rate %][competitive %]

    struct Panel {
        int opponent = 0; // graph A: the species whose Win is counted; 0 for the first graph
        int left = 0;     // the panel's first column
        CountGrid counts{};
    };
    struct Graph {
        QImage picture;
        std::vector<Panel> panels;
    };

    void Prepare(Graph& graph, bool graphA);
    void Count(Panel& panel) const;
    void Draw(QImage& picture, const Panel& panel, int g) const;
    int Competitive(int x, int y, int opponent) const;
    void WriteBlock(int g);
    static void ZeroCounts(Graph& graph);

    const ParameterSet& params_;
    const OptionStruct& options_;
    const LandscapeGrid& landscape_;
    const GenotypeGrid& genotypes_;
    const ColorMap& colors_;
    GrowthCompetitiveSink* sink_;
    GrowthCompetitiveSink* sinkA_;

    uint16_t step_ = 0;
    int species_ = 1;
    Graph first_;
    Graph graphA_;
    std::ofstream file_;
    std::string fileName_;
};

} // namespace quorrel
