#include "engine/LandscapeArrayStores.h"

#include "engine/GenotypeOperations.h"
#include "engine/GridOperations.h"
#include "params/AssertionFailure.h"

#include <algorithm>

namespace quorrel {

namespace {
constexpr const char* Module = "LandscapeArray";
}

LandscapeArrayStores::PreviousReader::PreviousReader(const GParamStruct& p, const LandscapeStore& cells,
                                                     const GenotypeStore* genotypes)
    : maxX_(p.MaxX), maxspec_(p.Maxspec), occupied_(cells.Occupied(StoredState::Previous)),
      cells_(&cells.File(StoredState::Previous)),
      genotypes_(genotypes != nullptr ? &genotypes->File(StoredState::Previous) : nullptr)
{
}

Cell LandscapeArrayStores::PreviousReader::ReadCell(int u, int v)
{
    unsigned char bytes[LandscapeStore::CellBytes];
    const uint64_t record = static_cast<uint64_t>(v - 1) * maxX_ + (u - 1);
    cells_->ReadAt(record * LandscapeStore::CellBytes, bytes, sizeof bytes, sizeof bytes, 1);
    return LandscapeStore::Decode(bytes);
}

void LandscapeArrayStores::PreviousReader::ReadRow(int v, std::vector<Cell>& cells)
{
    bytes_.resize(LandscapeStore::CellBytes * maxX_);
    cells_->ReadAt(static_cast<uint64_t>(v - 1) * maxX_ * LandscapeStore::CellBytes, bytes_.data(), bytes_.size(),
                   bytes_.size(), 1);
    cells.resize(static_cast<std::size_t>(maxX_) + 1);
    for (int x = 1; x <= maxX_; ++x)
        cells[x] = LandscapeStore::Decode(bytes_.data() + LandscapeStore::CellBytes * (x - 1));
}

void LandscapeArrayStores::PreviousReader::ReadGenotype(int u, int v, OutcomeTriple* out)
{
    if (genotypes_ == nullptr)
        QRL_FAIL("The landscape array keeps no genotypes", Module);
    const uint64_t recordBytes = static_cast<uint64_t>(maxspec_) * sizeof(OutcomeTriple);
    const uint64_t record = static_cast<uint64_t>(v - 1) * maxX_ + (u - 1);
    genotypes_->ReadAt(record * recordBytes, out, recordBytes, recordBytes, 1);
}

LandscapeArrayStores::LandscapeArrayStores(const ParameterSet& params, Landscapes& landscapes, Rng& rng,
                                           const std::filesystem::path& folder, int rows, int cols,
                                           bool withGenotypes)
    : params_(params), landscapes_(landscapes), rng_(rng), rows_(rows), cols_(cols)
{
    if (folder.empty())
        QRL_FAIL("There is no folder for the scratch files of the landscapes", Module);
    landscapeStores_.reserve(static_cast<std::size_t>(rows) * cols);
    const GParamStruct& g = params.GParamRec;
    const std::uint64_t cells =
        static_cast<std::uint64_t>(std::max(g.MaxX, 0)) * static_cast<std::uint64_t>(std::max(g.MaxY, 0));
    const std::uint64_t states = 2 * static_cast<std::uint64_t>(rows) * static_cast<std::uint64_t>(cols);
    const std::uint64_t cellBytes = states * cells * LandscapeStore::CellBytes;
    const std::uint64_t genotypeBytes =
        withGenotypes ? states * cells * static_cast<std::uint64_t>(std::max(g.Maxspec, 0)) * sizeof(OutcomeTriple) : 0;
    const bool cellsMapped = cellBytes <= MappedBytes;
    const bool genotypesMapped = cellsMapped && cellBytes + genotypeBytes <= MappedBytes;
    for (int r = 1; r <= rows; ++r)
        for (int c = 1; c <= cols; ++c) {
            landscapeStores_.emplace_back(folder, r, c);
            landscapeStores_.back().UseMapping(cellsMapped);
            if (withGenotypes) {
                genotypeStores_.emplace_back(folder, r, c);
                genotypeStores_.back().UseMapping(genotypesMapped);
            }
        }
}

std::size_t LandscapeArrayStores::Index(int r, int c) const
{
    if (r < 1 || r > rows_ || c < 1 || c > cols_)
        QRL_FAIL("A landscape outside the array", Module);
    return static_cast<std::size_t>((r - 1) * cols_ + (c - 1));
}

Genotypes& LandscapeArrayStores::Grids()
{
    const GParamStruct& g = params_.GParamRec;
    if (genotypeStores_.empty() || genotypes_ == nullptr || !genotypes_->Current.Fits(g.MaxX, g.MaxY, g.Maxspec) ||
        !genotypes_->Previous.Fits(g.MaxX, g.MaxY, g.Maxspec))
        QRL_FAIL("nil cell within the landscape", Module);
    return *genotypes_;
}

const GenotypeStore& LandscapeArrayStores::GenotypesOf(int r, int c) const
{
    if (genotypeStores_.empty())
        QRL_FAIL("The landscape array keeps no genotypes", Module);
    return genotypeStores_[Index(r, c)];
}

void LandscapeArrayStores::SaveLandscape(int r, int c, bool countOccupied)
{
    Store(r, c).Save(StoredState::Current, params_.GParamRec, landscapes_.CurrentLandscape, countOccupied);
}

void LandscapeArrayStores::SavePreviousLandscape(int r, int c)
{
    Store(r, c).Save(StoredState::Previous, params_.GParamRec, landscapes_.PreviousLandscape);
}

void LandscapeArrayStores::LoadLandscape(int r, int c, StoredState which)
{
    LandscapeGrid& grid =
        which == StoredState::Current ? landscapes_.CurrentLandscape : landscapes_.PreviousLandscape;
    Store(r, c).Load(which, params_.GParamRec, grid);
}

void LandscapeArrayStores::AdvanceLandscapeStores()
{
    const GParamStruct& g = params_.GParamRec;
    for (int r = 1; r <= rows_; ++r)
        for (int c = 1; c <= cols_; ++c) {
            if (!g.MeanField) {
                Store(r, c).AdvanceToPrevious();
                continue;
            }
            LoadLandscape(r, c, StoredState::Current);
            CopyLandscapeToPrevious(g, landscapes_, rng_);
            SavePreviousLandscape(r, c);
            if (WithGenotypes()) {
                LoadGenotypes(r, c, StoredState::Current);
                CopyGenotypesToPrevious(g, landscapes_.MeanFieldPermutation, Grids());
                SavePreviousGenotypes(r, c);
            }
        }
}

void LandscapeArrayStores::SaveGenotypes(int r, int c)
{
    genotypeStores_.at(Index(r, c)).Save(StoredState::Current, Grids().Current, block_);
}

void LandscapeArrayStores::SavePreviousGenotypes(int r, int c)
{
    genotypeStores_.at(Index(r, c)).Save(StoredState::Previous, Grids().Previous, block_);
}

void LandscapeArrayStores::LoadGenotypes(int r, int c, StoredState which)
{
    Genotypes& grids = Grids();
    genotypeStores_.at(Index(r, c)).Load(which, which == StoredState::Current ? grids.Current : grids.Previous, block_);
}

void LandscapeArrayStores::AdvanceGenotypeStores()
{
    if (params_.GParamRec.MeanField)
        return;
    for (GenotypeStore& store : genotypeStores_)
        store.AdvanceToPrevious();
}

LandscapeArrayStores::PreviousReader LandscapeArrayStores::OpenPrevious(int r, int c) const
{
    const std::size_t k = Index(r, c);
    return PreviousReader(params_.GParamRec, landscapeStores_[k],
                          genotypeStores_.empty() ? nullptr : &genotypeStores_[k]);
}

void LandscapeArrayStores::DeleteScratchFiles() noexcept
{
    for (LandscapeStore& store : landscapeStores_)
        store.Remove();
    for (GenotypeStore& store : genotypeStores_)
        store.Remove();
}

} // namespace quorrel
