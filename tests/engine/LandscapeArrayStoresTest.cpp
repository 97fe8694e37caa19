#include "EngineTestSupport.h"

#include "engine/ArrayFileError.h"
#include "engine/GenotypeGrid.h"
#include "engine/GenotypeStore.h"
#include "engine/LandscapeArrayStores.h"
#include "engine/ScratchFile.h"
#include "params/AssertionFailure.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <string>
#include <vector>

namespace quorrel::test {
namespace {

namespace fs = std::filesystem;

int FileCount(const fs::path& dir)
{
    int n = 0;
    for (const auto& entry : fs::directory_iterator(dir))
        n += entry.is_regular_file() ? 1 : 0;
    return n;
}

class StoresTest : public ::testing::Test {
protected:
    TempFolder dir;
    ParameterSet params = SmallParameters(12, 10, 3);
    Landscapes lands;
    Rng rng;
    Genotypes grids;

    void SetUp() override
    {
        grids.Allocate(12, 10, 3);
    }

    // Every cell different: species by position, the growth rate numbering the individual,
    // and a genotype that names it too.
    void Fill(int tag)
    {
        for (int y = 1; y <= 10; ++y)
            for (int x = 1; x <= 12; ++x) {
                const int k = (y - 1) * 12 + (x - 1);
                lands.CurrentLandscape(x, y) = Cell{(x + y + tag) % 4 == 0 ? 0 : (x + tag) % 3 + 1, float(k + tag) / 1024.0f};
                OutcomeTriple* g = grids.Current.Edit(x, y);
                g[0] = OutcomeTriple{int8_t(k % 100), int8_t(tag), int8_t(100 - k % 100 - tag)};
                g[2] = OutcomeTriple{int8_t(y), int8_t(x), int8_t(100 - x - y)};
            }
    }
};

TEST_F(StoresTest, BothFormatsRoundTripByteExactAndAreDeletedWithTheStores)
{
    {
        LandscapeArrayStores stores(params, lands, rng, dir.Path(), 2, 3, true);
        stores.AttachGenotypes(grids);
        Fill(1);
        lands.CurrentLandscape(1, 1) = Cell{258, -1.5f};
        stores.SaveLandscape(2, 3);
        stores.SaveGenotypes(2, 3);
        EXPECT_EQ(FileCount(dir.Path()), 2);

        const std::string cells = ReadAll(stores.Landscape(2, 3).File(StoredState::Current).Path().string());
        ASSERT_EQ(cells.size(), 12u * 10u * 8u);
        EXPECT_EQ(cells.substr(0, 8), std::string("\x02\x01\x00\x00\x00\x00\xc0\xbf", 8));
        const std::string genotypes = ReadAll(stores.GenotypesOf(2, 3).File(StoredState::Current).Path().string());
        ASSERT_EQ(genotypes.size(), 12u * 10u * 9u);
        // Cell (5, 3) is record 2 * 12 + 4; its third triple is (3, 5, 92).
        EXPECT_EQ(genotypes.substr(28 * 9 + 6, 3), std::string("\x03\x05\x5c", 3));
        EXPECT_EQ(genotypes.substr(28 * 9 + 3, 3), std::string("\xff\x00\x00", 3));

        const LandscapeGrid saved = lands.CurrentLandscape;
        const std::string savedGenotypes = genotypes;
        Fill(2);
        stores.LoadLandscape(2, 3, StoredState::Current);
        stores.LoadGenotypes(2, 3, StoredState::Current);
        for (int y = 1; y <= 10; ++y)
            for (int x = 1; x <= 12; ++x)
                ASSERT_EQ(lands.CurrentLandscape(x, y), saved(x, y));
        stores.SaveGenotypes(1, 1);
        EXPECT_EQ(ReadAll(stores.GenotypesOf(1, 1).File(StoredState::Current).Path().string()), savedGenotypes);

        // (2, 3) as saved first, the others with what the grids hold now.
        stores.LoadLandscape(2, 3, StoredState::Current);
        for (int r = 1; r <= 2; ++r)
            for (int c = 1; c <= 3; ++c) {
                stores.SaveLandscape(r, c);
                stores.SaveGenotypes(r, c);
            }
        EXPECT_EQ(FileCount(dir.Path()), 12);
        stores.AdvanceLandscapeStores();
        stores.AdvanceGenotypeStores();
        // The previous states take over the current states' files; nothing is copied.
        EXPECT_EQ(FileCount(dir.Path()), 12);
        stores.LoadLandscape(2, 3, StoredState::Previous);
        EXPECT_EQ(lands.PreviousLandscape(1, 1), (Cell{258, -1.5f}));
        EXPECT_EQ(stores.OccupiedInPrevious(2, 3), stores.Landscape(2, 3).Occupied(StoredState::Current));

        auto reader = stores.OpenPrevious(2, 3);
        EXPECT_EQ(reader.ReadCell(5, 3), saved(5, 3));
        OutcomeTriple donor[3];
        reader.ReadGenotype(5, 3, donor);
        EXPECT_EQ(donor[2], (OutcomeTriple{3, 5, 92}));
        EXPECT_THROW(stores.LoadLandscape(3, 1, StoredState::Current), AssertionFailure);
    }
    EXPECT_EQ(FileCount(dir.Path()), 0);
}

// A scratch file written again is written over, then cut to what the second writing wrote.
TEST(ScratchFile, WritingAgainReplacesTheWholeContent)
{
    TempFolder dir;
    const ScratchFile file(dir.Path() / "f.tmp");
    for (const std::string text : {"a longer first content", "short"}) {
        ScratchFile::Handle h = file.OpenForWriting();
        h.Write(text.data(), text.size());
        h.Close();
        EXPECT_EQ(ReadAll(file.Path().string()), text);
    }
}

// The descriptor kept open: pieces lying apart in memory (more than one system call takes)
// land one after the other, a shorter writing again is cut to its length, reading past the
// end fails, a file cut short behind the run's back is read as it now stands and written out
// again, a file written by other means reads as written, and a file deleted behind the run's
// back is lost to readers and made again by writers: by system calls and through a mapping.
TEST(ScratchFile, PiecesLandInOrderAndALostFileIsNoticed)
{
    for (const bool mapped : {false, true}) {
        SCOPED_TRACE(mapped ? "mapped" : "by system calls");
        TempFolder dir;
        ScratchFile file(dir.Path() / "f.tmp");
        ScratchFile other(dir.Path() / "g.tmp");
        file.UseMapping(mapped);
        other.UseMapping(mapped);
        constexpr std::size_t Pieces = 3000; // more than two pages
        constexpr std::size_t Stride = 7;
        std::string memory(Pieces * Stride, '.');
        std::string want;
        for (std::size_t k = 0; k < Pieces; ++k) {
            const std::string piece = {char('a' + k % 26), char('A' + k / 26 % 26), char('0' + k % 10)};
            memory.replace(k * Stride, 3, piece);
            want += piece;
        }
        file.WriteAt(0, memory.data(), 3, Stride, Pieces);
        file.CutTo(want.size());
        EXPECT_EQ(ReadAll(file.Path().string()), want);
        std::string back(Pieces * Stride, '.');
        file.ReadAt(0, back.data(), 3, Stride, Pieces);
        EXPECT_EQ(back, memory);

        // Cut to a page and a bit by someone else: the start reads as it was, the rest is gone.
        fs::resize_file(file.Path(), 4100);
        std::string start(4100, '.');
        file.ReadAt(0, start.data(), start.size(), start.size(), 1);
        EXPECT_EQ(start, want.substr(0, 4100));
        EXPECT_THROW(file.ReadAt(4096, back.data(), 8, 8, 1), ArrayFileError);
        file.WriteAt(0, memory.data(), 3, Stride, Pieces);
        EXPECT_EQ(ReadAll(file.Path().string()), want);

        file.WriteAt(0, "short", 5, 5, 1);
        file.CutTo(5);
        EXPECT_EQ(ReadAll(file.Path().string()), "short");
        EXPECT_EQ(file.Size(), 5u);
        char past[8];
        EXPECT_THROW(file.ReadAt(2, past, sizeof past, sizeof past, 1), ArrayFileError);
        // Written past its end, the file grows to the end of the writing.
        file.WriteAt(8, "tail", 4, 4, 1);
        EXPECT_EQ(ReadAll(file.Path().string()), std::string("short\0\0\0tail", 12));
        std::string twelve(12, '.');
        file.ReadAt(0, twelve.data(), 12, 12, 1);
        EXPECT_EQ(twelve, std::string("short\0\0\0tail", 12));

        // Written through a handle, or as a copy of another file.
        {
            ScratchFile::Handle h = file.OpenForWriting();
            h.Write("handle", 6);
            h.Close();
        }
        std::string six(6, '.');
        file.ReadAt(0, six.data(), 6, 6, 1);
        EXPECT_EQ(six, "handle");
        other.WriteAt(0, "copied", 6, 6, 1);
        file.CopyFrom(other);
        file.ReadAt(0, six.data(), 6, 6, 1);
        EXPECT_EQ(six, "copied");
        file.WriteAt(0, "short", 5, 5, 1);
        file.CutTo(5);

        fs::remove(file.Path());
        try {
            file.ReadAt(0, past, 1, 1, 1);
            ADD_FAILURE() << "a deleted file was read";
        } catch (const ArrayFileError& e) {
            EXPECT_NE(std::string(e.what()).find("No such file or directory"), std::string::npos) << e.what();
        }
        file.WriteAt(0, "again", 5, 5, 1);
        file.CutTo(5);
        EXPECT_EQ(ReadAll(file.Path().string()), "again");
    }
}

// A genotype store larger than its block is written and read a block at a time, at the
// right offsets, by the whole-window load and by the row-by-row load alike; through the
// mapping it is gathered in place. Either way a longer file left from before is cut.
TEST(GenotypeStoreBlocks, ALandscapeOfManyBlocksRoundTrips)
{
    TempFolder dir;
    constexpr int MaxX = 700;
    constexpr int MaxY = 30; // rows of 84000 bytes: 12 to a block, three blocks
    constexpr int Maxspec = 40;
    for (const bool mapped : {false, true})
        for (const int windows : {0, 2}) {
            Genotypes grids;
            ASSERT_TRUE(grids.Allocate(MaxX, MaxY, Maxspec, std::numeric_limits<std::size_t>::max(), windows));
            for (int y = 1; y <= MaxY; ++y)
                for (int x = 1; x <= MaxX; x += (x + y) % 5 + 1) {
                    OutcomeTriple* g = grids.Current.Edit(x, y);
                    g[(x + y) % Maxspec] = OutcomeTriple{int8_t(y), int8_t(x % 100), int8_t(x / 100)};
                }
            std::vector<std::byte> want(grids.Current.InteriorBytes());
            grids.Current.SaveInterior(want);
            GenotypeStore store(dir.Path(), 1, 1);
            store.UseMapping(mapped);
            std::ofstream(store.File(StoredState::Current).Path(), std::ios::binary)
                << std::string(want.size() + 4096, 'x');
            std::vector<std::byte> block;
            store.Save(StoredState::Current, grids.Current, block);
            EXPECT_LT(block.size(), want.size());
            if (mapped) {
                EXPECT_TRUE(block.empty()) << "gathered through the block instead of in place";
            }
            const std::string file = ReadAll(store.File(StoredState::Current).Path().string());
            ASSERT_EQ(file.size(), want.size());
            EXPECT_EQ(std::memcmp(file.data(), want.data(), want.size()), 0);
            store.Load(StoredState::Current, grids.Previous, block);
            std::vector<std::byte> back(want.size());
            grids.Previous.SaveInterior(back);
            EXPECT_EQ(back, want) << windows << " windows, mapped " << mapped;
        }
}

// Advancing exchanges the files' roles; every state still reads back as the one last
// written or advanced, whatever order saving, advancing and loading come in.
TEST_F(StoresTest, AdvancedStatesReadBackAsIfCopied)
{
    LandscapeStore store(dir.Path(), 1, 1);
    const GParamStruct& g = params.GParamRec;
    auto saveCurrent = [&](int tag) {
        Fill(tag);
        store.Save(StoredState::Current, g, lands.CurrentLandscape);
        return lands.CurrentLandscape;
    };
    auto expectState = [&](StoredState which, const LandscapeGrid& want, const char* where) {
        LandscapeGrid got;
        store.Load(which, g, got);
        for (int y = 1; y <= g.MaxY; ++y)
            for (int x = 1; x <= g.MaxX; ++x)
                ASSERT_EQ(got(x, y), want(x, y)) << where << " at " << x << "," << y;
    };
    // The occupied cells as counted on the way, or from the file when the saving left them.
    auto occupiedIn = [&](const LandscapeGrid& grid) {
        int64_t n = 0;
        for (int y = 1; y <= g.MaxY; ++y)
            for (int x = 1; x <= g.MaxX; ++x)
                n += grid(x, y).Species != 0 ? 1 : 0;
        return n;
    };
    for (const bool counted : {true, false}) {
        Fill(counted ? 4 : 5);
        store.Save(StoredState::Current, g, lands.CurrentLandscape, counted);
        store.AdvanceToPrevious();
        EXPECT_EQ(store.Occupied(StoredState::Previous), occupiedIn(lands.CurrentLandscape)) << counted;
        EXPECT_GT(store.Occupied(StoredState::Current), 0);
    }
    const LandscapeGrid a = saveCurrent(1);
    store.AdvanceToPrevious();
    expectState(StoredState::Current, a, "current after advancing");
    expectState(StoredState::Previous, a, "previous after advancing");
    const LandscapeGrid b = saveCurrent(2);
    expectState(StoredState::Previous, a, "previous after saving the current state");
    expectState(StoredState::Current, b, "current after saving it");
    store.AdvanceToPrevious();
    store.AdvanceToPrevious();
    expectState(StoredState::Previous, b, "previous after advancing twice");
    // The previous state written while the current one is read from its file.
    Fill(3);
    const LandscapeGrid c = lands.CurrentLandscape;
    store.Save(StoredState::Previous, g, c);
    expectState(StoredState::Current, b, "current after writing the previous state");
    expectState(StoredState::Previous, c, "previous after writing it");
    store.Remove();
    EXPECT_EQ(FileCount(dir.Path()), 0);
}

// A state file cut short behind the run's back fails whoever reads it, the count of its
// occupied cells included, instead of giving part of a landscape.
TEST_F(StoresTest, AStateCutShortBehindTheRunsBackFailsItsReaders)
{
    for (const bool mapped : {false, true}) {
        SCOPED_TRACE(mapped ? "mapped" : "by system calls");
        LandscapeStore store(dir.Path(), 1, 1);
        store.UseMapping(mapped);
        const GParamStruct& g = params.GParamRec;
        Fill(1);
        store.Save(StoredState::Current, g, lands.CurrentLandscape, false);
        fs::resize_file(store.File(StoredState::Current).Path(), 100);
        EXPECT_THROW(store.Occupied(StoredState::Current), ArrayFileError);
        LandscapeGrid got;
        EXPECT_THROW(store.Load(StoredState::Current, g, got), ArrayFileError);
    }
}

TEST_F(StoresTest, MeanFieldMovesEveryGenotypeWithItsIndividual)
{
    params.GParamRec.MeanField = true;
    lands.MeanFieldPermutation.resize(120);
    for (int k = 0; k < 120; ++k)
        lands.MeanFieldPermutation[k] = k;
    LandscapeArrayStores stores(params, lands, rng, dir.Path(), 2, 2, true);
    stores.AttachGenotypes(grids);
    for (int r = 1; r <= 2; ++r)
        for (int c = 1; c <= 2; ++c) {
            Fill(r * 2 + c);
            stores.SaveLandscape(r, c);
            stores.SaveGenotypes(r, c);
        }
    rng.RandSeed = 5;
    stores.AdvanceLandscapeStores();
    stores.AdvanceGenotypeStores();
    for (int r = 1; r <= 2; ++r)
        for (int c = 1; c <= 2; ++c) {
            const int tag = r * 2 + c;
            stores.LoadLandscape(r, c, StoredState::Previous);
            stores.LoadGenotypes(r, c, StoredState::Previous);
            int moved = 0;
            for (int y = 1; y <= 10; ++y)
                for (int x = 1; x <= 12; ++x) {
                    const Cell cell = lands.PreviousLandscape(x, y);
                    // The growth rate names the individual's first position k.
                    const int k = int(cell.GRate * 1024.0f + 0.5f) - tag;
                    const OutcomeTriple* g = grids.Previous.Genotype(x, y);
                    ASSERT_EQ(g[0].Win, k % 100);
                    ASSERT_EQ(g[0].Loss, tag);
                    ASSERT_EQ(g[2], (OutcomeTriple{int8_t(k / 12 + 1), int8_t(k % 12 + 1), int8_t(100 - k / 12 - k % 12 - 2)}));
                    moved += k != (y - 1) * 12 + (x - 1) ? 1 : 0;
                }
            EXPECT_GT(moved, 100);
        }
}

} // namespace
} // namespace quorrel::test
