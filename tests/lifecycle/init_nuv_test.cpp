// Function 1: build stamp, init file, time-out, cleared lifecycle flags.
#include <regex>
#include <string>

#include "lifecycle_fixture.hpp"

namespace rizuz::testing {
namespace {

class InitNuvTest : public LifecycleTest {
protected:
    NuvResult Init(std::uint32_t timeoutTicks) {
        InitParams params{};
        params.timeoutTicks = timeoutTicks;
        return Call(1, &params);
    }
    ScratchDirectory scratch_;
};

TEST_F(InitNuvTest, ResetsTheContextAndReportsEachStep) {
    DriverContext& c = context();
    c.shutDown = 1;
    c.commRunning = 1;
    c.boardOpened = 1;
    c.diagMessageNumber = 77;
    c.card = 3;
    c.swap = 1;
    c.convert = 1;
    std::memset(c.sendBuffer, 0x5A, sizeof c.sendBuffer);
    std::memset(c.receiveBuffer, 0xA5, sizeof c.receiveBuffer);

    ASSERT_EQ(Init(0), kDone);

    ASSERT_EQ(Messages().size(), 8u);
    EXPECT_EQ(Messages()[0].msgClass, kDetail);
    const std::vector<LoggedMessage> rest(Messages().begin() + 1, Messages().end());
    EXPECT_EQ(rest, (std::vector<LoggedMessage>{
                        {kEvent, "RIZUZ> Opening init file RIZUZ01.INT"},
                        {kEvent, "RIZUZ> Initialisation file RIZUZ01.INT not found - using default:"},
                        {kEvent, "RIZUZ> CARD    (Card Number)                              set to 0"},
                        {kEvent, "RIZUZ> SWAP    (Allows usage of Motorola format)          set to off"},
                        {kEvent, "RIZUZ> CONVERT (Convert floating point to Siemens format) set to off"},
                        {kEvent, "RIZUZ> Timeout set to 1000 msec"},
                        {kEvent, "RIZUZ> Palvex Profibus DP driver (Hilscher card) 32 bit"},
                    }));

    EXPECT_EQ(c.timeout, 1000u);
    EXPECT_EQ(c.shutDown, 0);
    EXPECT_EQ(c.commRunning, 0);
    EXPECT_EQ(c.boardOpened, 0);
    EXPECT_EQ(c.diagMessageNumber, 0);
    EXPECT_EQ(c.card, 0);
    EXPECT_EQ(c.swap, 0);
    EXPECT_EQ(c.convert, 0);
    for (auto byte : c.sendBuffer) ASSERT_EQ(byte, 0x5A);
    for (auto byte : c.receiveBuffer) ASSERT_EQ(byte, 0xA5);
    for (unsigned k = 0; k < softcard::kCallCount; ++k) EXPECT_EQ(softcard::CallCount(static_cast<softcard::Call>(k)), 0u);
}

TEST_F(InitNuvTest, BuildStampHasTheCompilersDateAndTimeFormat) {
    ASSERT_EQ(Init(0), kDone);
    const std::regex stamp(
        "RIZUZ> version compiled on (Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) ( [1-9]|[12][0-9]|3[01]) "
        "[0-9]{4} and time ([01][0-9]|2[0-3]):[0-5][0-9]:[0-5][0-9]");
    EXPECT_TRUE(std::regex_match(Messages().at(0).text, stamp)) << Messages().at(0).text;
}

TEST_F(InitNuvTest, TimeoutIsTicksTimesTenIn32Bits) {
    struct Case {
        std::uint32_t ticks;
        std::uint32_t timeout;
        const char* shown;
    };
    const Case cases[] = {
        {0, 1000, "1000"},
        {1, 10, "10"},
        {500, 5000, "5000"},
        {429496730u, 4, "4"},                      // 4294967300 wraps to 4
        {300000000u, 3000000000u, "-1294967296"},  // shown as the 32-bit signed number
        {0xFFFFFFFFu, 0xFFFFFFF6u, "-10"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ticks);
        ClearMessages();
        ASSERT_EQ(Init(c.ticks), kDone);
        EXPECT_EQ(context().timeout, c.timeout);
        const auto texts = MessageTexts();
        EXPECT_EQ(texts.at(texts.size() - 2), std::string("RIZUZ> Timeout set to ") + c.shown + " msec");
    }
}

}  // namespace
}  // namespace rizuz::testing
