#pragma once

#include "engine/GenotypeGrid.h"
#include "engine/LandscapeGrid.h"
#include "engine/LargePageAllocator.h"
#include "engine/UninitialisedArray.h"
#include "output/ColorMap.h"
#include "output/OutcomePassTally.h"
#include "output/OutcomeStatisticsSink.h"
#include "output/OutputOptions.h"
#include "params/ParameterSet.h"

#include <QImage>

#include <array>
#include <bitset>
#include <cstdint>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace quorrel {

// Statistics on variable outcome: for every species the average win, loss and stand-off of
// its individuals against the species it has a variable relation with, over all
// (individual, opponent) entries (statistics 1..3, "normal") and over the distinct values
// present (statistics 4..6, "genotype"), also per ordered pair of species. Read from the
// current landscape and the current genotype grid, which the caller loads first.
//
// A run calls, each when ShowOTC or WriteOTC asks for it:
//   run start:   ComputeOutcomeStats(1, part); PlotOutcomeStats(1); WriteOutcomeStats(1, 0)
//   generation:  ComputeOutcomeStats(2, part); PlotOutcomeStats(2) on plot updates;
//                WriteOutcomeStats(2, g)
//   run end:     PlotOutcomeStats(3); WriteOutcomeStats(3, 0)
// part is 0 for a single landscape; a landscape array passes every landscape with part 1
// (the first: resets the sums), 2 (the others) and 3 (the last: finishes the averages), and
// also writes each landscape's own line with WriteLandscapeOutcomeStats(stage, g, row, col)
// (stage 1 for landscape (1, 1) creates the per-landscape files; stage 3 closes them).
//
// A stage or part outside these is the assertion failure "Invalid argument" (StatOutcome).
// A file that cannot be created or written throws OutputFileError, which ends the run.
class OutcomeStatistics {
public:
    static constexpr int Statistics = 6;
    // The plot pictures: 0..100 % of the value from the bottom row to the top row, and
    // PlotSpan + 1 columns for the positions 0..PlotSpan.
    static constexpr int PlotSpan = 200;
    static constexpr int PlotWidth = PlotSpan + 1;
    static constexpr int PlotHeight = 101;

    OutcomeStatistics(const ParameterSet& params, const OptionStruct& options, const LandscapeGrid& landscape,
                      const GenotypeGrid& genotypes, const ColorMap& colors, OutcomeStatisticsSink* sink = nullptr);

    void SetSink(OutcomeStatisticsSink* sink) { sink_ = sink; }

    // stage 1 run start, 2 generation; part 0 single landscape, 1 first, 2 middle, 3 last.
    // Without pairs, the averages per pair are left at zero (every part of a generation
    // alike), for a generation that writes no pair table.
    void ComputeOutcomeStats(int stage, int part, bool pairs = true);
    // Whether WriteOutcomeStats(2, g) writes the pair tables, which need the averages per pair.
    static bool PairTableDue(int g) { return g % 100 == 1; }
    // stage 1 start (new plots, window shown), 2 extend by one segment, 3 finish.
    void PlotOutcomeStats(int stage);
    // stage 1 create both files and write generation 0, 2 write generation g, 3 close.
    void WriteOutcomeStats(int stage, int g);
    // The per-landscape files of an array: stage 1 (generation 0) and 2 append the line of
    // the landscape in row, col; stage 3 closes the files.
    void WriteLandscapeOutcomeStats(int stage, int g, int row, int col);

    // The results, statistic t 1..6, species s and j 1..Maxspec.
    float SpeciesAverage(int t, int s) const { return result_.species[t - 1][s]; }
    int32_t SpeciesCount(int t, int s) const { return result_.speciesCount[t - 1][s]; }
    float PairAverage(int t, int s, int j) const { return result_.pair[t - 1][s][j]; }
    int32_t PairCount(int t, int s, int j) const { return result_.pairCount[t - 1][s][j]; }
    float PreviousAverage(int t, int s) const { return previous_[t - 1][s]; }
    // The six plots as drawn so far; empty before stage 1 and after stage 3.
    const std::array<QImage, Statistics>& Plots() const { return plots_; }

    // The sums cell by cell, as plainly as they read, instead of once per genotype record
    // (the same values; for tests and benchmarks).
    void UseLiteralSums(bool on) { literal_ = on; }
    // The sums by record with the portable kernel rather than the wide one (for tests).
    void UseWideKernel(bool on) { pass_.UseWideKernel(on); }
    // The sums without pairs by the 256-bit kernel rather than the 512-bit one (for tests);
    // whether the latter takes them.
    void UseKernel512(bool on) { pass_.UseKernel512(on); }
    bool UsesKernel512() const { return pass_.UsesKernel512(); }
    // The cells counted per record by the scalar scan rather than the 512-bit one (for
    // tests); whether the latter counts them.
    void UseScan512(bool on);
    bool UsesScan512() const { return scan512_; }
    // Off: every record is read in every generation, none summarised from one generation to
    // the next (for tests).
    void UseRecordSummaries(bool on) { keepSummaries_ = on; }

private:
    // Sums and presence flags of the landscapes added since the last reset.
    struct Sums {
        std::array<SpeciesTable<double>, 3> species{};
        std::array<SpeciesTable<int32_t>, 3> speciesCount{};
        std::array<PairTable<double>, 3> pair{};
        std::array<PairTable<int32_t>, 3> pairCount{};
        std::array<SpeciesTable<std::bitset<101>>, 3> speciesValues{};
        std::array<PairTable<std::bitset<101>>, 3> pairValues{};
        SpeciesTable<bool> present{};
    };
    struct Results {
        std::array<SpeciesTable<float>, Statistics> species{};
        std::array<SpeciesTable<int32_t>, Statistics> speciesCount{};
        std::array<PairTable<float>, Statistics> pair{};
        std::array<PairTable<int32_t>, Statistics> pairCount{};
    };

    void Add(Sums& sums, bool pairs);
    void AddLiteral(Sums& sums, bool pairs) const;
    // The entries of genotype record of species s, held by cells cells, into the sums.
    void AddGenotype(Sums& sums, bool pairs, int s, const OutcomeTriple* genotype, int32_t cells) const;
    void AddPass(Sums& sums, bool pairs) const;
    // The two ways of counting the cells per record into pass_, noting the species met in
    // seen: a tally per record without a branch per cell, which gives up (false, nothing
    // added) when cells of two species hold one record; runs of neighbouring cells.
    bool AddByTally(SpeciesTable<bool>& seen);
    void AddByRuns(SpeciesTable<bool>& seen);
    // The scalar count of the cells into the tallies for AddByTally (bit s of speciesMet for
    // species s met, bit 0 for other cells); false when a record is met with two species.
    bool TallyCells(uint64_t& speciesMet);
    // Drops the kept summaries that the pool may have made stale since the last pass.
    void PrepareSummaries(const GenotypePool& pool);
    void Finish(const Sums& sums, Results& results, bool pairs) const;
    void PreparePlots();
    int PlotColumn(int updates) const;
    std::string DataLine(const Results& results, int first, int g) const;
    std::string LandscapeLine(int first, int g, int row, int col) const;
    std::string PairTable(int first, int g) const;

    const ParameterSet& params_;
    const OptionStruct& options_;
    const LandscapeGrid& landscape_;
    const GenotypeGrid& genotypes_;
    const ColorMap& colors_;
    OutcomeStatisticsSink* sink_;

    Sums sums_;
    Results result_;
    std::array<SpeciesTable<float>, Statistics> previous_{};
    // Whether result_ holds the averages per pair.
    bool pairResults_ = false;

    // The averages of one landscape of an array, for its per-landscape line.
    Sums landscapeSums_;
    Results landscapeResult_;

    // The whole-number sums of one pass by record.
    OutcomePassTally pass_;
    // The cells counted per record and the species of the record (0: not met yet); the
    // records met, as one bit per record number, and then in increasing order.
    struct RecordCells {
        int32_t cells = 0;
        int32_t species = 0;
    };
    std::vector<RecordCells, LargePageAllocator<RecordCells>> recordCells_;
    std::vector<uint64_t> recordsMet_;
    std::vector<uint32_t> records_;
    // For AddByTally: per record its species << TallyShift | its cells, 0 for a record not
    // met, with TallySpare zero slots after the records for the cells not counted; and one
    // flag per block of TallyBlock records that may hold a tally; the records met.
    static constexpr int TallyShift = 26;
    static constexpr std::size_t TallySpare = 8;
    static constexpr std::size_t TallyBlock = 4096;
    std::vector<uint32_t, LargePageAllocator<uint32_t>> recordTally_;
    std::vector<uint8_t> blocksMet_;
    std::vector<uint32_t, LargePageAllocator<uint32_t>> tallied_;
    bool literal_ = false;
    bool scan512_ = false;
    // Without pairs, per record the summary of what it adds (OutcomePassTally::RecordSummary)
    // and one bit per record for those made; kept from one generation's pass to the next
    // while the pool hands no record number out again and the relations stay the same, and
    // over one collection for the records it left held (PrepareSummaries). Only for a pool
    // without windows, whose window records are written again without a collection.
    bool keepSummaries_ = true;
    UninitialisedArray<OutcomePassTally::RecordSummary> summaries_;
    std::vector<uint64_t> summarised_;
    std::weak_ptr<const GenotypePool> summaryPool_;
    uint64_t summaryEpoch_ = 0;
    std::size_t summaryCollections_ = 0;
    uint64_t summaryLayout_ = 0;

    std::array<QImage, Statistics> plots_;
    int plotUpdates_ = 0;

    std::array<std::ofstream, 2> files_;
    std::array<std::string, 2> fileNames_;
    std::array<std::ofstream, 2> landscapeFiles_;
    std::array<std::string, 2> landscapeFileNames_;
};

} // namespace quorrel
