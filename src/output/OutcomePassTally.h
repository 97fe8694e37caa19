#pragma once

#include "params/ParameterSet.h"

#include <array>
#include <bitset>
#include <cstdint>
#include <vector>

namespace quorrel {

// The whole-number sums of one pass over the genotype records of a landscape, for the
// outcome statistics: per species s and opponent j whose relation with s is variable, the
// sums of the win, loss and stand-off entries against j of the records added, each times
// the cells that hold the record, the cells counted, and the values 0..100 those entries
// hold. An unset entry (Win < 0) adds nothing. The cells of one landscape keep every sum
// within 32 bits (|entry| <= 128, cells <= 700 x 700).
//
// Without pairs, only the sums of each species over its opponents together are kept (the
// same whole numbers as those of its pairs added up), which takes fewer of them per record.
//
// The wide kernel adds eight opponents at once where the processor has it (sixteen for a
// species without pairs where it has the 512-bit kernels); the portable one adds them one
// by one, with the same sums.
class OutcomePassTally {
public:
    OutcomePassTally();

    // Empty sums for the species and relations of params, per pair or per species only.
    void Reset(const ParameterSet& params, bool pairs = true);
    bool Pairs() const { return pairs_; }
    // The record genotype (Maxspec triples) of species s, held by cells cells.
    void Add(int s, const OutcomeTriple* genotype, int32_t cells);
    void UseWideKernel(bool on);
    // Off: the sums without pairs take the 256-bit kernel even where the 512-bit one runs
    // (which only the wide kernel's choice lets take them).
    void UseKernel512(bool on);
    bool UsesKernel512() const { return wide_ && use512_; }

    // With pairs: t 0..2 for win, loss, stand-off; s and j 1..Maxspec.
    int32_t Sum(int t, int s, int j) const { return sums_[s].sum[t][j - 1]; }
    int32_t Count(int s, int j) const { return sums_[s].count[j - 1]; }
    // The values 0..100 held, as flags.
    std::bitset<101> Values(int t, int s, int j) const;
    bool Variable(int s, int j) const { return variable_[s][j - 1] != 0; }

    // What a record of a species adds without pairs before it is multiplied by its cells:
    // per component the sum of its set entries (with a variable relation) and the values
    // they hold (value v as bit v % 32 of word v / 32), and how many entries are set. One
    // cache line, so that a pass over the records of one generation after another may keep
    // one per record and read it instead of the record's triples.
    struct alignas(64) RecordSummary {
        std::array<std::array<uint32_t, 4>, 3> words;
        std::array<int32_t, 3> sum;
        int16_t set;
        int16_t species; // the species it was made for
    };
    // The summary of the record genotype for species s, by the 512-bit kernel where it runs;
    // SummarisePortable is its twin.
    void Summarise(int s, const OutcomeTriple* genotype, RecordSummary& summary) const;
    void SummarisePortable(int s, const OutcomeTriple* genotype, RecordSummary& summary) const;
    // Without pairs: adds what Add(s, genotype, cells) adds, from the genotype's summary.
    void AddSummary(int s, const RecordSummary& summary, int32_t cells)
    {
        Summed& summed = summed_[s];
        for (int t = 0; t < 3; ++t) {
            summed.sum[t] += int64_t(summary.sum[t]) * cells;
            for (int q = 0; q < Words; ++q)
                summed.words[t][q] |= summary.words[t][q];
        }
        summed.count += int64_t(summary.set) * cells;
    }
    // Changes whenever Reset meets other species or relations than the Reset before, and so
    // other summaries.
    uint64_t Layout() const { return layout_; }

    // Without pairs: the same over every opponent of species s together.
    int64_t SpeciesSum(int t, int s) const;
    int64_t SpeciesCount(int s) const;
    std::bitset<101> SpeciesValues(int t, int s) const;

private:
    // Opponents 1..MaxSpecies at lanes 0..MaxSpecies - 1, padded to whole vectors of eight.
    static constexpr int Lanes = 48;
    struct SpeciesSums {
        std::array<std::array<int32_t, Lanes>, 3> sum{};
        std::array<int32_t, Lanes> count{};
    };
    // The values held, one bit each, per component and opponent lane: value v is bit v % 32
    // of word v / 32. Bits for 101..127 may be set; Values() leaves them out.
    static constexpr int Words = 4;
    struct ValueBits {
        std::array<std::array<std::array<uint32_t, Lanes>, Words>, 3> words{};
    };

    // The sums of a species without pairs: opponent k in lane k % 8 (lanes 8.. stay zero),
    // so that no lane sums more than five opponents (within 32 bits like a pair); in lane
    // k % 16 with the 512-bit kernel (at most three opponents a lane), which adds its counts
    // in lane 0 (at most 39 x 700 x 700 cells there).
    static constexpr int Width = 16;
    static constexpr int Width256 = 8;
    struct alignas(64) Together {
        std::array<std::array<int32_t, Width>, 3> sum{};
        std::array<int32_t, Width> count{};
        std::array<std::array<std::array<uint32_t, Width>, Words>, 3> words{};
    };

    void AddPortable(int s, const OutcomeTriple* genotype, int32_t cells);
    void AddWide(int s, const OutcomeTriple* genotype, int32_t cells);
    void AddTogetherWide(int s, const OutcomeTriple* genotype, int32_t cells);
    void AddTogether512(int s, const OutcomeTriple* genotype, int32_t cells);
    void Summarise512(int s, const OutcomeTriple* genotype, RecordSummary& summary) const;

    int maxspec_ = 0;
    bool available_ = false;
    bool wide_ = false;
    bool available512_ = false;
    bool use512_ = false;
    // All bits set for a variable opponent, per species.
    alignas(32) std::array<std::array<int32_t, Lanes>, MaxSpecies + 1> variable_{};
    // The same as masks of sixteen opponents, per species and chunk.
    std::array<std::array<uint16_t, Lanes / 16>, MaxSpecies + 1> variableMasks_{};
    std::vector<SpeciesSums> sums_;
    std::vector<ValueBits> values_;
    bool pairs_ = true;
    std::vector<Together> together_;
    // What AddSummary adds, per species: sums of records times their cells.
    struct Summed {
        std::array<int64_t, 3> sum{};
        int64_t count = 0;
        std::array<std::array<uint32_t, Words>, 3> words{};
    };
    std::vector<Summed> summed_;
    uint64_t layout_ = 0;
};

} // namespace quorrel
