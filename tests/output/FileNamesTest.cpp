#include "output/FileNames.h"

#include <gtest/gtest.h>

namespace quorrel {
namespace {

TEST(FileNamesTest, TextGoesBeforeTheExtensionOfTheLastNamePart)
{
    const struct {
        const char* name;
        const char* text;
        const char* expected;
    } cases[] = {
        {"/d/GRate.dat", "1", "/d/GRate1.dat"},
        {"C:\\out.run\\rates", "1", "C:\\out.run\\rates1"},
        {"/tmp/out.run/rates", "2", "/tmp/out.run/rates2"},
        {"/d/.txt", "00", "/d/00.txt"},
        {"C:sw.txt", "05", "C:sw05.txt"},
        {"a.b.c", "7", "a.b7.c"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(InsertBeforeExtension(c.name, c.text), c.expected) << c.name;

    EXPECT_EQ(ChangeExtension("/d/CALand.bmp", ".txt"), "/d/CALand.txt");
    EXPECT_EQ(ChangeExtension("/d.x/land", ".bmp"), "/d.x/land.bmp");
}

TEST(FileNamesTest, ZeroPaddingFollowsTheDigitsOfTheLargestValue)
{
    EXPECT_EQ(ZeroPadded(50, 1000), "0050");
    EXPECT_EQ(ZeroPadded(25, 100), "025");
    EXPECT_EQ(ZeroPadded(100, 100), "100");
    EXPECT_EQ(ZeroPadded(0, 12), "00");
    EXPECT_EQ(ZeroPadded(5, 5), "5");
}

} // namespace
} // namespace quorrel
