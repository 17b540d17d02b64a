// How NuvMain answers function numbers before any handler runs.
#include <gtest/gtest.h>

#include "driver_fixture.hpp"

namespace rizuz::testing {
namespace {

class DispatchTest : public DriverTest {
protected:
    unsigned CardCalls() {
        unsigned total = 0;
        for (unsigned c = 0; c < softcard::kCallCount; ++c) total += softcard::CallCount(static_cast<softcard::Call>(c));
        return total;
    }
};

TEST_F(DispatchTest, NumbersOutOfRangeAreUnrecognized) {
    for (std::uint32_t function : {0u, 19u, 0xFFFFFFFFu, 0x80000000u}) {
        ClearMessages();
        DriverRequest request{nullptr, function, 1, 0, nullptr};  // nothing behind it may be touched
        EXPECT_EQ(NuvMain(&request), kFailed) << function;
        const std::string number = std::to_string(static_cast<std::int32_t>(function));
        EXPECT_EQ(Messages(), (std::vector<LoggedMessage>{
                                  {kEvent, "RIZUZ> NuvMain, unrecognized function number " + number}}));
    }
    EXPECT_EQ(CardCalls(), 0u);
}

TEST_F(DispatchTest, EmptySlotsAreNotSupportedBeforeAndAfterShutDown) {
    for (int shutDown = 0; shutDown < 2; ++shutDown) {
        context().shutDown = static_cast<std::uint8_t>(shutDown);
        for (std::uint32_t function : {8u, 9u, 12u, 13u, 15u, 16u}) {
            ClearMessages();
            EXPECT_EQ(Call(function, nullptr), kFailed);
            EXPECT_EQ(Messages(), (std::vector<LoggedMessage>{
                                      {kEvent, "RIZUZ> NuvMain, function number " + std::to_string(function) +
                                                   " not supported"}}));
        }
    }
    EXPECT_EQ(CardCalls(), 0u);
}

TEST_F(DispatchTest, ReadsAreRefusedAfterShutDownWithoutTouchingAnything) {
    context().shutDown = 1;
    GateIo io{};
    for (std::uint32_t function : {5u, 6u}) {
        ClearMessages();
        EXPECT_EQ(Call(function, &io), kRefused);
        EXPECT_EQ(Messages(), (std::vector<LoggedMessage>{
                                  {kEvent, "RIZUZ> Call to " + std::to_string(function) + " after shut down !"}}));
    }
    EXPECT_EQ(CardCalls(), 0u);
    EXPECT_EQ(context().shutDown, 1);
}

TEST_F(DispatchTest, OtherFunctionsStillReachTheirHandlersAfterShutDown) {
    context().shutDown = 1;
    char address[] = "S6010";
    std::uint8_t value[4] = {};
    for (std::uint32_t function : {2u, 7u, 10u, 17u, 18u}) {
        ClearMessages();
        GateIo io{};
        io.address = address;
        io.locator = {0, 0x60053, 5, -1, 16};
        io.count = 1;
        io.value = value;
        Call(function, &io);
        for (const auto& m : Messages()) EXPECT_EQ(m.text.find("after shut down"), std::string::npos) << function;
    }
}

}  // namespace
}  // namespace rizuz::testing
