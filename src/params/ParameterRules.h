#pragma once

#include "params/ParameterSet.h"

#include <cstdint>
#include <optional>
#include <string>

namespace quorrel {

// The values the general-parameters dialog and the parameter editors accept. The dialog and
// the editors check typed text against them, the parameter-file reader and the batch runner
// check values; all of them call these, so the rules live in this one place.
namespace rules {

inline constexpr int MaxGenerations = 65535;
inline constexpr int MaxMutationAmount = 10;

bool SpeciesCount(int64_t n);                                // 2..40
bool LandscapeSide(int64_t cells);                           // 10..700
bool CellSize(int64_t pix, int64_t maxX, int64_t maxY);      // PIX >= 1, both display sides <= 700
bool Generations(int64_t maxgen);                            // 1..65535
bool Seed(int64_t seed);                                     // not negative
bool ListCode(int64_t code, int items);                      // 0..items-1
bool CoverFileGiven(int32_t cover, const std::string& file); // a name (not only blanks) when Cover is File
bool Percentage(double value);                               // 0..100: TotalCover, OverGRate
bool Probability(double value);                              // 0..1
bool PatchSize(int64_t size, int64_t maxX, int64_t maxY);    // 0..MaxX*MaxY
bool MutationAmount(int64_t amount);                         // 1..10, while its probability is above 0

// Tables. A fixed outcome adds up to 100 with no negative part; a negative Win marks a
// variable pair. A growth rate is 0..100, or -1 with a range 0 <= Low <= High <= 100.
// A seeding range of variable outcomes runs from low to high within 0..100.
bool Outcome(const OutcomeTriple& t);
bool FixedOutcome(int64_t win, int64_t loss, int64_t standoff);
bool GrowthRateEntry(const GrowthRate& g);
bool WholePercent(int64_t value); // 0..100: a rate against a species, a seeding-range end
bool OutcomeRange(int64_t low, int64_t high);
bool MortalSize(int64_t cells); // 0..700*700, the largest landscape

} // namespace rules

// The first general parameter of a record that breaks its rule, in the dialog's order:
// the parameter file key and what is wrong (e.g. "Maxgen 0 is outside 1..65535").
struct ParameterFault {
    const char* Key = "";
    std::string What;
};
std::optional<ParameterFault> FirstGeneralParameterFault(const GParamStruct& g);

} // namespace quorrel
