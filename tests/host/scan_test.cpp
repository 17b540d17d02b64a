// The formatted-input conversions the driver reads its texts with.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/scan.hpp"

namespace rizuz::scan {
namespace {

struct DecimalCase {
    const char* text;
    unsigned width;
    bool ok;
    std::uint32_t value;
    unsigned consumed;
};

TEST(Scan, DecimalFollowsTheConversionRules) {
    const DecimalCase cases[] = {
        {"123", 3, true, 123, 3},       {"1234", 3, true, 123, 3},
        {"12", 3, true, 12, 2},         {"  7x", 2, true, 7, 3},       // white space is skipped, not counted
        {"+12", 3, true, 12, 3},        {"-12", 3, true, 0u - 12u, 3}, // the sign counts towards the width
        {"-123", 3, true, 0u - 12u, 3}, {"-", 3, false, 0, 0},
        {"", 2, false, 0, 0},           {"A1", 2, false, 0, 0},
        {"9", 1, true, 9, 1},           {"-9", 1, false, 0, 0},
        {"4294967296", kNoWidth, true, 0, 10},  // wraps modulo 2^32, no overflow
    };
    for (const auto& c : cases) {
        const Unsigned32 r = Decimal(c.text, c.width);
        EXPECT_EQ(r.ok, c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(r.value, c.value) << c.text;
            EXPECT_EQ(static_cast<unsigned>(r.end - c.text), c.consumed) << c.text;
        }
    }
}

TEST(Scan, Decimal16KeepsTheValueModulo65536) {
    EXPECT_EQ(Decimal16("70000").value, 4464u);
    EXPECT_EQ(Decimal16("65535").value, 65535u);
    EXPECT_EQ(Decimal16("-1", 3).value, 65535u);
    EXPECT_EQ(Decimal16(std::string(200, '9').c_str()).ok, true);
}

TEST(Scan, HexReadsAnyNumberOfDigitsAndSaturates) {
    EXPECT_EQ(Hex("0F").value, 15u);
    EXPECT_EQ(Hex("00000000010").value, 16u);
    EXPECT_EQ(Hex("ff").value, 255u);
    EXPECT_EQ(Hex("123456789ABCDEF").value, 0xFFFFFFFFu);
    EXPECT_EQ(Hex("-1").value, 0xFFFFFFFFu);
    EXPECT_TRUE(Hex("0X5").ok);
    EXPECT_FALSE(Hex("G").ok);
    EXPECT_FALSE(Hex("").ok);
    EXPECT_FALSE(Hex("-").ok);
}

TEST(Scan, SignedDecimalSaturatesAtThe32BitLimits) {
    EXPECT_EQ(SignedDecimal(" 2").value, 2);
    EXPECT_EQ(SignedDecimal("-1").value, -1);
    EXPECT_EQ(SignedDecimal("+257trailing").value, 257);
    EXPECT_EQ(SignedDecimal("99999999999999999999").value, INT32_MAX);
    EXPECT_EQ(SignedDecimal("-99999999999999999999").value, INT32_MIN);
    EXPECT_FALSE(SignedDecimal("x").ok);
    EXPECT_FALSE(SignedDecimal("  ").ok);
}

TEST(Scan, NoConversionReadsPastTheTerminatingNul) {
    // The text sits at the very end of a buffer; a read past its NUL would
    // show up under the sanitizers.
    char buffer[3] = {'1', '2', '\0'};
    EXPECT_EQ(Decimal(buffer, 3).value, 12u);
    EXPECT_EQ(Hex(buffer).value, 0x12u);
    EXPECT_EQ(SignedDecimal(buffer).value, 12);
    EXPECT_EQ(BoundedLength(buffer, 80), 2u);
    EXPECT_EQ(BoundedLength("abcdef", 4), 4u);
}

}  // namespace
}  // namespace rizuz::scan
