// Function 2: start-up if needed, then the communication bit.
#include "lifecycle_fixture.hpp"

namespace rizuz::testing {
namespace {

using CardCall = softcard::Call;

class CheckCommTest : public LifecycleTest {};

TEST_F(CheckCommTest, FirstRequestStartsTheBoardThenReadsTheBitItself) {
    ASSERT_EQ(Call(2, nullptr), kDone);
    EXPECT_EQ(Messages(), DefaultReport(0));
    EXPECT_EQ(InfoKindsCalled(), (std::vector<std::uint32_t>{2, 3, 6, 7, 7}));
    EXPECT_EQ(context().commRunning, 1);
}

TEST_F(CheckCommTest, WhileRunningReportsTheBit) {
    struct Case {
        const char* name;
        softcard::CommBit bit;
        std::int16_t failure;  // of DevGetInfo, 0 for none
        NuvResult result;
        std::vector<LoggedMessage> messages;
    };
    const Case cases[] = {
        {"bit on", softcard::CommBit::On, 0, kDone, {}},
        // A detail line here, not the start-up's event.
        {"bit off", softcard::CommBit::Off, 0, kFailed,
         {{kDetail, "RIZUZ> Communication bit if off - DPS Card can not run!"}}},
        {"unreadable", softcard::CommBit::On, -5, kDone,
         {{kEvent, "RIZUZ> Error trying to get IO information (DevGetInfo) rc=-5"}}},
    };
    StartRunning();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearMessages();
        softcard::ClearCallLog();
        softcard::SetCommBit(0, c.bit);
        if (c.failure != 0) softcard::FailCall(CardCall::GetInfo, c.failure);
        EXPECT_EQ(Call(2, nullptr), c.result);
        EXPECT_EQ(Messages(), c.messages);
        ASSERT_EQ(softcard::CallLog().size(), 1u);
        EXPECT_EQ(softcard::CallLog()[0].args, (std::vector<std::uint32_t>{7, 6, 1}));  // kind, size, reply buffer
        EXPECT_EQ(context().commRunning, 1);  // a bit seen off does not stop communication
    }
}

TEST_F(CheckCommTest, BitOffAtStartUpIsReportedOnceAsAnEvent) {
    softcard::SetCommBit(0, softcard::CommBit::Off);
    EXPECT_EQ(Call(2, nullptr), kFailed);
    std::vector<LoggedMessage> expected = DefaultReport(0);
    expected.push_back({kEvent, "RIZUZ> Communication bit if off - DPS Card can not run!"});
    EXPECT_EQ(Messages(), expected);
    EXPECT_EQ(InfoKindsCalled(), (std::vector<std::uint32_t>{2, 3, 6, 7}));  // no read of its own
}

TEST_F(CheckCommTest, FailedStartUpFailsTheCheck) {
    softcard::FailCall(CardCall::OpenDriver, -3);
    EXPECT_EQ(Call(2, nullptr), kFailed);
    EXPECT_EQ(Messages().back(), (LoggedMessage{kEvent, "RIZUZ> Error trying to open device driver (DevOpenDriver) rc=-3"}));
    EXPECT_TRUE(InfoKindsCalled().empty());
}

}  // namespace
}  // namespace rizuz::testing
