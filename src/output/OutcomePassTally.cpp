#include "output/OutcomePassTally.h"

#include "engine/WideKernel.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace quorrel {

OutcomePassTally::OutcomePassTally()
    : available_(WideKernelAvailable()), wide_(available_), available512_(Kernel512Available()),
      use512_(available512_)
{
}

void OutcomePassTally::UseWideKernel(bool on) { wide_ = on && available_; }

void OutcomePassTally::UseKernel512(bool on) { use512_ = on && available512_; }

void OutcomePassTally::Reset(const ParameterSet& params, bool pairs)
{
    const int n = params.GParamRec.Maxspec;
    bool changed = n != maxspec_;
    maxspec_ = n;
    pairs_ = pairs;
    for (int s = 0; s <= MaxSpecies; ++s)
        for (int j = 1; j <= Lanes; ++j) {
            const int32_t variable =
                s >= 1 && s <= n && j <= n && j != s && params.OutcomeMatrix[s][j].Win < 0 ? -1 : 0;
            changed = changed || variable != variable_[s][j - 1];
            variable_[s][j - 1] = variable;
        }
    if (changed)
        ++layout_;
    for (int s = 0; s <= MaxSpecies; ++s)
        for (std::size_t c = 0; c < variableMasks_[s].size(); ++c) {
            uint16_t mask = 0;
            for (int k = 0; k < 16; ++k)
                mask |= variable_[s][16 * c + k] != 0 ? uint16_t(1u << k) : uint16_t(0);
            variableMasks_[s][c] = mask;
        }
    if (pairs) {
        sums_.assign(static_cast<std::size_t>(n) + 1, SpeciesSums{});
        values_.assign(static_cast<std::size_t>(n) + 1, ValueBits{});
    } else {
        together_.assign(static_cast<std::size_t>(n) + 1, Together{});
        summed_.assign(static_cast<std::size_t>(n) + 1, Summed{});
    }
}

int64_t OutcomePassTally::SpeciesSum(int t, int s) const
{
    int64_t sum = summed_[s].sum[t];
    for (const int32_t lane : together_[s].sum[t])
        sum += lane;
    return sum;
}

int64_t OutcomePassTally::SpeciesCount(int s) const
{
    int64_t count = summed_[s].count;
    for (const int32_t lane : together_[s].count)
        count += lane;
    return count;
}

namespace {

// The values 0..100 of the four words of value bits; bits 101.. fall off.
std::bitset<101> ValuesOf(const std::array<uint32_t, 4>& words)
{
    const auto pair = [&](int q) { return uint64_t(words[q]) | uint64_t(words[q + 1]) << 32; };
    return (std::bitset<101>(pair(2)) << 64) | std::bitset<101>(pair(0));
}

} // namespace

std::bitset<101> OutcomePassTally::SpeciesValues(int t, int s) const
{
    std::array<uint32_t, Words> words = summed_[s].words[t];
    for (int q = 0; q < Words; ++q)
        for (const uint32_t lane : together_[s].words[t][q])
            words[q] |= lane;
    return ValuesOf(words);
}

void OutcomePassTally::Summarise(int s, const OutcomeTriple* genotype, RecordSummary& summary) const
{
#ifdef QRL_WIDE_KERNEL
    if (wide_ && use512_) {
        Summarise512(s, genotype, summary);
        return;
    }
#endif
    SummarisePortable(s, genotype, summary);
}

void OutcomePassTally::SummarisePortable(int s, const OutcomeTriple* genotype, RecordSummary& summary) const
{
    summary = RecordSummary{};
    summary.species = static_cast<int16_t>(s);
    for (int k = 0; k < maxspec_; ++k) {
        const OutcomeTriple triple = genotype[k];
        if (variable_[s][k] == 0 || triple.Win < 0)
            continue;
        ++summary.set;
        const int components[3] = {triple.Win, triple.Loss, triple.Standoff};
        for (int t = 0; t < 3; ++t) {
            const int v = components[t];
            summary.sum[t] += v;
            if (v >= 0 && v <= 100)
                summary.words[t][v / 32] |= uint32_t(1) << (v % 32);
        }
    }
}

std::bitset<101> OutcomePassTally::Values(int t, int s, int j) const
{
    const auto& words = values_[s].words[t];
    return ValuesOf({words[0][j - 1], words[1][j - 1], words[2][j - 1], words[3][j - 1]});
}

void OutcomePassTally::Add(int s, const OutcomeTriple* genotype, int32_t cells)
{
#ifdef QRL_WIDE_KERNEL
    if (wide_) {
        if (pairs_)
            AddWide(s, genotype, cells);
        else if (use512_)
            AddTogether512(s, genotype, cells);
        else
            AddTogetherWide(s, genotype, cells);
        return;
    }
#endif
    AddPortable(s, genotype, cells);
}

void OutcomePassTally::AddPortable(int s, const OutcomeTriple* genotype, int32_t cells)
{
    for (int k = 0; k < maxspec_; ++k) {
        if (variable_[s][k] == 0)
            continue;
        const OutcomeTriple triple = genotype[k];
        const bool set = triple.Win >= 0;
        const int32_t weight = set ? cells : 0;
        const int components[3] = {triple.Win, triple.Loss, triple.Standoff};
        // Per pair, or per species in lane k % Width256.
        const int lane = pairs_ ? k : k % Width256;
        int32_t* const sum[3] = {pairs_ ? &sums_[s].sum[0][lane] : &together_[s].sum[0][lane],
                                 pairs_ ? &sums_[s].sum[1][lane] : &together_[s].sum[1][lane],
                                 pairs_ ? &sums_[s].sum[2][lane] : &together_[s].sum[2][lane]};
        for (int t = 0; t < 3; ++t) {
            const int v = components[t];
            *sum[t] += v * weight;
            if (set && v >= 0 && v <= 100) {
                uint32_t& word = pairs_ ? values_[s].words[t][v / 32][lane] : together_[s].words[t][v / 32][lane];
                word |= uint32_t(1) << (v % 32);
            }
        }
        (pairs_ ? sums_[s].count[lane] : together_[s].count[lane]) += weight;
    }
}

#ifdef QRL_WIDE_KERNEL

namespace {

// Eight words of value bits or'ed with bit.
__attribute__((target("avx2"))) inline void AddBits(uint32_t* words, __m256i bit)
{
    auto* at = reinterpret_cast<__m256i*>(words);
    _mm256_storeu_si256(at, _mm256_or_si256(_mm256_loadu_si256(at), bit));
}

// The 24 bytes at p, the triples of eight opponents, split into their eight wins, losses and
// stand-offs, each widened to 32 bits.
__attribute__((target("avx2"))) inline void SplitTriples(const uint8_t* p, __m256i components[3])
{
    // Within each 128-bit half: the four wins, the four losses, the four stand-offs.
    const __m256i split = _mm256_setr_epi8(0, 3, 6, 9, 1, 4, 7, 10, 2, 5, 8, 11, -1, -1, -1, -1, 0, 3, 6, 9, 1, 4, 7,
                                           10, 2, 5, 8, 11, -1, -1, -1, -1);
    const __m256i gather = _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7);
    const __m256i raw =
        _mm256_inserti128_si256(_mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p))),
                                _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 12)), 1);
    // Dwords: wins 0-3, wins 4-7, losses 0-3, losses 4-7, stand-offs 0-3, 4-7.
    const __m256i parts = _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(raw, split), gather);
    const __m128i low = _mm256_castsi256_si128(parts);
    components[0] = _mm256_cvtepi8_epi32(low);
    components[1] = _mm256_cvtepi8_epi32(_mm_srli_si128(low, 8));
    components[2] = _mm256_cvtepi8_epi32(_mm256_extracti128_si256(parts, 1));
}

} // namespace

// Eight triples at a time, split by SplitTriples. Each value's bit in word q is the shift of
// one by the value less 32 q; the variable shifts give zero for a count of 32 or more, and so
// for the values of the other words, negative values and unset entries (all bits).
__attribute__((target("avx2"))) void OutcomePassTally::AddWide(int s, const OutcomeTriple* genotype, int32_t cells)
{
    // The record copied into a buffer that the 16-byte loads may read past its end.
    alignas(32) uint8_t bytes[3 * Lanes + 16] = {};
    std::memcpy(bytes, genotype, sizeof(OutcomeTriple) * static_cast<std::size_t>(maxspec_));
    SpeciesSums& sums = sums_[s];
    ValueBits& bits = values_[s];
    const __m256i weightOf = _mm256_set1_epi32(cells);
    const __m256i allBits = _mm256_set1_epi32(-1);
    const __m256i one = _mm256_set1_epi32(1);
    for (int k = 0; k < maxspec_; k += 8) {
        __m256i components[3];
        SplitTriples(bytes + 3 * k, components);
        const __m256i variable = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(&variable_[s][k]));
        const __m256i set = _mm256_andnot_si256(_mm256_cmpgt_epi32(_mm256_setzero_si256(), components[0]), variable);
        const __m256i unset = _mm256_xor_si256(set, allBits);
        const __m256i weight = _mm256_and_si256(set, weightOf);
        for (int t = 0; t < 3; ++t) {
            auto* sum = reinterpret_cast<__m256i*>(&sums.sum[t][k]);
            _mm256_storeu_si256(sum, _mm256_add_epi32(_mm256_loadu_si256(sum),
                                                      _mm256_mullo_epi32(components[t], weight)));
            // Unset entries: all bits, a negative value like the others below zero.
            const __m256i value = _mm256_or_si256(components[t], unset);
            for (int q = 0; q < Words; ++q)
                AddBits(&bits.words[t][q][k], _mm256_sllv_epi32(one, _mm256_sub_epi32(value, _mm256_set1_epi32(32 * q))));
        }
        auto* count = reinterpret_cast<__m256i*>(&sums.count[k]);
        _mm256_storeu_si256(count, _mm256_add_epi32(_mm256_loadu_si256(count), weight));
    }
}

// The same for a species without pairs: the record's entries split first, then gathered
// over its opponents in registers, one component at a time, and added once, times its cells.
__attribute__((target("avx2"))) void OutcomePassTally::AddTogetherWide(int s, const OutcomeTriple* genotype,
                                                                       int32_t cells)
{
    // The chunks whose 16-byte loads stay within the record are read in place; the others
    // from a copy of the rest of the record that the loads may read past the end of (of a
    // fixed size for whole chunks, so that it takes no call).
    const auto* record = reinterpret_cast<const uint8_t*>(genotype);
    const int recordBytes = 3 * maxspec_;
    const int inPlace = recordBytes >= 28 ? (recordBytes - 28) / 24 + 1 : 0;
    const int restBytes = recordBytes - 24 * inPlace;
    alignas(32) uint8_t rest[3 * Lanes + 16] = {};
    if (restBytes == 24)
        std::memcpy(rest, record + 24 * inPlace, 24);
    else
        std::memcpy(rest, record + 24 * inPlace, static_cast<std::size_t>(restBytes));
    Together& together = together_[s];
    const __m256i allBits = _mm256_set1_epi32(-1);
    const __m256i one = _mm256_set1_epi32(1);
    const __m256i weight = _mm256_set1_epi32(cells);
    constexpr int Chunks = Lanes / 8;
    const int chunks = (maxspec_ + 7) / 8;
    // Per chunk of eight opponents: the entries of each component, all bits for an entry that
    // is set (with a variable relation), and the values, all bits for the others.
    __m256i entries[3][Chunks];
    __m256i values[3][Chunks];
    __m256i setCount = _mm256_setzero_si256();
    for (int c = 0; c < chunks; ++c) {
        __m256i components[3];
        SplitTriples(c < inPlace ? record + 24 * c : rest + 24 * (c - inPlace), components);
        const __m256i variable = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(&variable_[s][8 * c]));
        const __m256i set = _mm256_andnot_si256(_mm256_cmpgt_epi32(_mm256_setzero_si256(), components[0]), variable);
        const __m256i unset = _mm256_xor_si256(set, allBits);
        setCount = _mm256_sub_epi32(setCount, set);
        for (int t = 0; t < 3; ++t) {
            entries[t][c] = _mm256_and_si256(components[t], set);
            values[t][c] = _mm256_or_si256(components[t], unset);
        }
    }
    for (int t = 0; t < 3; ++t) {
        __m256i sum = _mm256_setzero_si256();
        __m256i words[Words];
        for (__m256i& word : words)
            word = _mm256_setzero_si256();
        for (int c = 0; c < chunks; ++c) {
            sum = _mm256_add_epi32(sum, entries[t][c]);
            for (int q = 0; q < Words; ++q)
                words[q] = _mm256_or_si256(
                    words[q], _mm256_sllv_epi32(one, _mm256_sub_epi32(values[t][c], _mm256_set1_epi32(32 * q))));
        }
        auto* at = reinterpret_cast<__m256i*>(together.sum[t].data());
        _mm256_storeu_si256(at, _mm256_add_epi32(_mm256_loadu_si256(at), _mm256_mullo_epi32(sum, weight)));
        for (int q = 0; q < Words; ++q)
            AddBits(together.words[t][q].data(), words[q]);
    }
    auto* count = reinterpret_cast<__m256i*>(together.count.data());
    _mm256_storeu_si256(count, _mm256_add_epi32(_mm256_loadu_si256(count), _mm256_mullo_epi32(setCount, weight)));
}

QRL_BEGIN_512_INTRINSICS

namespace {

// The 48 bytes at p, the triples of sixteen opponents of the record from begins to ends,
// split into their sixteen wins, losses and stand-offs, each widened to 32 bits. A chunk
// whose 64-byte load would pass the end of the record is read from the 64 bytes that end
// there, shifted down by bytes (a masked load past the end of the record stalls); its lanes
// past the end then hold other bytes, which the variable relations leave out. A record of
// less than 64 bytes is read by a masked load (its bytes from ends on as zero).
QRL_TARGET_512 inline void SplitTriples16(const uint8_t* p, const uint8_t* begins, const uint8_t* ends,
                                          __m512i components[3])
{
    __m512i raw;
    int shift = 0;
    if (ends - p >= 64) {
        raw = _mm512_loadu_si512(p);
    } else if (ends - begins >= 64) {
        raw = _mm512_loadu_si512(ends - 64);
        shift = static_cast<int>(p - (ends - 64));
    } else {
        raw = _mm512_maskz_loadu_epi8(__mmask64((uint64_t(1) << (ends - p)) - 1), p);
    }
    // The 12 bytes of four triples in each 128-bit lane (in the four words from the one that
    // holds their first byte), split there into their four wins, losses and stand-offs as
    // for eight, and the words of each component gathered in turn.
    const __m512i spread = _mm512_add_epi32(_mm512_setr_epi32(0, 1, 2, 3, 3, 4, 5, 6, 6, 7, 8, 9, 9, 10, 11, 12),
                                            _mm512_set1_epi32(shift / 4));
    const __m512i split = _mm512_add_epi8(
        _mm512_broadcast_i32x4(_mm_setr_epi8(0, 3, 6, 9, 1, 4, 7, 10, 2, 5, 8, 11, 0, 0, 0, 0)),
        _mm512_set1_epi8(static_cast<char>(shift % 4)));
    const __m512i gather = _mm512_setr_epi32(0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15);
    const __m512i parts =
        _mm512_permutexvar_epi32(gather, _mm512_shuffle_epi8(_mm512_permutexvar_epi32(spread, raw), split));
    components[0] = _mm512_cvtepi8_epi32(_mm512_castsi512_si128(parts));
    components[1] = _mm512_cvtepi8_epi32(_mm512_extracti32x4_epi32(parts, 1));
    components[2] = _mm512_cvtepi8_epi32(_mm512_extracti32x4_epi32(parts, 2));
}

// The set entries (with a variable relation, masks per chunk of sixteen) of a record of
// maxspec triples, opponent k in lane k % 16: per component their sums and value bits
// (value v as bit v % 32 of word v / 32 of the lanes), and how many are set. The loads stay
// within the record's bytes; the entries that are not set add nothing and shift no bit in.
struct RecordLanes512 {
    __m512i sum[3];
    __m512i words[3][4];
    int set = 0;
};

QRL_TARGET_512 inline RecordLanes512 SetEntries512(const OutcomeTriple* genotype, int maxspec,
                                                   const uint16_t* variableMasks)
{
    const auto* record = reinterpret_cast<const uint8_t*>(genotype);
    const uint8_t* const ends = record + 3 * maxspec;
    const __m512i one = _mm512_set1_epi32(1);
    const __m512i zero = _mm512_setzero_si512();
    constexpr int Chunks = 3;
    const int chunks = (maxspec + 15) / 16;
    __m512i components[Chunks][3];
    __mmask16 set[Chunks];
    RecordLanes512 lanes;
    for (int c = 0; c < chunks; ++c) {
        SplitTriples16(record + 48 * c, record, ends, components[c]);
        set[c] = _mm512_mask_cmpge_epi32_mask(variableMasks[c], components[c][0], zero);
        lanes.set += std::popcount(static_cast<unsigned>(set[c]));
    }
    for (int t = 0; t < 3; ++t) {
        lanes.sum[t] = zero;
        for (__m512i& word : lanes.words[t])
            word = zero;
        for (int c = 0; c < chunks; ++c) {
            const __m512i entry = components[c][t];
            lanes.sum[t] = _mm512_mask_add_epi32(lanes.sum[t], set[c], lanes.sum[t], entry);
            for (int q = 0; q < 4; ++q)
                lanes.words[t][q] = _mm512_or_si512(
                    lanes.words[t][q],
                    _mm512_maskz_sllv_epi32(set[c], one, _mm512_sub_epi32(entry, _mm512_set1_epi32(32 * q))));
        }
    }
    return lanes;
}

} // namespace

// The same with sixteen opponents a chunk (SetEntries512), added times the cells.
QRL_TARGET_512 void OutcomePassTally::AddTogether512(int s, const OutcomeTriple* genotype, int32_t cells)
{
    static_assert(Lanes == 48 && Words == 4);
    const RecordLanes512 lanes = SetEntries512(genotype, maxspec_, variableMasks_[s].data());
    Together& together = together_[s];
    for (int t = 0; t < 3; ++t) {
        int32_t* const at = together.sum[t].data();
        _mm512_store_si512(at, _mm512_add_epi32(_mm512_load_si512(at),
                                                _mm512_mullo_epi32(lanes.sum[t], _mm512_set1_epi32(cells))));
        for (int q = 0; q < Words; ++q) {
            uint32_t* const bits = together.words[t][q].data();
            _mm512_store_si512(bits, _mm512_or_si512(_mm512_load_si512(bits), lanes.words[t][q]));
        }
    }
    // Every set entry counts its cells once: the count of the record, in lane 0.
    together.count[0] += lanes.set * cells;
}

// The same before the cells multiply it, folded over the lanes. Values 101..127 may set
// bits, which ValuesOf leaves out.
QRL_TARGET_512 void OutcomePassTally::Summarise512(int s, const OutcomeTriple* genotype, RecordSummary& summary) const
{
    const RecordLanes512 lanes = SetEntries512(genotype, maxspec_, variableMasks_[s].data());
    for (int t = 0; t < 3; ++t) {
        summary.sum[t] = _mm512_reduce_add_epi32(lanes.sum[t]);
        for (int q = 0; q < Words; ++q)
            summary.words[t][q] = static_cast<uint32_t>(_mm512_reduce_or_epi32(lanes.words[t][q]));
    }
    summary.set = static_cast<int16_t>(lanes.set);
    summary.species = static_cast<int16_t>(s);
}

QRL_END_512_INTRINSICS

#else

void OutcomePassTally::AddWide(int s, const OutcomeTriple* genotype, int32_t cells) { AddPortable(s, genotype, cells); }
void OutcomePassTally::AddTogetherWide(int s, const OutcomeTriple* genotype, int32_t cells)
{
    AddPortable(s, genotype, cells);
}
void OutcomePassTally::AddTogether512(int s, const OutcomeTriple* genotype, int32_t cells)
{
    AddPortable(s, genotype, cells);
}
void OutcomePassTally::Summarise512(int s, const OutcomeTriple* genotype, RecordSummary& summary) const
{
    SummarisePortable(s, genotype, summary);
}

#endif

} // namespace quorrel
