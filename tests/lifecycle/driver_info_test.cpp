// Function 14: what the driver tells the host about itself.
#include <cstring>
#include <string>

#include "lifecycle_fixture.hpp"

namespace rizuz::testing {
namespace {

// The banner, built from its description: code page 437 box around one line.
std::string ExpectedBanner() {
    const std::string crlf = "\r\n";
    const std::string blanks(8, ' ');
    const std::string rule(66, '\xC4');
    return crlf +                                                                          //
           '\xDA' + rule + '\xBF' + blanks + crlf +                                        //
           '\xB3' + " RIZUZ: HILSCHER CIF30 cards: Profibus DP, Interbus-S and CanOpen " + //
           '\xB3' + blanks + crlf +                                                        //
           '\xC0' + rule + '\xD9' + blanks + crlf;
}

TEST(GetDriverInfo, FillsTheRecordWithoutAContext) {
    softcard::Reset();
    ClearMessages();
    DriverInfo info;
    std::memset(&info, 0xA5, sizeof info);
    const std::int32_t untouched = info.word20;

    DriverRequest request{nullptr, 14, 1, 0, &info};  // the host has no context yet
    ASSERT_EQ(NuvMain(&request), kDone);

    EXPECT_EQ(info.word0, 70);
    EXPECT_STREQ(info.shortName, "Hilscher CIF30");
    EXPECT_EQ(info.contextSize, 1052);
    EXPECT_EQ(info.word16, 2);
    EXPECT_EQ(info.word20, untouched);
    EXPECT_EQ(info.word24, untouched);
    EXPECT_EQ(info.word28, 19);

    ASSERT_EQ(std::strlen(info.banner), 236u);
    EXPECT_EQ(std::string(info.banner), ExpectedBanner());
    EXPECT_EQ(ExpectedBanner().size(), 236u);

    EXPECT_TRUE(Messages().empty());
    for (unsigned c = 0; c < softcard::kCallCount; ++c) EXPECT_EQ(softcard::CallCount(static_cast<softcard::Call>(c)), 0u);
}

TEST(GetDriverInfo, AnswersTheSameEveryTime) {
    DriverInfo first{};
    DriverInfo second{};
    DriverRequest request{nullptr, 14, 1, 0, &first};
    ASSERT_EQ(NuvMain(&request), kDone);
    request.params = &second;
    ASSERT_EQ(NuvMain(&request), kDone);
    EXPECT_EQ(first.shortName, second.shortName);
    EXPECT_EQ(first.banner, second.banner);
    EXPECT_EQ(std::memcmp(&first, &second, sizeof first), 0);
}

}  // namespace
}  // namespace rizuz::testing
