#include "ParameterSamples.h"
#include "TempFolder.h"

#include "params/NumberFormat.h"
#include "params/ParameterFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <vector>

namespace quorrel {
namespace {

using test::Crlf;
using test::StartupDefaults;

std::string Listing(const ParameterSet& p, const std::string& firstLine, bool dependentGRates = true)
{
    std::ostringstream out;
    WriteParameterListing(out, p, firstLine, dependentGRates);
    return out.str();
}

// Separator lines below hold a single blank, and the third line of each outcome row ends
// with one blank.
const char* const DefaultsListing = R"(/home/u/PLast.prm
 
  Maxspec    =        3
  MaxX       =      200
  MaxY       =      200
  PIX        =        1
  Maxgen     =      100
  RandSeed   =        1
  Init       =        0  {initiation growthrates: 0=random ;1=gradient; 2=grid}
  Cover      =        0  {distribution species: 0=random; 1=blocks; 2=file}
  CoverFile  =   /home/u/InitialCover.txt
  Border     =        0  {0=t=Torus; 1=o=Open}
  TotalCover =    20.00
  OverGRate  =      100  {over-growth rate of free growth rate}
  DisturbProb=    0.00000000000000E+0000
  PatchSize  =       50
  PatchType  =        0  { 0=square; 1=random }
  Influx     =    1.00000001490116E-0001
  RecruitType=        1  { 0=open; 1=closed }
  MutationGR =    0.00000000000000E+0000
  MutAmtGR   =        1
  MutationOTC=    0.00000000000000E+0000
  MutAmtOTC  =        1
  MeanField  =        0
 
Outcome Matrix : used portion only. Lines are Win:Loss:Standoff for each species
No.     2   3
   1  100 100
   1    0   0
   1    0   0 
   2      100
   2        0
   2        0 

Growth Rates
   1 100   0   0 100 100 100
   2 100   0   0 100 100 100
   3 100   0   0 100 100 100

Mortality Vector
   1 0.00000000000000E+0000
   2 0.00000000000000E+0000
   3 0.00000000000000E+0000
  Mortal-Size=        0
 
Variable Outcome Vector
   1   0 100   0 100
   2   0 100   0 100
   3   0 100   0 100
 
Recruitment Vector
   1 9.99999977648258E-0003
   2 9.99999977648258E-0003
   3 9.99999977648258E-0003
)";

// Two species: a variable pair, a variable and a fixed growth rate, an empty CoverFile.
ParameterSet TwoSpecies()
{
    ParameterSet p = StartupDefaults();
    GParamStruct& g = p.GParamRec;
    g.Maxspec = 2;
    g.MaxX = 350;
    g.MaxY = 10;
    g.PIX = 2;
    g.Maxgen = 65535;
    g.RandSeed = 9999;
    g.Init = 2;
    g.Cover = 2;
    g.CoverFile = "";
    g.Border = 1;
    g.TotalCover = 100.0f;
    g.OverGRate = 0;
    g.DisturbProb = 0.25f;
    g.PatchSize = 12345;
    g.PatchType = 1;
    g.Influx = 1e-5f;
    g.RecruitType = 0;
    g.MutationGR = 1.0f;
    g.MutAmtGR = 10;
    g.MutationOTC = 0.5f;
    g.MutAmtOTC = 0;
    g.MeanField = true;
    p.OutcomeMatrix[1][2] = OutcomeTriple{-1, 0, 0};
    p.GrowthRates[1] = GrowthRate{-1, 20, 60};
    p.GrowthRates[2] = GrowthRate{45, 0, 0};
    p.RateAgainst[1][1] = 0.2f;
    p.RateAgainst[1][2] = 0.2f;
    p.RateAgainst[2][1] = 0.45f;  // 44.9999988 per cent
    p.RateAgainst[2][2] = 0.125f; // 12.5 per cent: the half goes to the even 12
    p.MortalityVector[0] = 2.5f;  // likewise written as 2
    p.MortalityVector[1] = 0.05f;
    p.MortalityVector[2] = 0.5f;
    p.VariableOutcomeVector[1] = VariableOutcomeRange{10, 60, 5, 40};
    p.RecruitmentVector[1] = 1.0f;
    p.RecruitmentVector[2] = 0.3f;
    return p;
}

const char* const TwoSpeciesListing = R"(/data/two.prm
 
  Maxspec    =        2
  MaxX       =      350
  MaxY       =       10
  PIX        =        2
  Maxgen     =    65535
  RandSeed   =     9999
  Init       =        2  {initiation growthrates: 0=random ;1=gradient; 2=grid}
  Cover      =        2  {distribution species: 0=random; 1=blocks; 2=file}
  CoverFile  =   
  Border     =        1  {0=t=Torus; 1=o=Open}
  TotalCover =   100.00
  OverGRate  =        0  {over-growth rate of free growth rate}
  DisturbProb=    2.50000000000000E-0001
  PatchSize  =    12345
  PatchType  =        1  { 0=square; 1=random }
  Influx     =    9.99999974737875E-0006
  RecruitType=        0  { 0=open; 1=closed }
  MutationGR =    1.00000000000000E+0000
  MutAmtGR   =       10
  MutationOTC=    5.00000000000000E-0001
  MutAmtOTC  =        0
  MeanField  =        1
 
Outcome Matrix : used portion only. Lines are Win:Loss:Standoff for each species
No.     2
   1   -1
   1    0
   1    0 

Growth Rates
   1  -1  20  60  20  20
   2  45   0   0  45  12

Mortality Vector
   1 5.00000007450581E-0002
   2 5.00000000000000E-0001
  Mortal-Size=        2
 
Variable Outcome Vector
   1  10  60   5  40
   2   0 100   0 100
 
Recruitment Vector
   1 1.00000000000000E+0000
   2 3.00000011920929E-0001
)";

TEST(ParameterFileWriter, InbuiltDefaults)
{
    EXPECT_EQ(Listing(StartupDefaults(), "/home/u/PLast.prm"), Crlf(DefaultsListing));
}

TEST(ParameterFileWriter, TwoSpecies)
{
    EXPECT_EQ(Listing(TwoSpecies(), "/data/two.prm"), Crlf(TwoSpeciesListing));
}

TEST(ParameterFileWriter, ShortGrowthRateLinesWithoutRatesAgainstSpecies)
{
    std::string expected = Crlf(TwoSpeciesListing);
    const std::string longForm = Crlf("Growth Rates\n   1  -1  20  60  20  20\n   2  45   0   0  45  12\n\nMortality");
    const std::string shortForm = Crlf("Growth Rates\n   1  -1  20  60\n   2  45 \n \nMortality");
    ASSERT_NE(expected.find(longForm), std::string::npos);
    expected.replace(expected.find(longForm), longForm.size(), shortForm);
    EXPECT_EQ(Listing(TwoSpecies(), "/data/two.prm", false), expected);
}

TEST(ParameterFileWriter, NumberForms)
{
    EXPECT_EQ(FormatSci23(-0.5f), "-5.00000000000000E-0001");
    EXPECT_EQ(FormatSci23(1e20f), " 1.00000002004088E+0020");
    EXPECT_EQ(FormatSci23(1e-38f), " 9.99999935045640E-0039");
    EXPECT_EQ(FormatInt(1234567, 6), "1234567"); // the width is a minimum
    EXPECT_EQ(FormatInt(-7, 4), "  -7");
    EXPECT_EQ(FormatFixed62(1234.5f), "1234.50");
    EXPECT_EQ(FormatFixed62(0.125f), "  0.12"); // ties to even on the exact binary value
}

TEST(ParameterFileWriter, WritesThePathAsFirstLineAndReportsFilesThatCannotBeCreated)
{
    test::TempFolder folder;
    const std::string path = folder.File("set.prm");
    WriteParameterFile(StartupDefaults(), path);
    EXPECT_EQ(folder.Read("set.prm"), Listing(StartupDefaults(), path));

    const std::string unreachable = folder.File("no-such-folder/set.prm");
    try {
        WriteParameterFile(StartupDefaults(), unreachable);
        FAIL() << "no error";
    } catch (const ParameterFileError& error) {
        EXPECT_NE(std::string(error.what()).find(unreachable), std::string::npos) << error.what();
    }
}

TEST(ParameterFileWriter, LastAndDefaultFilesAreReplacedWhole)
{
    test::TempFolder folder;
    ParameterSet p = StartupDefaults(folder.Path().string());
    folder.Write("PLast.prm", "an older file\r\n");
    SaveLastParameters(p);
    WriteDefaultParameters(p);

    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"PDefault.prm", "PLast.prm"}));
    const std::string last = (folder.Path() / "PLast.prm").string();
    EXPECT_EQ(folder.Read("PLast.prm"), Listing(p, last));
    EXPECT_EQ(folder.Read("PDefault.prm"), Listing(p, (folder.Path() / "PDefault.prm").string()));

    p.StartDir = folder.Path() / "gone";
    EXPECT_THROW(SaveLastParameters(p), ParameterFileError);
}

} // namespace
} // namespace quorrel
