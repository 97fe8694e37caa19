#include "sweep/PlanError.h"
#include "sweep/PlanReader.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace quorrel;
using quorrel::test::TempFolder;

namespace {

std::string Refusal(const TempFolder& dir, const std::string& text)
{
    std::ofstream(dir.File("plan.toml"), std::ios::binary) << text;
    try {
        ReadSweepPlan(dir.File("plan.toml"));
    } catch (const PlanError& e) {
        return e.what();
    }
    return "accepted";
}

} // namespace

TEST(PlanReader, BadPlansAreRefusedNamingFileLineAndKey)
{
    TempFolder dir;
    std::ofstream(dir.File("rows.csv")) << "OverGRate,MaxX\n50,20\n60\n";
    struct Case {
        std::string plan;
        std::string reason; // after "<plan>, "
    };
    const Case cases[] = {
        {"mode = \"single-fixed\"\ncolour = 3\n", "line 2: key \"colour\": unknown key"},
        {"replicates = \"ten\"\n", "line 1: key \"replicates\": must be a whole number within 1..9999"},
        {"replicates = 10000\n", "line 1: key \"replicates\": must be a whole number"},
        {"[vary]\nOverGRate = []\n", "line 2: key \"OverGRate\": the list of values is empty"},
        {"[vary]\nDisturbProb = { from = 0.0, to = 0.1, step = 0.03 }\n",
         "line 2: key \"DisturbProb\": the step 0.03 does not reach 0.1 from 0"},
        {"[set]\nRandSeed = 4\n", "line 2: key \"RandSeed\": RandSeed is given to each run by the sweep"},
        {"[vary]\nRandSeed = [1, 2]\n", "line 2: key \"RandSeed\""},
        {"[set]\nMaxX = [1]\n", "line 2: key \"MaxX\": must be a number, a text or true/false"},
        {"[set]\nColour = 1\n", "line 2: key \"Colour\": unknown general parameter"},
        {"[set]\nMaxX = 20\n[vary]\nMaxX = [20, 30]\n", "line 2: key \"MaxX\": is both given to every run and varied"},
        {"params = \"missing.prm\"\n", "line 1: key \"params\": the file"},
        {"mode = \"mosaic\"\n", "line 1: key \"mode\": unknown mode"},
        {"[vary]\nMaxX = [20, 20]\n", "line 2: key \"MaxX\": the value 20 is listed twice"},
        {"[vary]\nMaxX = [20]\n[[run]]\nMaxX = 20\n", "line 3: key \"run\": a plan has one design"},
        {"[[run]]\nMaxX = 20\n[[run]]\nMaxY = 20\n", "line 3: key \"MaxX\": this [[run]] table lacks the key"},
        {"result = \"../x.dat\"\n", "line 1: key \"result\": must be a plain file name"},
        {"mode = \"single-fixed\n", "line 1"}, // not TOML
    };
    for (const Case& c : cases)
        EXPECT_NE(Refusal(dir, c.plan).find(dir.File("plan.toml") + ", " + c.reason), std::string::npos)
            << c.plan << "\n" << Refusal(dir, c.plan);
    // A design file's faults name that file and its line.
    EXPECT_NE(Refusal(dir, "design = \"rows.csv\"\n").find(dir.File("rows.csv") + ", line 3: the row has 1 values"),
              std::string::npos)
        << Refusal(dir, "design = \"rows.csv\"\n");
}

TEST(PlanReader, ValuesKeepPlanOrderAndExactText)
{
    TempFolder dir;
    std::ofstream(dir.File("plan.toml")) << "replicates = 2\nrows = 3\n[set]\nMeanField = true\nTotalCover = 0.3\n"
                                            "[vary]\nOverGRate = [50, 100]\nDisturbProb = { from = 0.0, to = 0.04, step = 0.02 }\n";
    const SweepPlan plan = ReadSweepPlan(dir.File("plan.toml"));
    EXPECT_EQ(plan.Design.Keys(), (std::vector<std::string>{"OverGRate", "DisturbProb"}));
    ASSERT_EQ(plan.Runs(), 12u);
    EXPECT_EQ(plan.Design.Point(0), (DesignPoint{{"OverGRate", "50"}, {"DisturbProb", "0"}}));
    EXPECT_EQ(plan.Design.Point(5), (DesignPoint{{"OverGRate", "100"}, {"DisturbProb", "0.04"}}));
    ASSERT_EQ(plan.Sets.size(), 2u);
    EXPECT_EQ(plan.Sets[0].Value, "1");
    EXPECT_EQ(plan.Sets[1].Value, "0.3");
    ASSERT_EQ(plan.RunOptions.size(), 1u);
    EXPECT_EQ(plan.RunOptions[0].Key, "rows");
}
