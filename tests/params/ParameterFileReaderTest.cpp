#include "ParameterSamples.h"
#include "TempFolder.h"

#include "params/ParameterFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

namespace quorrel {
namespace {

using test::Crlf;
using test::StartupDefaults;
using test::TempFolder;

testing::AssertionResult SameSet(const ParameterSet& a, const ParameterSet& b)
{
    std::string differs;
    const auto check = [&differs](bool same, const char* name) {
        if (!same)
            differs += std::string(" ") + name;
    };
    check(a.GParamRec == b.GParamRec, "GParamRec");
    check(a.OutcomeMatrix == b.OutcomeMatrix, "OutcomeMatrix");
    check(a.GrowthRates == b.GrowthRates, "GrowthRates");
    check(a.GRateFractions == b.GRateFractions, "GRateFractions");
    check(a.RateAgainst == b.RateAgainst, "RateAgainst");
    check(a.MortalityVector == b.MortalityVector, "MortalityVector");
    check(a.RecruitmentVector == b.RecruitmentVector, "RecruitmentVector");
    check(a.VariableOutcomeVector == b.VariableOutcomeVector, "VariableOutcomeVector");
    check(a.StandoffPercent == b.StandoffPercent && a.OutcomeRandomMode == b.OutcomeRandomMode &&
              a.GRateRandomising == b.GRateRandomising && a.StartDir == b.StartDir,
          "settings");
    if (differs.empty())
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "the sets differ in" << differs;
}

std::string Listing(const ParameterSet& p, const std::string& firstLine, bool dependentGRates = true)
{
    std::ostringstream out;
    WriteParameterListing(out, p, firstLine, dependentGRates);
    return out.str();
}

std::string Replaced(std::string text, const std::string& from, const std::string& to)
{
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

// Five species with every kind of entry the file holds.
ParameterSet RichSet()
{
    ParameterSet p = StartupDefaults();
    p.GParamRec = GParamStruct{5,    233,   100,  3,     500, 4321, 1,     2,     "/data/my covers/start.txt",
                               1,    37.25f, 80,  0.0123f, 9,  1,    0.3f,  0,     1e-5f,
                               3,    0.05f, 7,     true};
    for (int j = 2; j <= 5; ++j)
        for (int i = 1; i < j; ++i)
            p.OutcomeMatrix[i][j] = OutcomeTriple{int8_t(10 * i), int8_t(5 * j), int8_t(100 - 10 * i - 5 * j)};
    p.OutcomeMatrix[1][3] = OutcomeTriple{-1, 0, 0};
    p.OutcomeMatrix[2][5] = OutcomeTriple{-1, 0, 0};
    p.GrowthRates[1] = GrowthRate{35, 0, 0};
    p.GrowthRates[2] = GrowthRate{-1, 20, 60};
    p.GrowthRates[3] = GrowthRate{0, 0, 0};
    p.GrowthRates[4] = GrowthRate{100, 0, 0};
    p.GrowthRates[5] = GrowthRate{-1, 0, 100};
    for (int i = 1; i <= 5; ++i)
        for (int j = 1; j <= 5; ++j)
            p.RateAgainst[i][j] = static_cast<float>((i * 13 + j * 7) % 101 * 0.01);
    p.RateAgainst[1][2] = 0.333f; // not a whole percent
    p.MortalityVector[0] = 7.0f;
    for (int i = 1; i <= 5; ++i) {
        p.MortalityVector[i] = 0.015f * i;
        p.VariableOutcomeVector[i] = VariableOutcomeRange{int8_t(i), int8_t(50 + i), int8_t(2 * i), 40};
        p.RecruitmentVector[i] = 0.1f * i;
    }
    p.MirrorOutcomeMatrix();
    p.UpdateGRateFractions();
    return p;
}

// Reads the file into the start-up set and completes it as the callers do.
ParameterSet ReadIntoDefaults(const std::string& path, bool dependentGRates)
{
    ParameterSet p = StartupDefaults();
    ReadParameterFile(p, path, dependentGRates);
    p.MirrorOutcomeMatrix();
    p.UpdateGRateFractions();
    return p;
}

TEST(ParameterFileReader, WriteThenReadGivesTheSameSetWithRatesAgainstSpeciesInWholePercent)
{
    TempFolder folder;
    const ParameterSet rich = RichSet();
    WriteParameterFile(rich, folder.File("rich.prm"));

    ParameterSet expected = rich;
    for (int i = 1; i <= 5; ++i)
        for (int j = 1; j <= 5; ++j)
            expected.RateAgainst[i][j] =
                static_cast<float>(std::nearbyint(double(rich.RateAgainst[i][j]) * 100.0) * 0.01);
    EXPECT_EQ(expected.RateAgainst[1][2], 0.33f);
    EXPECT_TRUE(SameSet(ReadIntoDefaults(folder.File("rich.prm"), true), expected));
}

TEST(ParameterFileReader, ShortGrowthRateLinesWriteAndReadWithoutRatesAgainstSpecies)
{
    TempFolder folder;
    const ParameterSet rich = RichSet();
    WriteParameterFile(rich, folder.File("rich.prm"), false);

    ParameterSet expected = rich;
    expected.RateAgainst = StartupDefaults().RateAgainst; // not in the file: kept
    EXPECT_TRUE(SameSet(ReadIntoDefaults(folder.File("rich.prm"), false), expected));
}

// LF line ends; no PIX, Cover or MeanField line; an obsolete key; short and variable growth-rate lines;
// a CoverFile line that ends right after "=".
const char* const HandWrittenFile = R"(written by hand
 
  Maxspec    =   3
  MaxX       =   50
  MaxY       =   40
  Maxgen     =   10
  RandSeed   =   70000
  Init       =   1
  CoverFile  =
  Border     =   1  {open}
  TotalCover =   35.5
  OverGRate  =   80
  DisturbProb=   1E-3
  PatchSize  =   4
  PatchType  =   1
  Influx     =   0.5
  RecruitType=   0
  MutationGR =   0
  MutAmtGR   =   2
  MutationOTC=   0
  MutAmtOTC  =   3
  ParasiteNr =   5
 
Outcome Matrix : used portion only
No.     2   3
   1   30  -1
   1   50   0
   1   20   0
   2       60
   2       10
   2       30

Growth Rates
   1  45
   2  -1  20  60  25
3 -1 10 40

Mortality Vector
   1 0.5
   2 0
   3 2.5E-1
  Mortal-Size=   6
 
Variable Outcome Vector
   1   0 100  10  50
   2   5  95   0 100
   3   0 100   0 100
 
Recruitment Vector
   1 0.02
   2 1
   3 0
)";

TEST(ParameterFileReader, OlderAndHandWrittenFiles)
{
    TempFolder folder;
    folder.Write("hand.prm", HandWrittenFile);
    ParameterSet p = StartupDefaults();
    p.GParamRec.PIX = 2;
    p.GParamRec.CoverFile = "/old/cover.txt";
    p.GParamRec.MeanField = true;
    p.RateAgainst[1][5] = 0.3f;
    p.RateAgainst[5][1] = 0.3f;

    ParameterSet expected = p;
    expected.GParamRec = GParamStruct{3,  50, 40,    2,    10, 70000, 1, 0, "", 1, 35.5f,
                                      80, float(1e-3), 4,  1,  0.5f, 0, 0.0f, 2, 0.0f, 3, false};
    expected.OutcomeMatrix[1][2] = OutcomeTriple{30, 50, 20};
    expected.OutcomeMatrix[1][3] = OutcomeTriple{-1, 0, 0};
    expected.OutcomeMatrix[2][3] = OutcomeTriple{60, 10, 30};
    expected.GrowthRates[1] = GrowthRate{45, 0, 0};
    expected.GrowthRates[2] = GrowthRate{-1, 20, 60};
    expected.GrowthRates[3] = GrowthRate{-1, 10, 40};
    for (int j = 1; j <= 3; ++j) {
        expected.RateAgainst[1][j] = float(45 * 0.01);
        expected.RateAgainst[2][j] = j == 1 ? float(25 * 0.01) : float(20 * 0.01);
        expected.RateAgainst[3][j] = 0.10f;
    }
    expected.RateAgainst[1][5] = 1.0f; // beyond N
    expected.RateAgainst[5][1] = 1.0f;
    expected.MortalityVector[0] = 6.0f;
    expected.MortalityVector[1] = 0.5f;
    expected.MortalityVector[2] = 0.0f;
    expected.MortalityVector[3] = 0.25f;
    expected.VariableOutcomeVector[1] = VariableOutcomeRange{0, 100, 10, 50};
    expected.VariableOutcomeVector[2] = VariableOutcomeRange{5, 95, 0, 100};
    expected.RecruitmentVector[1] = 0.02f;
    expected.RecruitmentVector[2] = 1.0f;
    expected.RecruitmentVector[3] = 0.0f;

    ReadParameterFile(p, folder.File("hand.prm"));
    EXPECT_TRUE(SameSet(p, expected));
}

TEST(ParameterFileReader, AFileChangesOnlyWhatItHoldsButClearsCoverFileAndMeanField)
{
    TempFolder folder;
    folder.Write("few.prm", Crlf("few keys\n \n  Maxspec    =        4\n  RandSeed   =       77\n \n"));
    ParameterSet p = RichSet();
    ParameterSet expected = p;
    expected.GParamRec.Maxspec = 4;
    expected.GParamRec.RandSeed = 77;
    expected.GParamRec.CoverFile = "";
    expected.GParamRec.MeanField = false;
    ReadParameterFile(p, folder.File("few.prm"));
    EXPECT_TRUE(SameSet(p, expected));
}

TEST(ParameterFileReader, RefusedFilesLeaveTheSetAsItWasAndNameFileAndLine)
{
    const std::string good = Listing(StartupDefaults(), "good.prm");
    std::string tooLong = good;
    for (int line = 55; line <= 501; ++line)
        tooLong += " \r\n";
    const struct {
        std::string content;
        int line;
        std::string what;
    } cases[] = {
        {Replaced(good, "  Maxgen     =      100", "  Maxgen     =      12a"), 7, "\"12a\""},
        {Replaced(good, "  Maxspec    =        3", "  Maxspec    =       41"), 3, "Maxspec 41"},
        {Replaced(good, "  MaxX       =      200", "  MaxX       =        5"), 4, "MaxX 5"},
        {Replaced(good, "  PIX        =        1", "  PIX        =        4"), 6, "800"},
        {Replaced(good, "  RecruitType=        1", "  RecruitType=        2"), 19, "RecruitType 2"},
        {Replaced(good, "   1  100 100\r\n", "   1  200 100\r\n"), 28, "200"},
        {Replaced(good, "   2 100   0   0 100", "   2 128   0   0 100"), 37, "128"},
        {Replaced(good, "   3 9.99999977648258E-0003\r\n", ""), 53, "ends"},
        {tooLong, 501, "500"},
        // Integers are checked as written, not by their low 16 bits.
        {Replaced(good, "  Maxspec    =        3", "  Maxspec    =    65541"), 3, "Maxspec 65541"},
        {Replaced(good, "  MaxX       =      200", "  MaxX       =    65556"), 4, "MaxX 65556"},
        {Replaced(good, "  Maxgen     =      100", "  Maxgen     =   -65516"), 7, "Maxgen -65516"},
        // The values the general-parameters dialog refuses.
        {Replaced(good, "  Maxgen     =      100", "  Maxgen     =        0"), 7, "Maxgen 0"},
        {Replaced(good, "  RandSeed   =        1", "  RandSeed   =       -1"), 8, "RandSeed -1"},
        {Replaced(good, "  Init       =        0", "  Init       =        3"), 9, "Init 3"},
        {Replaced(good, "  Cover      =        0", "  Cover      =        3"), 10, "Cover 3"},
        {Replaced(Replaced(good, "  Cover      =        0", "  Cover      =        2"),
                  "  CoverFile  =   /home/u/InitialCover.txt", "  CoverFile  =   "),
         11, "CoverFile is empty"},
        {Replaced(good, "  Border     =        0", "  Border     =        2"), 12, "Border 2"},
        {Replaced(good, "  TotalCover =    20.00", "  TotalCover =    -5.00"), 13, "TotalCover -5"},
        {Replaced(good, "  TotalCover =    20.00", "  TotalCover =   150.00"), 13, "TotalCover 150"},
        {Replaced(good, "  OverGRate  =      100", "  OverGRate  =      200"), 14, "OverGRate 200"},
        {Replaced(good, "  OverGRate  =      100", "  OverGRate  =      -50"), 14, "OverGRate -50"},
        {Replaced(good, "  DisturbProb=    0.00000000000000E+0000", "  DisturbProb=   2"), 15, "DisturbProb 2"},
        {Replaced(good, "  DisturbProb=    0.00000000000000E+0000", "  DisturbProb=   -1"), 15, "DisturbProb -1"},
        {Replaced(good, "  PatchSize  =       50", "  PatchSize  =       -1"), 16, "PatchSize -1"},
        {Replaced(good, "  PatchSize  =       50", "  PatchSize  =    65535"), 16, "PatchSize 65535"},
        {Replaced(good, "  PatchType  =        0", "  PatchType  =        2"), 17, "PatchType 2"},
        {Replaced(good, "  Influx     =    1.00000001490116E-0001", "  Influx     =   2"), 18, "Influx 2"},
        {Replaced(good, "  MutationGR =    0.00000000000000E+0000", "  MutationGR =   -1"), 20, "MutationGR -1"},
        {Replaced(Replaced(good, "  MutationOTC=    0.00000000000000E+0000", "  MutationOTC=   0.5"),
                  "  MutAmtOTC  =        1", "  MutAmtOTC  =       11"),
         23, "MutAmtOTC 11"},
        {Replaced(good, "   1  100 100\r\n   1    0   0\r\n   1    0   0",
                  "   1   90  90\r\n   1   90   0\r\n   1   90   0"),
         30, "90/90/90"},
        {Replaced(good, "   2 100   0   0 100", "   2 101   0   0 100"), 37, "growth rate of species 2, 101"},
        {Replaced(good, "   1 100   0   0 100 100 100", "   1 100   0   0 100 101 100"), 36, "against 2, 101"},
        {Replaced(good, "   2   0 100   0 100", "   2  60  40   0 100"), 48, "win 60..40"},
        {Replaced(good, "   3 0.00000000000000E+0000", "   3 1.5"), 43, "\"1.5\""},
        {Replaced(good, "   1 9.99999977648258E-0003", "   1 -9.99999977648258E-0003"), 52, "recruitment"},
    };
    TempFolder folder;
    const std::string path = folder.File("bad.prm");
    const ParameterSet before = RichSet();
    for (const auto& c : cases) {
        folder.Write("bad.prm", c.content);
        ParameterSet p = before;
        try {
            ReadParameterFile(p, path);
            ADD_FAILURE() << "accepted, expected: " << c.what;
        } catch (const ParameterFileError& error) {
            const std::string message = error.what();
            EXPECT_NE(message.find(path), std::string::npos) << message;
            EXPECT_NE(message.find("line " + std::to_string(c.line) + ":"), std::string::npos) << message;
            EXPECT_NE(message.find(c.what), std::string::npos) << message;
        }
        EXPECT_TRUE(SameSet(p, before)) << c.what;
    }

    ParameterSet p = before;
    const std::string missing = folder.File("missing.prm");
    try {
        ReadParameterFile(p, missing);
        ADD_FAILURE() << "a missing file was read";
    } catch (const ParameterFileError& error) {
        EXPECT_NE(std::string(error.what()).find(missing), std::string::npos) << error.what();
    }
    EXPECT_TRUE(SameSet(p, before));
}

TEST(ParameterFileReader, AFileWithNoParameterKeyIsRefused)
{
    const std::string good = Listing(StartupDefaults(), "good.prm");
    std::string crOnly = good;
    for (size_t at = crOnly.find("\r\n"); at != std::string::npos; at = crOnly.find("\r\n", at))
        crOnly.erase(at + 1, 1);
    const char binary[] = "\x7f" "ELF\x02\x01\x01\0\0\0\xff\xfe";
    const std::string cases[] = {"", "\r\n \r\n", crOnly, std::string(binary, sizeof binary - 1),
                                 "line 1\n  ParasiteNr =   5\n"};
    TempFolder folder;
    const std::string path = folder.File("none.prm");
    const ParameterSet before = RichSet();
    for (const std::string& content : cases) {
        folder.Write("none.prm", content);
        ParameterSet p = before;
        try {
            ReadParameterFile(p, path);
            ADD_FAILURE() << "accepted: " << testing::PrintToString(content.substr(0, 40));
        } catch (const ParameterFileError& error) {
            EXPECT_NE(std::string(error.what()).find(path + " holds none of the parameter keys"), std::string::npos)
                << error.what();
        }
        EXPECT_TRUE(SameSet(p, before));
    }
}

TEST(ParameterFileReader, TheRulesApplyToTheSetTheFileLeavesAndKeepTheMeaningfulValues)
{
    TempFolder folder;
    // MaxX and MaxY shrink under the patch size in force; the file does not set PatchSize.
    folder.Write("small.prm", Crlf("small\n \n  MaxX       =       10\n  MaxY       =       10\n \n"));
    ParameterSet p = StartupDefaults();
    p.GParamRec.PatchSize = 400;
    const ParameterSet before = p;
    try {
        ReadParameterFile(p, folder.File("small.prm"));
        ADD_FAILURE() << "a patch larger than the landscape was accepted";
    } catch (const ParameterFileError& error) {
        EXPECT_NE(std::string(error.what()).find("PatchSize 400 is outside 0..100"), std::string::npos) << error.what();
        EXPECT_NE(std::string(error.what()).find("does not set PatchSize"), std::string::npos) << error.what();
    }
    EXPECT_TRUE(SameSet(p, before));

    // Any non-zero MeanField is on, also one whose low 16 bits are 0; an amount is not
    // checked while its probability is 0, as the dialog does not read it then.
    for (const char* value : {"7", "65536", "-1"}) {
        folder.Write("mean.prm", Crlf(std::string("mean\n \n  MutationGR =   0\n  MutAmtGR   =   99\n"
                                                  "  MeanField  =   ") + value + "\n \n"));
        p = StartupDefaults();
        ReadParameterFile(p, folder.File("mean.prm"));
        EXPECT_TRUE(p.GParamRec.MeanField) << value;
        EXPECT_EQ(p.GParamRec.MutAmtGR, 99);
    }
}

// What the program writes it reads back: the defaults, a set whose species count was raised
// over the start-up tables (as the dialog does), the rich sample and the extreme values.
TEST(ParameterFileReader, EverySetTheProgramWritesIsReadBack)
{
    ParameterSet raised = StartupDefaults();
    raised.GParamRec.Maxspec = MaxSpecies;
    // A negative entry of three digits fills its column and touches the one before: "100-100".
    raised.OutcomeMatrix[1][2] = OutcomeTriple{100, 0, 0};
    raised.OutcomeMatrix[1][3] = OutcomeTriple{-100, 0, 0};
    raised.OutcomeMatrix[1][4] = OutcomeTriple{-128, 0, 0};
    raised.MirrorOutcomeMatrix();
    raised.UpdateGRateFractions();
    ParameterSet extremes = RichSet(); // values at the ends of their ranges
    GParamStruct& g = extremes.GParamRec;
    g = GParamStruct{2,    700,  10,   1,     65535, 2147483647, 2, 1, "", 1, 100.0f, 0, 1.0f, 7000, 0, 0.0f, 1,
                     1.0f, 10,   1.0f, 1,     false};
    extremes.MortalityVector[0] = 490000.0f;
    extremes.MortalityVector[1] = 1.0f;
    extremes.RecruitmentVector[2] = 0.0f;
    extremes.OutcomeMatrix[1][2] = OutcomeTriple{-128, 0, 0};
    TempFolder folder;
    for (const ParameterSet& written : {StartupDefaults(), raised, extremes}) {
        const ParameterSet* set = &written;
        WriteParameterFile(*set, folder.File("written.prm"));
        ParameterSet p = RichSet();
        ASSERT_NO_THROW(ReadParameterFile(p, folder.File("written.prm")));
        EXPECT_EQ(p.GParamRec, set->GParamRec);
        for (int i = 1; i <= set->GParamRec.Maxspec; ++i)
            for (int j = i + 1; j <= set->GParamRec.Maxspec; ++j)
                EXPECT_EQ(p.OutcomeMatrix[i][j], set->OutcomeMatrix[i][j]) << i << " " << j;
    }
}

TEST(ParameterFileReader, StartupFallsBackPastARefusedLastFile)
{
    TempFolder folder;
    ParameterSet p;
    p.StartDir = folder.Path();
    p.ResetToStartupTables();
    const ParameterSet startup = p;

    StartupLoadResult nothing = LoadStartupParameters(p);
    EXPECT_EQ(nothing.FileRead, "");
    EXPECT_TRUE(nothing.Refusals.empty());
    ParameterSet defaults = startup;
    defaults.SetInbuiltDefaults();
    EXPECT_TRUE(SameSet(p, defaults));

    // An empty last file is no parameter file: the defaults, not a set of zeros.
    folder.Write("PLast.prm", "");
    p = startup;
    const StartupLoadResult empty = LoadStartupParameters(p);
    EXPECT_EQ(empty.FileRead, "");
    EXPECT_EQ(empty.Refusals.size(), 1u);
    EXPECT_TRUE(SameSet(p, defaults));

    const std::string last = folder.File("PLast.prm");
    ParameterSet rich = RichSet();
    rich.StartDir = folder.Path();
    folder.Write("PLast.prm", Replaced(Listing(rich, last), "  MaxX       =      233", "  MaxX       =     9999"));
    WriteDefaultParameters(rich);
    p = startup;
    const StartupLoadResult fellBack = LoadStartupParameters(p);
    EXPECT_EQ(fellBack.FileRead, folder.File("PDefault.prm"));
    ASSERT_EQ(fellBack.Refusals.size(), 1u);
    EXPECT_NE(fellBack.Refusals[0].find(last + ", line 4:"), std::string::npos) << fellBack.Refusals[0];
    EXPECT_EQ(p.GParamRec, rich.GParamRec);

    SaveLastParameters(rich);
    p = startup;
    EXPECT_EQ(LoadStartupParameters(p).FileRead, last);
    EXPECT_EQ(p.GParamRec, rich.GParamRec);
}

} // namespace
} // namespace quorrel
