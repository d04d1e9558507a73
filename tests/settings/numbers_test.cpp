#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "settings/LeadingNumber.h"
#include "settings/Store.h"

namespace kestrova::testing {
namespace {

TEST(LeadingNumber, LongestNumericPrefixAfterBlanks) {
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        const char* text;
        double want;
    } cases[] = {
        {"3abc", 3},      {"1.0", 1},    {"  1", 1},       {"\t4", 4},
        {"abc", 0},       {"", 0},       {"00", 0},        {"3.5", 3.5},
        {" 2.5x", 2.5},   {".5", 0.5},   {"5.", 5},        {"1.2.3", 1.2},
        {"-120", -120},   {"+7", 7},     {"- 1", 0},       {"-", 0},
        {".", 0},         {"1 2", 1},    {"1e3", 1000},    {"2E-1", 0.2},
        {"1e", 1},        {"1e+", 1},    {"7ex", 7},       {"&h10", 0},
        {"0x10", 0},      {"inf", 0},    {"nan", 0},       {"1e999", inf},
        {"-1e999", -inf}, {"1e-999", 0}, {"99999", 99999}, {"0.000001e400", inf},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LeadingNumber(c.text), c.want) << '"' << c.text << '"';
    }
}

TEST(Rounding, HalvesAwayFromZeroIntoThirtyTwoBits) {
    const struct {
        double in;
        std::optional<std::int32_t> want;
    } cases[] = {
        {2.5, 3},
        {-2.5, -3},
        {2.4999, 2},
        {-0.4, 0},
        {1e12, {}},
        {2147483647.4, 2147483647},
        {-2147483648.0, -2147483647 - 1},
        {std::nan(""), {}},
        {HUGE_VAL, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RoundHalfAwayFromZero(c.in), c.want) << c.in;
    }
}

TEST(Rounding, HalvesToEvenIntoSixteenBits) {
    const struct {
        double in;
        std::optional<std::int16_t> want;
    } cases[] = {
        {3.5, 4},     {2.5, 2},    {-2.5, -2},         {-3.5, -4},      {2.51, 3},
        {0.5, 0},     {1.49, 1},   {32767.4, 32767},   {32767.5, {}},   {-32768.5, -32768},
        {-32769, {}}, {99999, {}}, {std::nan(""), {}}, {-HUGE_VAL, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RoundHalfEvenToInt16(c.in), c.want) << c.in;
    }
}

TEST(DecodeHexEscapes, LowerCaseEscapesDecodedAgainUntilNoneIsLeft) {
    using namespace std::string_literals;
    const struct {
        std::string in;
        std::optional<std::string> want;
    } cases[] = {
        {"AB&h3DCD", "AB=CD"},
        {"AB&H3DCD", "AB&H3DCD"},
        {"", ""},
        {"&h41&h42", "AB"},
        {"x&h4", "x\x04"},
        {"&hff&h0D", "\xff\r"},
        {"&h00", "\0"s},
        {"&h26h41", "A"},     // the decoded "&" and the "h" after it form a new escape
        {"&&h6841", "A"},     // a decoded "h" joins the "&" before it
        {"&h26&h6841", "A"},  // twice over
        {"a&b h", "a&b h"},
        {"abc&h", {}},
        {"&hZZ", {}},
        {"&h4Z", {}},
        {"&h-1", {}},
        {"ok&h41&hZ", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Store::DecodeHexEscapes(c.in), c.want) << c.in;
    }
}

TEST(DecodeHexEscapes, AMegabyteOfEscapes) {
    std::string in;
    for (int i = 0; i < 262144; ++i) {
        in += "&h41";
    }
    EXPECT_EQ(Store::DecodeHexEscapes(in), std::string(262144, 'A'));
}

}  // namespace
}  // namespace kestrova::testing
