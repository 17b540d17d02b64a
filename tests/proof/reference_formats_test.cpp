// The soak's reference formats against the worked values of the Siemens
// format and of the byte order, so the model the soak trusts is right itself.
#include "reference_formats.hpp"

#include <gtest/gtest.h>

namespace rizuz::testing::reference {
namespace {

struct FloatCase {
    std::uint32_t ieee;
    std::uint32_t siemens;
    std::uint32_t back;
};

TEST(ReferenceFormats, SiemensWorkedValues) {
    const FloatCase cases[] = {
        {0x3F800000, 0x01400000, 0x3F800000}, {0xBF800000, 0x01C00000, 0xBF800000},  //  1.0, -1.0
        {0x3F000000, 0x00400000, 0x3F000000}, {0x3E800000, 0xFF400000, 0x3E800000},  //  0.5, 0.25
        {0xBE800000, 0xFFC00000, 0xBE800000}, {0x40000000, 0x02400000, 0x40000000},  // -0.25, 2.0
        {0x40400000, 0x02600000, 0x40400000}, {0xC0400000, 0x02A00000, 0xC0400000},  //  3.0, -3.0
        {0x41200000, 0x04500000, 0x41200000}, {0x42C80000, 0x07640000, 0x42C80000},  //  10, 100
        {0xC2C80000, 0x079C0000, 0xC2C80000}, {0x449A5000, 0x0B4D2800, 0x449A5000},  // -100, 1234.5
        {0x3DCCCCCD, 0xFD666666, 0x3DCCCCCC}, {0x00000000, 0x80000000, 0x00000000},  //  0.1, 0.0
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SiemensFromIeee(c.ieee), c.siemens) << std::hex << c.ieee;
        EXPECT_EQ(IeeeFromSiemens(c.siemens), c.back) << std::hex << c.siemens;
        EXPECT_EQ(WithoutLastFractionBit(c.ieee), c.back) << std::hex << c.ieee;
    }
}

TEST(ReferenceFormats, SiemensPatternsAHostNeverWrites) {
    EXPECT_EQ(IeeeFromSiemens(0x00800000), 0xBF800000u);  // mantissa -1.0
    EXPECT_EQ(IeeeFromSiemens(0x01800000), 0xC0000000u);
    EXPECT_EQ(IeeeFromSiemens(0x00000000), 0x00000000u);
    EXPECT_EQ(IeeeFromSiemens(0x7F7FFFFF), 0x7EFFFFFEu);
    EXPECT_EQ(IeeeFromSiemens(0x81400000), 0x7F800000u);
    EXPECT_EQ(IeeeFromSiemens(0x80400000), 0x7F000000u);
}

TEST(ReferenceFormats, ByteOrder) {
    const std::uint8_t bytes[] = {0x12, 0x34, 0x56, 0x78};
    EXPECT_EQ(Get16(bytes, false), 0x3412);
    EXPECT_EQ(Get16(bytes, true), 0x1234);
    EXPECT_EQ(Get32(bytes, false), 0x78563412u);
    EXPECT_EQ(Get32(bytes, true), 0x12345678u);
    std::uint8_t out[4] = {};
    Put32(out, 0x12345678u, true);
    EXPECT_EQ(Get32(out, false), 0x78563412u);
    Put16(out, 0x1234, false);
    EXPECT_EQ(out[0], 0x34);
}

TEST(ReferenceFormats, RandomConvertedFloatsRoundTripWithinTheLastBit) {
    std::mt19937 rng(7);
    for (int i = 0; i < 100000; ++i) {
        const std::uint32_t bits = RandomFloatBits(rng, true);
        ASSERT_EQ(IeeeFromSiemens(SiemensFromIeee(bits)), WithoutLastFractionBit(bits)) << std::hex << bits;
    }
}

}  // namespace
}  // namespace rizuz::testing::reference
