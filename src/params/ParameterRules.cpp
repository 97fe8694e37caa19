#include "params/ParameterRules.h"

#include <cstdio>

namespace quorrel {

namespace rules {

namespace {

bool Within(int64_t value, int64_t low, int64_t high)
{
    return value >= low && value <= high;
}

} // namespace

bool SpeciesCount(int64_t n) { return Within(n, MinSpecies, MaxSpecies); }
bool LandscapeSide(int64_t cells) { return Within(cells, MinLandscapeSide, MaxLandscapeSide); }

bool CellSize(int64_t pix, int64_t maxX, int64_t maxY)
{
    return pix >= 1 && pix * maxX <= MaxDisplaySide && pix * maxY <= MaxDisplaySide;
}

bool Generations(int64_t maxgen) { return Within(maxgen, 1, MaxGenerations); }
bool Seed(int64_t seed) { return seed >= 0; }
bool ListCode(int64_t code, int items) { return Within(code, 0, items - 1); }

bool CoverFileGiven(int32_t cover, const std::string& file)
{
    return cover != 2 || file.find_first_not_of(' ') != std::string::npos;
}

bool Percentage(double value) { return value >= 0.0 && value <= 100.0; }
bool Probability(double value) { return value >= 0.0 && value <= 1.0; }
bool PatchSize(int64_t size, int64_t maxX, int64_t maxY) { return Within(size, 0, maxX * maxY); }
bool MutationAmount(int64_t amount) { return Within(amount, 1, MaxMutationAmount); }

bool Outcome(const OutcomeTriple& t)
{
    return t.Win < 0 || FixedOutcome(t.Win, t.Loss, t.Standoff);
}

bool FixedOutcome(int64_t win, int64_t loss, int64_t standoff)
{
    return win >= 0 && loss >= 0 && standoff >= 0 && win + loss + standoff == 100;
}

bool GrowthRateEntry(const GrowthRate& g)
{
    if (g.Rate == -1)
        return OutcomeRange(g.Low, g.High);
    return WholePercent(g.Rate);
}

bool WholePercent(int64_t value) { return Within(value, 0, 100); }
bool OutcomeRange(int64_t low, int64_t high) { return WholePercent(low) && WholePercent(high) && low <= high; }
bool MortalSize(int64_t cells) { return Within(cells, 0, int64_t(MaxLandscapeSide) * MaxLandscapeSide); }

} // namespace rules

namespace {

std::string Number(double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.9g", value);
    return buffer;
}

std::string Outside(const char* key, const std::string& value, const std::string& range)
{
    return std::string(key) + " " + value + " is outside " + range;
}

} // namespace

std::optional<ParameterFault> FirstGeneralParameterFault(const GParamStruct& g)
{
    const auto fault = [](const char* key, std::string what) { return ParameterFault{key, std::move(what)}; };
    const auto whole = [](int64_t v) { return std::to_string(v); };
    if (!rules::SpeciesCount(g.Maxspec))
        return fault("Maxspec", Outside("Maxspec", whole(g.Maxspec), "2..40"));
    if (!rules::LandscapeSide(g.MaxX))
        return fault("MaxX", Outside("MaxX", whole(g.MaxX), "10..700"));
    if (!rules::LandscapeSide(g.MaxY))
        return fault("MaxY", Outside("MaxY", whole(g.MaxY), "10..700"));
    if (!rules::CellSize(g.PIX, g.MaxX, g.MaxY))
        return fault("PIX", "PIX " + whole(g.PIX) + " with " + whole(g.MaxX) + " x " + whole(g.MaxY) +
                                " cells gives " + whole(int64_t(g.PIX) * g.MaxX) + " x " +
                                whole(int64_t(g.PIX) * g.MaxY) + " pixels; each side must lie within 1..700");
    if (!rules::Generations(g.Maxgen))
        return fault("Maxgen", Outside("Maxgen", whole(g.Maxgen), "1..65535"));
    if (!rules::Seed(g.RandSeed))
        return fault("RandSeed", "RandSeed " + whole(g.RandSeed) + " is negative");
    if (!rules::ListCode(g.Init, 3))
        return fault("Init", Outside("Init", whole(g.Init), "0..2"));
    if (!rules::ListCode(g.Cover, 3))
        return fault("Cover", Outside("Cover", whole(g.Cover), "0..2"));
    if (!rules::CoverFileGiven(g.Cover, g.CoverFile))
        return fault("CoverFile", "CoverFile is empty while Cover is 2 (file)");
    if (!rules::ListCode(g.Border, 2))
        return fault("Border", Outside("Border", whole(g.Border), "0..1"));
    if (!rules::Percentage(g.TotalCover))
        return fault("TotalCover", Outside("TotalCover", Number(g.TotalCover), "0..100"));
    if (!rules::Percentage(g.OverGRate))
        return fault("OverGRate", Outside("OverGRate", whole(g.OverGRate), "0..100"));
    if (!rules::Probability(g.DisturbProb))
        return fault("DisturbProb", Outside("DisturbProb", Number(g.DisturbProb), "0..1"));
    if (!rules::PatchSize(g.PatchSize, g.MaxX, g.MaxY))
        return fault("PatchSize", Outside("PatchSize", whole(g.PatchSize),
                                          "0.." + whole(int64_t(g.MaxX) * g.MaxY) + " (MaxX * MaxY)"));
    if (!rules::ListCode(g.PatchType, 2))
        return fault("PatchType", Outside("PatchType", whole(g.PatchType), "0..1"));
    if (!rules::Probability(g.Influx))
        return fault("Influx", Outside("Influx", Number(g.Influx), "0..1"));
    if (!rules::ListCode(g.RecruitType, 2))
        return fault("RecruitType", Outside("RecruitType", whole(g.RecruitType), "0..1"));
    if (!rules::Probability(g.MutationGR))
        return fault("MutationGR", Outside("MutationGR", Number(g.MutationGR), "0..1"));
    if (g.MutationGR > 0.0f && !rules::MutationAmount(g.MutAmtGR))
        return fault("MutAmtGR", Outside("MutAmtGR", whole(g.MutAmtGR), "1..10") + " while MutationGR is above 0");
    if (!rules::Probability(g.MutationOTC))
        return fault("MutationOTC", Outside("MutationOTC", Number(g.MutationOTC), "0..1"));
    if (g.MutationOTC > 0.0f && !rules::MutationAmount(g.MutAmtOTC))
        return fault("MutAmtOTC",
                     Outside("MutAmtOTC", whole(g.MutAmtOTC), "1..10") + " while MutationOTC is above 0");
    return std::nullopt;
}

} // namespace quorrel
