#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

namespace quorrel {

// Species and table indices count from 1; slot 0 is unused except where noted.
inline constexpr int MaxSpecies = 40;
inline constexpr int MinSpecies = 2;
inline constexpr int MinLandscapeSide = 10;
inline constexpr int MaxLandscapeSide = 700;
inline constexpr int MaxDisplaySide = 700;

// Build-time switch: growth rates of fixed-rate species may depend on the opponent.
inline constexpr bool DependentGRates = true;

// A probability counts as "on" when it exceeds this threshold.
inline constexpr float ProbabilityOn = 1e-37f;

// The general parameters, in file order.
struct GParamStruct {
    int32_t Maxspec = 0;
    int32_t MaxX = 0;
    int32_t MaxY = 0;
    int32_t PIX = 0;
    int32_t Maxgen = 0;
    int32_t RandSeed = 0;
    int32_t Init = 0;        // growth-rate distribution: 0 random, 1 gradient, 2 grid
    int32_t Cover = 0;       // initial cover: 0 random, 1 blocks, 2 file
    std::string CoverFile;
    int32_t Border = 0;      // 0 torus, 1 open
    float TotalCover = 0.0f; // percent
    int32_t OverGRate = 0;   // percent of the free growth rate
    float DisturbProb = 0.0f;
    int32_t PatchSize = 0;
    int32_t PatchType = 0;   // 0 square, 1 random
    float Influx = 0.0f;
    int32_t RecruitType = 0; // 0 open, 1 closed
    float MutationGR = 0.0f;
    int32_t MutAmtGR = 0;
    float MutationOTC = 0.0f;
    int32_t MutAmtOTC = 0;
    bool MeanField = false;

    bool operator==(const GParamStruct&) const = default;
};

// Percentages of win, loss and stand-off; a negative Win marks a variable pair
// (in a genotype: an unset entry).
struct OutcomeTriple {
    int8_t Win = 0;
    int8_t Loss = 0;
    int8_t Standoff = 0;

    bool operator==(const OutcomeTriple&) const = default;
};

// Growth rate in percent; Rate -1 marks a variable species with range Low..High.
struct GrowthRate {
    int8_t Rate = 0;
    int8_t Low = 0;
    int8_t High = 0;

    bool operator==(const GrowthRate&) const = default;
};

// The same as fractions: a fixed rate (Rate, 0, 0) or a variable one (-1, Low, High).
struct GRateFraction {
    float Rate = 0.0f;
    float Low = 0.0f;
    float High = 0.0f;

    bool operator==(const GRateFraction&) const = default;
};

// Ranges, in percent, from which the variable-outcome model seeds win and loss.
struct VariableOutcomeRange {
    int8_t WinLow = 0;
    int8_t WinHigh = 0;
    int8_t LossLow = 0;
    int8_t LossHigh = 0;

    bool operator==(const VariableOutcomeRange&) const = default;
};

template <class T>
using SpeciesTable = std::array<T, MaxSpecies + 1>;
template <class T>
using PairTable = std::array<std::array<T, MaxSpecies + 1>, MaxSpecies + 1>;

using OutcomeTable = PairTable<OutcomeTriple>;
using VariableOutcomeTable = SpeciesTable<VariableOutcomeRange>;
// Growth-rate fractions (or ranges) per species, as GRateFractions holds them.
using GRateRanges = SpeciesTable<GRateFraction>;

enum OutcomeRandomModes : uint8_t {
    NotRandomising = 0,
    UniformRandomising = 1,
    NoReversalRandomising = 2,
    HierarchicalRandomising = 3,
};

// The whole description of a simulation: general parameters and per-species tables.
// Tables are dimensioned for 40 species; only 1..Maxspec are in use.
class ParameterSet {
public:
    GParamStruct GParamRec;
    OutcomeTable OutcomeMatrix{};
    SpeciesTable<GrowthRate> GrowthRates{};
    SpeciesTable<GRateFraction> GRateFractions{};
    PairTable<float> RateAgainst{};
    SpeciesTable<float> MortalityVector{}; // slot 0 holds MortalSize
    SpeciesTable<float> RecruitmentVector{};
    VariableOutcomeTable VariableOutcomeVector{};

    // Settings that no parameter file stores.
    int32_t StandoffPercent = 0;
    uint8_t OutcomeRandomMode = NotRandomising;
    bool GRateRandomising = false;

    std::filesystem::path StartDir;

    float MortalSize() const { return MortalityVector[0]; }
    int DisplayWidth() const { return GParamRec.MaxX * GParamRec.PIX; }
    int DisplayHeight() const { return GParamRec.MaxY * GParamRec.PIX; }
    bool HasVariableGRate(int species) const { return GRateFractions[species].Rate < 0.0f; }

    // The in-built defaults (3 species, 200 x 200). Callers mirror and update fractions next.
    void SetInbuiltDefaults();

    // Kinds 0..2 act on the live tables; kinds 3 (all stand-off) and 4 (all variable)
    // act on the 1..Maxspec part of an editor's working copy, which must then be given.
    void ResetOutcome(int kind, OutcomeTable* workingCopy = nullptr);

    // Argument 1: all 40 live entries become neutral; otherwise entries 1..Maxspec
    // of the working copy do.
    void ResetVariableOutcome(int argument, VariableOutcomeTable* workingCopy = nullptr);

    void ResetMortality();
    void ResetRecruitment();

    void MirrorOutcomeMatrix() { MirrorOutcomes(OutcomeMatrix, GParamRec.Maxspec); }
    void UpdateGRateFractions();

    // The start-up state before any file is read.
    void ResetToStartupTables();

    // The set a start-up without parameter files brings into force: the start-up tables,
    // the in-built defaults, the mirrored outcome matrix and the growth-rate fractions.
    static ParameterSet InbuiltDefaults(const std::filesystem::path& startDir);

    bool HasVariablePair() const;

    // Rebuilds the lower triangle of a table from its upper triangle, for species 1..n.
    static void MirrorOutcomes(OutcomeTable& table, int n);
};

} // namespace quorrel
