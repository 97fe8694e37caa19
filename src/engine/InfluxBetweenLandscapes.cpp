#include "engine/InfluxBetweenLandscapes.h"

#include "engine/GenotypeOperations.h"
#include "engine/Recruitment.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

namespace quorrel {

namespace {

// The donor by the scan order of FindOccupiedCell, over rows read from the store: the rest
// of row v, row v leftwards from u - 1, the rows below, then the rows above.
bool ScanForDonor(const GParamStruct& g, LandscapeArrayStores::PreviousReader& source, int& u, int& v)
{
    std::vector<Cell> row;
    source.ReadRow(v, row);
    for (int x = u; x <= g.MaxX; ++x)
        if (row[x].Species != 0) {
            u = x;
            return true;
        }
    for (int x = u - 1; x >= 1; --x)
        if (row[x].Species != 0) {
            u = x;
            return true;
        }
    auto scanRows = [&](int from, int to) {
        for (int y = from; y <= to; ++y) {
            source.ReadRow(y, row);
            for (int x = 1; x <= g.MaxX; ++x)
                if (row[x].Species != 0) {
                    u = x;
                    v = y;
                    return true;
                }
        }
        return false;
    };
    return scanRows(v + 1, g.MaxY) || scanRows(1, v - 1);
}

} // namespace

void SkipDraws(Rng& rng, uint64_t steps)
{
    // The composition of steps advances, by squaring: s -> mul * s + add.
    uint32_t mul = 1u;
    uint32_t add = 0u;
    uint32_t stepMul = Rng::Multiplier;
    uint32_t stepAdd = Rng::Increment;
    while (steps > 0) {
        if ((steps & 1u) != 0) {
            mul = mul * stepMul;
            add = add * stepMul + stepAdd;
        }
        stepAdd = stepAdd * stepMul + stepAdd;
        stepMul = stepMul * stepMul;
        steps >>= 1;
    }
    rng.RandSeed = mul * rng.RandSeed + add;
}

void InfluxBetweenLandscapes(const ParameterSet& p, const ArraySettings& array, LandscapeArrayStores& stores,
                             LandscapeGrid& current, GenotypeGrid* currentGenotypes, Rng& rng, int r, int c)
{
    const GParamStruct& g = p.GParamRec;
    const int rows = stores.Rows();
    const int cols = stores.Cols();
    const auto wrap = [](int i, int n) { return i < 1 ? n : (i > n ? 1 : i); };
    // The sources as they are needed: 0 left, 1 below, 2 right, 3 above.
    const std::array<std::pair<int, int>, 4> sources = {std::pair{r, wrap(c - 1, cols)}, std::pair{wrap(r + 1, rows), c},
                                                        std::pair{r, wrap(c + 1, cols)}, std::pair{wrap(r - 1, rows), c}};
    std::array<std::optional<LandscapeArrayStores::PreviousReader>, 4> readers;
    const int probes = g.MaxX * g.MaxY + 1;

    for (int y = 1; y <= g.MaxY; ++y) {
        for (int x = 1; x <= g.MaxX; ++x) {
            if (current(x, y).Species != 0)
                continue;
            if (!(rng.RandomReal() < array.InfluxBetween))
                continue;
            const int d = static_cast<int>(rng.RandomInt(4));
            std::optional<LandscapeArrayStores::PreviousReader>& source = readers[static_cast<std::size_t>(d)];
            if (!source)
                source.emplace(stores.OpenPrevious(sources[d].first, sources[d].second));
            if (source->Occupied() == 0) {
                // Every probe would miss and so would the scan: the draws alone are taken.
                SkipDraws(rng, 2 * static_cast<uint64_t>(probes));
                continue;
            }
            int u = 0;
            int v = 0;
            Cell donor;
            int tries = probes;
            do {
                v = static_cast<int>(rng.RandomInt(g.MaxY)) + 1;
                u = static_cast<int>(rng.RandomInt(g.MaxX)) + 1;
                donor = source->ReadCell(u, v);
                --tries;
            } while (donor.Species == 0 && tries > 0);
            if (donor.Species == 0) {
                if (!ScanForDonor(g, *source, u, v))
                    continue;
                donor = source->ReadCell(u, v);
            }
            if (!(rng.RandomReal() < p.RecruitmentVector[donor.Species]))
                continue;
            Cell settler = donor;
            MutateRecruitGRate(g, rng, settler, p.HasVariableGRate(settler.Species), nullptr);
            current(x, y) = settler;
            if (currentGenotypes != nullptr) {
                OutcomeTriple* genotype = currentGenotypes->Renew(x, y);
                source->ReadGenotype(u, v, genotype);
                const int s = settler.Species;
                for (int j = 1; j <= g.Maxspec; ++j)
                    if (j != s && IsVariablePair(p, s, j) && rng.RandomReal() < g.MutationOTC)
                        MutateTriple(genotype[j - 1], g.MutAmtOTC, rng);
            }
        }
    }
}

} // namespace quorrel
