#include "params/FieldParsers.h"

#include <gtest/gtest.h>

namespace quorrel {
namespace {

constexpr auto Empty = FieldStatus::Empty;
constexpr auto Invalid = FieldStatus::Invalid;
constexpr auto Value = FieldStatus::Value;

TEST(FieldParsers, IntegerBoxes)
{
    const struct {
        const char* text;
        IntField expected;
    } cases[] = {
        {"", {Empty, 0}},
        {"12a", {Invalid, 0}},
        {"5E-4", {Invalid, 0}},
        {"0.0005", {Invalid, 0}},
        {"1.2.3", {Invalid, 0}},
        {"-3", {Invalid, 0}},
        {" 7", {Invalid, 0}},
        {"0042", {Value, 42}},
        {"2147483647", {Value, 2147483647}},
        {"9999999999", {Value, 2147483647}}, // too large for 32 bits: the largest value
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseIntField(c.text), c.expected) << '"' << c.text << '"';
}

TEST(FieldParsers, DecimalBoxes)
{
    const struct {
        const char* text;
        FloatField expected;
    } cases[] = {
        {"", {Empty, 0.0}},
        {"12a", {Invalid, 0.0}},
        {"5E-4", {Invalid, 0.0}},
        {"0.0005", {Value, 0.0005}},
        {"1.2.3", {Invalid, 0.0}},
        {"-0.5", {Invalid, 0.0}},
        {".", {Invalid, 0.0}},
        {"20", {Value, 20.0}},
        {".5", {Value, 0.5}},
        {"100.", {Value, 100.0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseFloatField(c.text), c.expected) << '"' << c.text << '"';
}

} // namespace
} // namespace quorrel
