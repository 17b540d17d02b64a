// Function 11: shutdown, and what the host meets after it.
#include <string>

#include "lifecycle_fixture.hpp"
#include "rizuz/memory_type.hpp"

namespace rizuz::testing {
namespace {

using CardCall = softcard::Call;

class EndNuvTest : public LifecycleTest {};

TEST_F(EndNuvTest, WithdrawsHostReadyThenReleasesBoardAndDriverInEveryCase) {
    struct Case {
        const char* name;
        std::vector<std::pair<CardCall, std::int16_t>> failures;
        NuvResult result;
        std::vector<std::string> messages;
        std::vector<std::string> calls;
    };
    const std::vector<std::string> allThree = {"DevSetHostState", "DevExitBoard", "DevCloseDriver"};
    const Case cases[] = {
        {"all succeed", {}, kDone,
         {"RIZUZ> Deactivated application successfuly", "RIZUZ> EndNuv exited board succeessfuly",
          "RIZUZ> EndNuv closed CIF driver succeessfuly"},
         allThree},
        {"host state", {{CardCall::SetHostState, -3}}, kFailed,
         {"RIZUZ> Error trying to deactivate application (DevSetHostState) rc=-3"},
         {"DevSetHostState"}},
        {"exit board", {{CardCall::ExitBoard, -4}}, kDone,
         {"RIZUZ> Deactivated application successfuly", "RIZUZ> EndNuv error when exiting board(DevExitBoard), rc=-4",
          "RIZUZ> EndNuv closed CIF driver succeessfuly"},
         allThree},
        {"close driver", {{CardCall::CloseDriver, -5}}, kDone,
         {"RIZUZ> Deactivated application successfuly", "RIZUZ> EndNuv exited board succeessfuly",
          "RIZUZ> EndNuv error when closing CIF driver(DevCloseDriver), rc=-5"},
         allThree},
        {"exit and close", {{CardCall::ExitBoard, -4}, {CardCall::CloseDriver, -5}}, kDone,
         {"RIZUZ> Deactivated application successfuly", "RIZUZ> EndNuv error when exiting board(DevExitBoard), rc=-4",
          "RIZUZ> EndNuv error when closing CIF driver(DevCloseDriver), rc=-5"},
         allThree},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        softcard::Reset();
        std::memset(&context(), 0, sizeof(DriverContext));
        context().card = 2;
        StartRunning();
        for (const auto& [call, code] : c.failures) softcard::FailCall(call, code);

        EXPECT_EQ(Call(11, nullptr), c.result);
        EXPECT_EQ(MessageTexts(), c.messages);
        for (const auto& m : Messages()) EXPECT_EQ(m.msgClass, kEvent);
        std::vector<std::string> calls;
        for (const auto& record : softcard::CallLog()) {
            calls.push_back(softcard::CallName(record.call));
            EXPECT_EQ(record.card, 2u);
        }
        EXPECT_EQ(calls, c.calls);
        EXPECT_EQ(softcard::CallLog().front().args, (std::vector<std::uint32_t>{0, 5000}));  // host not ready
        EXPECT_EQ(context().shutDown, 1);
        EXPECT_EQ(context().commRunning, 1);  // left for function 1 to clear
        EXPECT_EQ(context().boardOpened, 1);
    }
}

TEST_F(EndNuvTest, RunsWhetherOrNotTheBoardWasStarted) {
    // The card is open, but the context says nothing was started (as after function 1).
    StartRunning();
    context().commRunning = 0;
    context().boardOpened = 0;
    EXPECT_EQ(Call(11, nullptr), kDone);
    EXPECT_EQ(softcard::CallLog().size(), 3u);
    EXPECT_FALSE(softcard::Status(0).driverOpen);

    // On a card never opened, the withdrawal itself fails: nothing else is tried.
    softcard::Reset();
    ClearMessages();
    context().shutDown = 0;
    EXPECT_EQ(Call(11, nullptr), kFailed);
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{
                                  "RIZUZ> Error trying to deactivate application (DevSetHostState) rc=-10"}));
    EXPECT_EQ(softcard::CallCount(CardCall::ExitBoard) + softcard::CallCount(CardCall::CloseDriver), 0u);
    EXPECT_EQ(context().shutDown, 1);
}

TEST_F(EndNuvTest, ReadsAreRefusedEvenAfterAFailedShutDown) {
    StartRunning();
    softcard::FailCall(CardCall::SetHostState, -3);
    ASSERT_EQ(Call(11, nullptr), kFailed);
    ClearMessages();
    GateIo io{};
    EXPECT_EQ(Call(5, &io), kRefused);
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"RIZUZ> Call to 5 after shut down !"}));
}

TEST_F(EndNuvTest, CheckAfterShutDownMeetsTheClosedDriver) {
    StartRunning();
    ASSERT_EQ(Call(11, nullptr), kDone);
    ClearMessages();
    // Communication was running, so no start-up: the card's answer is reported as it comes.
    EXPECT_EQ(Call(2, nullptr), kDone);
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{
                                  "RIZUZ> Error trying to get IO information (DevGetInfo) rc=-10"}));
}

TEST_F(EndNuvTest, InitAfterShutDownLetsReadsThroughAgain) {
    ScratchDirectory scratch;
    StartRunning();
    ASSERT_EQ(Call(11, nullptr), kDone);
    InitParams params{};
    ASSERT_EQ(Call(1, &params), kDone);
    EXPECT_EQ(context().shutDown, 0);

    char address[] = "R6000";
    std::uint8_t value[4] = {};
    GateIo io{};
    io.address = address;
    io.locator = {0, MakeTypeWord(kUnsigned16, 'R'), 0, -1, 16};
    io.count = 1;
    io.value = value;
    ClearMessages();
    Call(5, &io);
    for (const auto& text : MessageTexts()) EXPECT_EQ(text.find("after shut down"), std::string::npos) << text;
}

}  // namespace
}  // namespace rizuz::testing
