// The length of a string gate, read from its address wherever it is needed.
#include <gtest/gtest.h>

#include "address/string_length.hpp"
#include "guarded_text.hpp"

namespace rizuz::testing {
namespace {

TEST(StringGateLength, ReadsTwoDigitsFromWhereEachFormKeepsThem) {
    struct Case {
        const char* address;
        bool ok;
        std::uint32_t length;
    };
    const Case cases[] = {
        {"SS01012", true, 12},   {"RS01020", true, 20},   {"SS01080", true, 80},   {"SS0100A", true, 0},
        {"SS0101", true, 1},     {"SSX100L40", true, 40}, {"SSX100L123", true, 12}, {"SSX0L7", true, 7},
        {"SS010-1", true, 0xFFFFFFFFu},  // negative: out of every range, refused by the definition check
        // No number where the length belongs.
        {"SS010AB", false, 0},   {"SS010", false, 0},     {"SS01", false, 0},      {"S", false, 0},
        {"", false, 0},          {"SSX10L", false, 0},    {"SSX10", false, 0},     {"SSX", false, 0},
        {"SSXL12", true, 12},    // no offset digits: still the field after the 'L'
    };
    for (const Case& c : cases) {
        GuardedText text(c.address);  // a read past the NUL faults
        std::uint32_t length = 0x5A5A;
        EXPECT_EQ(StringGateLength(text.data(), length), c.ok) << c.address;
        if (c.ok) {
            EXPECT_EQ(length, c.length) << c.address;
        }
    }
    std::uint32_t length = 0;
    EXPECT_FALSE(StringGateLength(nullptr, length));
}

TEST(StringGateLength, AStringGateHasAnSInPositionOne) {
    for (const char* address : {"SS01012", "RSX10L5", "DS"}) {
        GuardedText text(address);
        EXPECT_TRUE(IsStringGateAddress(text.data())) << address;
    }
    for (const char* address : {"R5001", "S", "", "ss01012"}) {
        GuardedText text(address);
        EXPECT_FALSE(IsStringGateAddress(text.data())) << address;
    }
    EXPECT_FALSE(IsStringGateAddress(nullptr));
}

}  // namespace
}  // namespace rizuz::testing
