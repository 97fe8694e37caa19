#include "params/GeneralParameterCheck.h"

#include "ParameterSamples.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorrel::test {
namespace {

GeneralParameterTexts DefaultTexts()
{
    return GeneralParameterTextsFrom(StartupDefaults().GParamRec);
}

TEST(GeneralParameterCheck, FillsTheControlsAsTheDialogShowsThem)
{
    GParamStruct p = StartupDefaults().GParamRec;
    p.TotalCover = 20.0f;
    p.DisturbProb = 0.0005f;
    p.Influx = 0.0f;
    p.MutationGR = 1.0f;
    p.RecruitType = 1;
    p.MutationOTC = 0.25f;
    p.MutAmtOTC = 3;
    const GeneralParameterTexts t = GeneralParameterTextsFrom(p);
    EXPECT_EQ(t.TotalCover, "20");
    EXPECT_EQ(t.DisturbProb, "0.0005");
    EXPECT_EQ(t.Influx, "0");
    EXPECT_EQ(t.MutationGR, "1");
    EXPECT_EQ(t.RecruitType, "Closed");
    EXPECT_EQ(t.Border, "Torus");

    // The filled controls pass the check and give the record back.
    const GeneralParameterCheckResult back = CheckGeneralParameters(t);
    ASSERT_TRUE(back.Record.has_value()) << back.Message;
    EXPECT_EQ(*back.Record, p);
}

TEST(GeneralParameterCheck, RefusesTheFirstBadFieldWithItsMessage)
{
    struct Case {
        std::vector<std::pair<std::string, std::string>> set;
        std::string message; // empty: accepted
    };
    const Case cases[] = {
        {{{"Maxspec", "41"}}, "The number of species must be between 2 and 40."},
        {{{"Maxspec", "1"}}, "The number of species must be between 2 and 40."},
        {{{"Maxspec", ""}}, "You have to specify the Number of species."},
        {{{"Maxspec", "-3"}}, "You have to give a positive number for the Number of species."},
        {{{"Maxspec", "2"}}, ""},
        {{{"MaxX", "9"}}, "The landscape size must be between 10x10 and 700x700."},
        {{{"MaxX", "400"}, {"MaxY", "400"}, {"PIX", "2"}}, "Cell size is too large."},
        {{{"MaxX", "350"}, {"MaxY", "350"}, {"PIX", "2"}}, ""},
        {{{"Maxgen", "0"}}, "The number of generations must be between 1 and 65535"},
        {{{"Maxgen", "x"}}, "The number of generations must be between 1 and 65535"},
        {{{"Maxgen", "65535"}}, ""},
        {{{"RandSeed", ""}}, "You have to give a Random number seed."},
        {{{"Init", "grid"}}, "The type of initial growth rate must be selected from the list"},
        {{{"Cover", "File"}, {"CoverFile", "  "}},
         "The file containing the initial cover must be given if the cover type is File."},
        {{{"Border", "random"}}, "The border type must be selected from the list"},
        {{{"TotalCover", "100.5"}}, "The total cover must be between 0 and 100%."},
        {{{"OverGRate", "101"}}, "The Over-growth rate must be between 0 and 100%."},
        {{{"DisturbProb", "5E-4"}}, "You have to give a positive float number for Probability of Disturbance."},
        {{{"DisturbProb", "0.0005"}}, ""},
        {{{"MaxX", "20"}, {"MaxY", "10"}, {"PatchSize", "200"}}, ""},
        {{{"MaxX", "20"}, {"MaxY", "10"}, {"PatchSize", "201"}}, "Patch size is bigger than the size of the landscape."},
        {{{"Influx", "1.5"}}, "The probability of influx should not be greater than 1."},
        {{{"RecruitType", ""}}, "You have to give Recruitment type."},
        {{{"MutationGR", "0.1"}, {"MutAmtGR", "11"}},
         "The amount of mutation on growth rates should be in the range of 1 to 10."},
        {{{"MutationOTC", "0.1"}, {"MutAmtOTC", ""}}, "You have to give the amount of mutation on variable outcome."},
        // The first failing field in dialog order wins.
        {{{"MutAmtOTC", "x"}, {"MutationOTC", "0.5"}, {"Border", "x"}},
         "The border type must be selected from the list"},
    };
    for (const Case& c : cases) {
        GeneralParameterTexts t = DefaultTexts();
        for (const auto& [key, value] : c.set)
            *t.Field(key) = value;
        const GeneralParameterCheckResult r = CheckGeneralParameters(t);
        EXPECT_EQ(r.Message, c.message) << c.set.front().first << "=" << c.set.front().second;
        EXPECT_EQ(r.Record.has_value(), c.message.empty());
    }
}

TEST(GeneralParameterCheck, AnAmountIsNotReadWhileItsProbabilityIsZero)
{
    GeneralParameterTexts t = DefaultTexts();
    // (Whole strings are assigned: GCC 12 warns falsely on short literals here.)
    t.MutationGR = std::string("0");
    t.MutAmtGR = std::string();
    t.MutationOTC = std::string("0.0");
    t.MutAmtOTC = std::string("x");
    const GeneralParameterCheckResult r = CheckGeneralParameters(t);
    ASSERT_TRUE(r.Record.has_value()) << r.Message;
    EXPECT_EQ(r.Record->MutAmtGR, 0);
    EXPECT_EQ(r.Record->MutAmtOTC, 0);
    EXPECT_EQ(t.Field("MeanField"), nullptr);
    EXPECT_EQ(t.Field("Nonsense"), nullptr);
}

} // namespace
} // namespace quorrel::test
