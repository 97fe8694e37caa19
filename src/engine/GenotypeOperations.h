#pragma once

#include "engine/Genotypes.h"
#include "engine/LandscapeGrid.h"
#include "engine/Rng.h"
#include "params/ParameterSet.h"

#include <cstdint>
#include <vector>

namespace quorrel {

// The genotype operations of the variable-outcome model: the passes over genotype grids
// (GenotypeGrid is the storage they work on, Genotypes the pair of grids of a run). Grids are traversed row by row:
// rows 1..MaxY outer, columns 1..MaxX inner. Failures name the module "ModelTwo".

// True when the outcome matrix marks the pair (s, j) variable (a negative Win of s over j).
inline bool IsVariablePair(const ParameterSet& p, int s, int j)
{
    return p.OutcomeMatrix[s][j].Win < 0;
}

// One new entry from a seeding range: Win = WinLow + RandomInt(WinHigh - WinLow + 1), then
// Loss = LossLow + RandomInt(min(100 - Win, LossHigh) - LossLow + 1), Standoff the rest.
// A range that leaves no valid triple is an assertion failure.
OutcomeTriple SeedTriple(const VariableOutcomeRange& range, Rng& rng);

// Whether an individual of species s has any variable entry (a pair (s, j), j != s,
// marked variable); without one its genotype stays unset.
bool HasVariableEntries(const ParameterSet& p, int s);

// Seeds every variable entry j != s of an individual of species s, in increasing j.
void SeedGenotype(const ParameterSet& p, const VariableOutcomeTable& seedRanges, int s, OutcomeTriple* genotype,
                  Rng& rng);

// Moves up to amount percentage points between two random components of the triple
// (1 Win, 2 Loss, 3 Standoff); a shortfall of the paired component comes from the third.
void MutateTriple(OutcomeTriple& t, int amount, Rng& rng);

// Genotypes move between the grids as record numbers of their common pool; grids on
// different pools are an internal error.
//
// Copies every interior genotype of the current grid to the previous grid, to the same
// position, or under mean field (a non-empty permutation) cell k to position
// permutation[k], where the landscape copy put its individual.
void CopyGenotypesToPrevious(const GParamStruct& g, const std::vector<int32_t>& permutation, Genotypes& genotypes);
void CopyGenotypesToPreviousLiteral(const GParamStruct& g, const std::vector<int32_t>& permutation,
                                    Genotypes& genotypes);

// Builds the border ring of ring from the interior of source: copies of the opposite
// edges on a torus, unset with an open border. SetGenotypeBorder is (previous, previous).
void BuildGenotypeRing(const GParamStruct& g, const GenotypeGrid& source, GenotypeGrid& ring);

// Every triple of every empty interior cell of the landscape becomes unset.
void ClearEmptyGenotypes(const GParamStruct& g, const LandscapeGrid& landscape, GenotypeGrid& genotypes);

// The probability that neighbour n with genotype gn takes the cell of occupant o with
// genotype go: 0 when n is empty or of o's species, n's growth rate when o is empty,
// otherwise float(OverGRate * 0.01 * (W + L) * 0.005 * rate), evaluated in double in
// this order, W and L from the genotypes for variable pairs and from the matrix otherwise.
float VariableOutcomeProbability(const ParameterSet& p, const Cell& n, const OutcomeTriple* gn, const Cell& o,
                                 const OutcomeTriple* go);

// The contention step of the variable-outcome model written as plainly as it reads: every
// interior cell of the current landscape and its genotype is written from the previous
// landscape and genotypes (rings in place), two draws per cell.
void VariableOutcomeRuleLiteral(const ParameterSet& p, const LandscapeGrid& previous, const GenotypeGrid& previousG,
                                LandscapeGrid& current, GenotypeGrid& currentG, Rng& rng);

} // namespace quorrel
