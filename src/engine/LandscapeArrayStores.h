#pragma once

#include "engine/Genotypes.h"
#include "engine/GenotypeStore.h"
#include "engine/Landscapes.h"
#include "engine/LandscapeStore.h"
#include "engine/Rng.h"
#include "params/ParameterSet.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace quorrel {

// The stores of every landscape of an array (a LandscapeStore each, with a GenotypeStore
// for variable outcomes): the landscapes live in scratch files in the
// given folder (the program's private temporary directory) and one at a time in the
// landscape pair (and, for a variable-outcome array, the genotype grids). Landscapes are
// addressed (r, c), row 1..rows, column 1..cols. Every scratch file is deleted when the
// object goes (or by DeleteScratchFiles), whichever way the run ends.
class LandscapeArrayStores {
public:
    // The previous state of one landscape opened for reading single cells and genotypes by
    // their offset in the files, and rows for a scan; valid until the stores are advanced.
    class PreviousReader {
    public:
        Cell ReadCell(int u, int v);
        void ReadRow(int v, std::vector<Cell>& cells);
        // The genotype of cell (u, v) into out (Maxspec triples).
        void ReadGenotype(int u, int v, OutcomeTriple* out);
        int64_t Occupied() const { return occupied_; }

    private:
        friend class LandscapeArrayStores;
        PreviousReader(const GParamStruct& p, const LandscapeStore& cells, const GenotypeStore* genotypes);

        int maxX_;
        int maxspec_;
        int64_t occupied_;
        // The files of the previous state, read through their own descriptors.
        const ScratchFile* cells_;
        const ScratchFile* genotypes_;
        std::vector<unsigned char> bytes_;
    };

    // withGenotypes: a variable-outcome array, which keeps genotype stores too. The stores
    // are read and written through mappings of their files while the mapped ones together
    // take at most MappedBytes (the pages of larger ones would fill the process's memory):
    // the landscape stores when they fit, and then the genotype stores too when both fit.
    static constexpr std::uint64_t MappedBytes = std::uint64_t(512) << 20;

    LandscapeArrayStores(const ParameterSet& params, Landscapes& landscapes, Rng& rng,
                         const std::filesystem::path& folder, int rows, int cols, bool withGenotypes);

    // The genotype grids that SaveGenotypes and LoadGenotypes work on.
    void AttachGenotypes(Genotypes& grids) { genotypes_ = &grids; }

    int Rows() const { return rows_; }
    int Cols() const { return cols_; }
    bool WithGenotypes() const { return !genotypeStores_.empty(); }

    // CurrentLandscape -> current-state file of (r, c); its occupied cells counted on the way,
    // or from the file when first asked for (see LandscapeStore::Save).
    void SaveLandscape(int r, int c, bool countOccupied = true);
    // PreviousLandscape -> previous-state file of (r, c).
    void SavePreviousLandscape(int r, int c);
    // The previous-state file -> PreviousLandscape, or the current-state file -> CurrentLandscape.
    void LoadLandscape(int r, int c, StoredState which);
    // At the start of a generation every previous state becomes a copy of the current state.
    // Under mean field each landscape is rearranged by the reshuffled permutation on the way
    // (CopyLandscapeToPrevious); a variable-outcome array then moves the landscape's genotypes
    // by that same permutation at once, so that every genotype stays with its individual.
    void AdvanceLandscapeStores();

    // The current genotype grid -> current genotype file of (r, c); likewise the previous.
    void SaveGenotypes(int r, int c);
    void SavePreviousGenotypes(int r, int c);
    void LoadGenotypes(int r, int c, StoredState which);
    // Without mean field every previous genotype file becomes a copy of the current one.
    // Under mean field AdvanceLandscapeStores has advanced the genotypes with their
    // individuals already, and nothing is left to do.
    void AdvanceGenotypeStores();

    PreviousReader OpenPrevious(int r, int c) const;
    int64_t OccupiedInPrevious(int r, int c) const { return Store(r, c).Occupied(StoredState::Previous); }

    const LandscapeStore& Landscape(int r, int c) const { return Store(r, c); }
    const GenotypeStore& GenotypesOf(int r, int c) const;

    void DeleteScratchFiles() noexcept;

private:
    std::size_t Index(int r, int c) const;
    LandscapeStore& Store(int r, int c) { return landscapeStores_[Index(r, c)]; }
    const LandscapeStore& Store(int r, int c) const { return landscapeStores_[Index(r, c)]; }
    Genotypes& Grids();

    const ParameterSet& params_;
    Landscapes& landscapes_;
    Rng& rng_;
    int rows_;
    int cols_;
    std::vector<LandscapeStore> landscapeStores_;
    std::vector<GenotypeStore> genotypeStores_;
    Genotypes* genotypes_ = nullptr;
    // The block that the genotype stores gather and read their rows through, one for all of
    // them, so that the memory of an array run does not grow with its number of landscapes.
    std::vector<std::byte> block_;
};

} // namespace quorrel
