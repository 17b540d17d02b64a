// The byte-order and float primitives against the worked values and the edges
// of both ranges, in both directions.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <optional>

#include "data/conversions.hpp"

namespace rizuz::testing {
namespace {

struct FloatCase {
    const char* what;
    std::optional<std::uint32_t> ieee;  // none: a Siemens pattern IeeeToSiemens never produces
    std::uint32_t siemens;
    std::uint32_t ieeeBack;             // SiemensToIeee(siemens)
};

// Hexadecimal bit patterns.
const FloatCase kFloatCases[] = {
    {"1.0", 0x3F800000, 0x01400000, 0x3F800000},
    {"-1.0", 0xBF800000, 0x01C00000, 0xBF800000},
    {"0.5", 0x3F000000, 0x00400000, 0x3F000000},
    {"0.25", 0x3E800000, 0xFF400000, 0x3E800000},
    {"-0.25", 0xBE800000, 0xFFC00000, 0xBE800000},
    {"2.0", 0x40000000, 0x02400000, 0x40000000},
    {"3.0", 0x40400000, 0x02600000, 0x40400000},
    {"-3.0", 0xC0400000, 0x02A00000, 0xC0400000},
    {"10.0", 0x41200000, 0x04500000, 0x41200000},
    {"100.0", 0x42C80000, 0x07640000, 0x42C80000},
    {"-100.0", 0xC2C80000, 0x079C0000, 0xC2C80000},
    {"1234.5", 0x449A5000, 0x0B4D2800, 0x449A5000},
    {"0.1 loses its last fraction bit", 0x3DCCCCCD, 0xFD666666, 0x3DCCCCCC},
    {"0.0", 0x00000000, 0x80000000, 0x00000000},
    {"-0.0 is taken as a normal number", 0x80000000, 0x82C00000, 0x80000000},
    {"infinity wraps to exponent -127", 0x7F800000, 0x81400000, 0x7F800000},
    {"2^127 wraps to exponent -128", 0x7F000000, 0x80400000, 0x7F000000},
    {"largest IEEE value", 0x7F7FFFFF, 0x807FFFFF, 0x7F7FFFFE},
    {"-2^k is -0.5 * 2^(k+1)", 0xC1000000, 0x04C00000, 0xC1000000},
    {"mantissa -1.0 raises the exponent", std::nullopt, 0x00800000, 0xBF800000},
    {"mantissa -1.0 with exponent 1", std::nullopt, 0x01800000, 0xC0000000},
    {"zero mantissa with any exponent", std::nullopt, 0x00000000, 0x00000000},
    {"zero mantissa, exponent 127", std::nullopt, 0x7F000000, 0x00000000},
    {"largest Siemens value", std::nullopt, 0x7F7FFFFF, 0x7EFFFFFE},
    {"exponent -126 gives a subnormal", std::nullopt, 0x82600000, 0x00400000},
    {"exponent -126 with the leading one only", std::nullopt, 0x82400000, 0x00000000},
    {"unnormalised input gets the leading one all the same", std::nullopt, 0x01200000, 0x3FC00000},
};

TEST(FloatConversion, WorkedValuesAndEdgesBothWays) {
    for (const FloatCase& c : kFloatCases) {
        if (c.ieee) {
            EXPECT_EQ(IeeeToSiemens(*c.ieee), c.siemens) << c.what;
        }
        EXPECT_EQ(SiemensToIeee(c.siemens), c.ieeeBack) << c.what;
    }
}

TEST(ByteOrder, CardBytesAsSixteenAndThirtyTwoBitValues) {
    const std::uint8_t card[4] = {0x12, 0x34, 0x56, 0x78};
    EXPECT_EQ(LoadCard16(card, false), 0x3412);
    EXPECT_EQ(LoadCard16(card, true), 0x1234);
    EXPECT_EQ(LoadCard32(card, false), 0x78563412u);
    EXPECT_EQ(LoadCard32(card, true), 0x12345678u);
    EXPECT_EQ(Swap16(0x1234), 0x3412);
    EXPECT_EQ(Reverse32(card), 0x12345678u);

    for (bool swap : {false, true}) {
        std::uint8_t out[4] = {};
        StoreCard32(out, LoadCard32(card, swap), swap);
        EXPECT_EQ(0, std::memcmp(out, card, 4)) << swap;
        StoreCard16(out, LoadCard16(card, swap), swap);
        EXPECT_EQ(0, std::memcmp(out, card, 2)) << swap;
    }
}

TEST(ByteOrder, OnlyExactlyOneSwitchesAFlagOn) {
    EXPECT_TRUE(FlagOn(1));
    for (int off : {0, 2, 0xFF}) EXPECT_FALSE(FlagOn(static_cast<std::uint8_t>(off))) << off;
}

}  // namespace
}  // namespace rizuz::testing
