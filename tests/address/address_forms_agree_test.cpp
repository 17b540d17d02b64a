// The two address forms name the same gates: every short address and its
// extended twin are accepted or refused alike, and when accepted they yield the
// same locator (and, for strings, the same length).
#include <cstdio>
#include <string>

#include "address/string_length.hpp"
#include "parse_harness.hpp"

namespace rizuz::testing {
namespace {

struct Parsed {
    NuvResult result;
    LocatorWords locator;
};

// The enumeration runs over a few hundred thousand addresses: plain buffers,
// no guard pages, and the log emptied as it goes.
Parsed Parse(const std::string& address) {
    char text[32];
    std::snprintf(text, sizeof text, "%s", address.c_str());
    GateDefinition definition{};
    definition.address = text;
    definition.locator = kUntouchedLocator;
    DriverRequest request{nullptr, 3, 1, 0, &definition};
    const NuvResult result = PARSE(request);
    ClearMessages();
    return {result, Words(definition.locator)};
}

std::string ThreeDigits(unsigned offset) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%03u", offset);
    return digits;
}

TEST(AddressForms, EveryShortNumericAddressAgreesWithItsExtendedTwin) {
    const std::string bitCharacters = "0123456789ABCDEF";
    unsigned accepted = 0;
    for (const char area : {'S', 'R'}) {
        for (char type = '1'; type <= '8'; ++type) {
            for (unsigned offset = 0; offset <= 999; ++offset) {
                // Without a bit character, then with each of the sixteen.
                for (std::size_t b = 0; b <= bitCharacters.size(); ++b) {
                    const std::string bit = b == 0 ? "" : std::string(1, bitCharacters[b - 1]);
                    const std::string shortForm = std::string{area, type} + ThreeDigits(offset) + bit;
                    const std::string extended =
                        std::string{area, type, 'X'} + std::to_string(offset) + (bit.empty() ? "" : "B" + bit);
                    const Parsed fromShort = Parse(shortForm);
                    const Parsed fromExtended = Parse(extended);
                    ASSERT_EQ(fromShort.result, fromExtended.result) << shortForm << " / " << extended;
                    if (fromShort.result != kDone) continue;
                    ASSERT_EQ(fromShort.locator, fromExtended.locator) << shortForm << " / " << extended;
                    ++accepted;
                }
            }
        }
    }
    EXPECT_GT(accepted, 0u);  // the enumeration did reach accepted addresses
}

TEST(AddressForms, EveryShortStringAddressAgreesWithItsExtendedTwin) {
    for (const char area : {'S', 'R'}) {
        for (unsigned offset = 0; offset <= 999; ++offset) {
            for (const char* length : {"00", "07", "80", "99"}) {
                const std::string shortForm = std::string{area, 'S'} + ThreeDigits(offset) + length;
                const std::string extended = std::string{area, 'S', 'X'} + std::to_string(offset) + "L" + length;
                const Parsed fromShort = Parse(shortForm);
                const Parsed fromExtended = Parse(extended);
                ASSERT_EQ(fromShort.result, kDone) << shortForm;
                ASSERT_EQ(fromExtended.result, kDone) << extended;
                ASSERT_EQ(fromShort.locator, fromExtended.locator) << shortForm << " / " << extended;
                std::uint32_t shortLength = 0;
                std::uint32_t extendedLength = 0;
                ASSERT_TRUE(StringGateLength(shortForm.c_str(), shortLength)) << shortForm;
                ASSERT_TRUE(StringGateLength(extended.c_str(), extendedLength)) << extended;
                ASSERT_EQ(shortLength, extendedLength) << shortForm;
            }
        }
    }
}

}  // namespace
}  // namespace rizuz::testing
