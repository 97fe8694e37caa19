#include "sweep/DecimalSteps.h"

#include <gtest/gtest.h>

using namespace quorrel;

TEST(DecimalSteps, RangesAreExactDecimalsWithoutTrailingZeros)
{
    using V = std::vector<std::string>;
    EXPECT_EQ(DecimalSteps("0.0", "0.1", "0.02", 100).Values, (V{"0", "0.02", "0.04", "0.06", "0.08", "0.1"}));
    EXPECT_EQ(DecimalSteps("0.7", "1", "0.1", 100).Values, (V{"0.7", "0.8", "0.9", "1"}));
    EXPECT_EQ(DecimalSteps("-0.5", "0.5", "0.25", 100).Values, (V{"-0.5", "-0.25", "0", "0.25", "0.5"}));
    EXPECT_EQ(DecimalSteps("50", "100", "25", 100).Values, (V{"50", "75", "100"}));
    EXPECT_EQ(DecimalSteps("0.0001", "0.0003", "0.0001", 100).Values, (V{"0.0001", "0.0002", "0.0003"}));
}

TEST(DecimalSteps, RangesThatCannotBeUsedAreRefused)
{
    EXPECT_NE(DecimalSteps("0", "0.1", "0.03", 100).Error.find("does not reach 0.1"), std::string::npos);
    EXPECT_NE(DecimalSteps("0", "1", "0", 100).Error.find("greater than 0"), std::string::npos);
    EXPECT_NE(DecimalSteps("1", "0", "0.1", 100).Error.find("less than from"), std::string::npos);
    EXPECT_NE(DecimalSteps("0", "1000", "1", 100).Error.find("more than 100"), std::string::npos);
}
