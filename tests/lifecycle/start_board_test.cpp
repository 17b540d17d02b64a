// The lazy start-up: its report, its failures and what the next request repeats.
#include <cstring>

#include "lifecycle_fixture.hpp"

namespace rizuz::testing {
namespace {

using CardCall = softcard::Call;

class StartBoardTest : public LifecycleTest {};

TEST_F(StartBoardTest, FirstRequestOpensReportsAndRuns) {
    context().card = 1;
    ASSERT_EQ(StartBoardNow(), kDone);
    EXPECT_EQ(Messages(), DefaultReport(1));
    EXPECT_EQ(context().boardOpened, 1);
    EXPECT_EQ(context().commRunning, 1);

    // The calls, their arguments and their order.
    std::vector<std::string> calls;
    for (const auto& record : softcard::CallLog()) {
        EXPECT_EQ(record.card, 1u);
        calls.push_back(softcard::CallName(record.call));
        if (record.call == CardCall::InitBoard) {
            EXPECT_EQ(record.args, (std::vector<std::uint32_t>{0}));  // null reserved pointer
        }
        if (record.call == CardCall::GetBoardInfo) {
            EXPECT_EQ(record.args.at(0), 56u);
        }
        if (record.call == CardCall::SetHostState) {
            EXPECT_EQ(record.args, (std::vector<std::uint32_t>{1, 5000}));
        }
    }
    EXPECT_EQ(calls, (std::vector<std::string>{"DevOpenDriver", "DevInitBoard", "DevGetBoardInfo", "DevGetInfo",
                                               "DevGetInfo", "DevGetInfo", "DevSetHostState", "DevGetInfo"}));
    EXPECT_EQ(InfoKindsCalled(), (std::vector<std::uint32_t>{2, 3, 6, 7}));
    std::vector<std::uint32_t> sizes;
    for (const auto& record : softcard::CallLog()) {
        if (record.call == CardCall::GetInfo) sizes.push_back(record.args.at(1));
    }
    EXPECT_EQ(sizes, (std::vector<std::uint32_t>{32, 32, 6, 6}));

    // Once running, an I/O request goes straight on.
    ClearMessages();
    softcard::ClearCallLog();
    EXPECT_TRUE(BoardReadyNow());
    EXPECT_TRUE(Messages().empty());
    EXPECT_TRUE(softcard::CallLog().empty());
}

TEST_F(StartBoardTest, ReportShowsEveryFieldAsTheCardHoldsIt) {
    context().card = 2;
    softcard::Replies& r = softcard::RepliesOf(2);
    r.boardInfo.fill(0xEE);  // the other entries must not show
    std::memcpy(r.boardInfo.data(), "DRIVER-VERSION16", 16);  // no NUL: cut at 16
    std::uint8_t* entry = r.boardInfo.data() + 36;
    const std::uint16_t available = 258;
    const std::uint8_t address[4] = {0x12, 0x34, 0x56, 0x78};
    const std::uint16_t irq = 266;
    std::memcpy(entry + 2, &available, 2);
    std::memcpy(entry + 4, address, 4);
    std::memcpy(entry + 8, &irq, 2);

    const std::uint8_t version[16] = {0x12, 0x34, 0x56, 0x78, 0x00, 0x00, 0x30, 0x30,
                                      0x00, 0x01, 0x00, 0x02, 0xFF, 0xFF, 0xFF, 0xFF};
    std::memcpy(r.version.data(), version, 16);
    std::memcpy(r.version.data() + 16, "OPERATING-SYS-16", 16);
    std::memcpy(r.firmware.data(), "FIRMWARE-NAME-16", 16);
    std::memcpy(r.firmware.data() + 16, "V2\0 not shown   ", 16);  // a NUL ends the text early
    const std::uint8_t device[6] = {0x99, 200, 7, 'A', 'B', 'C'};
    std::memcpy(r.device.data(), device, 6);

    ASSERT_EQ(StartBoardNow(), kDone);
    // The four address bytes print as the number they hold in the machine's
    // (little-endian) order; the version values print first byte first.
    EXPECT_EQ(Messages(), (std::vector<LoggedMessage>{
                              {kDetail, "RIZUZ> Info: About to open device driver"},
                              {kDetail, "RIZUZ> Info: Opening device driver, successful (DevOpenDriver)"},
                              {kDetail, "RIZUZ> Info: CIF board initialisation, successful (DevInitBoard)"},
                              {kEvent, "================================================"},
                              {kEvent, "RIZUZ> Driver Version: DRIVER-VERSION16"},
                              {kEvent, "RIZUZ> Board Information for card Number 2:"},
                              {kEvent, "RIZUZ>       Available: 258"},
                              {kEvent, "RIZUZ>       Physical Address: 78563412"},
                              {kEvent, "RIZUZ>       IRQ Number: 266"},
                              {kEvent, "------------------------------------------------"},
                              {kEvent, "RIZUZ> Version Information:"},
                              {kEvent, "RIZUZ>         Date         : 12345678"},
                              {kEvent, "RIZUZ>         Device Number: 3030"},
                              {kEvent, "RIZUZ>         Serial Number: 10002"},
                              {kEvent, "RIZUZ>         Reserved     : ffffffff"},
                              {kEvent, "RIZUZ>         Operating System identifier : OPERATING-SYS-16"},
                              {kEvent, "------------------------------------------------"},
                              {kEvent, "RIZUZ> Firmware Information:"},
                              {kEvent, "RIZUZ>          Name: FIRMWARE-NAME-16"},
                              {kEvent, "RIZUZ>          Version: V2"},
                              {kEvent, "------------------------------------------------"},
                              {kEvent, "RIZUZ> Device Information:"},
                              {kEvent, "RIZUZ>        Type: 200"},
                              {kEvent, "RIZUZ>        Model: 7"},
                              {kEvent, "RIZUZ>        Identifier: ABC"},
                              {kEvent, "================================================"},
                          }));
    EXPECT_EQ(kEqualsRule, "================================================");
    EXPECT_EQ(kHyphenRule, "------------------------------------------------");
}

TEST_F(StartBoardTest, EachFailingCallEndsTheStartUpAndTheNextRequestRepeatsItsPart) {
    struct Case {
        CardCall call;
        unsigned nth;               // which call of that kind fails
        std::size_t reportedBefore; // messages of the full report logged before the error
        const char* error;
        NuvResult result;
        bool oneTimePart;           // the next request starts again at DevOpenDriver
    };
    const Case cases[] = {
        {CardCall::OpenDriver, 1, 1, "RIZUZ> Error trying to open device driver (DevOpenDriver) rc=-7", kFailed, true},
        {CardCall::InitBoard, 1, 2, "RIZUZ> Error trying init board (DevInitBoard) for card 1, rc=-7", kFailed, true},
        {CardCall::GetBoardInfo, 1, 3, "RIZUZ> Error trying to get board information (DevGetBoardInfo) rc=-7", kFailed,
         true},
        {CardCall::GetInfo, 1, 10, "RIZUZ> Error trying to get version information (DevGetInfo) rc=-7", kFailed, true},
        {CardCall::GetInfo, 2, 17, "RIZUZ> Error trying to get firmware information (DevGetInfo) rc=-7", kFailed, true},
        {CardCall::GetInfo, 3, 21, "RIZUZ> Error trying to get device information (DevGetInfo) rc=-7", kFailed, true},
        {CardCall::SetHostState, 1, 26, "RIZUZ> Error trying to activate application (DevSetHostState) rc=-7", kFailed,
         false},
        // The IO information alone does not fail the request; communication stays off.
        {CardCall::GetInfo, 4, 26, "RIZUZ> Error trying to get IO information (DevGetInfo) rc=-7", kDone, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.error);
        softcard::Reset();
        ClearMessages();
        std::memset(&context(), 0, sizeof(DriverContext));
        context().card = 1;
        softcard::FailCall(c.call, -7, c.nth);

        EXPECT_EQ(StartBoardNow(), c.result);
        std::vector<LoggedMessage> expected = DefaultReport(1);
        expected.resize(c.reportedBefore);
        expected.push_back({kEvent, c.error});
        EXPECT_EQ(Messages(), expected);
        EXPECT_EQ(context().boardOpened, c.oneTimePart ? 0 : 1);
        EXPECT_EQ(context().commRunning, 0);

        // The next I/O request: the failed part again, nothing of the other.
        ClearMessages();
        softcard::ClearCallLog();
        const unsigned opens = softcard::CallCount(CardCall::OpenDriver);
        EXPECT_TRUE(BoardReadyNow());
        EXPECT_EQ(context().commRunning, 1);
        EXPECT_EQ(softcard::CallCount(CardCall::OpenDriver), opens + (c.oneTimePart ? 1u : 0u));
        if (c.oneTimePart) {
            EXPECT_EQ(Messages(), DefaultReport(1));
        } else {
            EXPECT_TRUE(Messages().empty());
            EXPECT_EQ(softcard::CallLog().front().call, CardCall::SetHostState);
            EXPECT_EQ(InfoKindsCalled(), (std::vector<std::uint32_t>{7}));
        }
    }
}

TEST_F(StartBoardTest, CommunicationBitOffFailsTheRequestUntilItComesOn) {
    softcard::SetCommBit(0, softcard::CommBit::Off);
    EXPECT_EQ(StartBoardNow(), kFailed);
    EXPECT_EQ(Messages().back(), (LoggedMessage{kEvent, "RIZUZ> Communication bit if off - DPS Card can not run!"}));
    EXPECT_EQ(Messages().size(), DefaultReport(0).size() + 1);
    EXPECT_EQ(context().boardOpened, 1);
    EXPECT_EQ(context().commRunning, 0);

    // Still off: host ready and the bit again, no report.
    ClearMessages();
    softcard::ClearCallLog();
    EXPECT_FALSE(BoardReadyNow());
    EXPECT_EQ(Messages(), (std::vector<LoggedMessage>{
                              {kEvent, "RIZUZ> Communication bit if off - DPS Card can not run!"}}));
    ASSERT_EQ(softcard::CallLog().size(), 2u);
    EXPECT_EQ(softcard::CallLog()[0].call, CardCall::SetHostState);
    EXPECT_EQ(InfoKindsCalled(), (std::vector<std::uint32_t>{7}));

    softcard::SetCommBit(0, softcard::CommBit::On);
    ClearMessages();
    EXPECT_TRUE(BoardReadyNow());
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(context().commRunning, 1);
    EXPECT_EQ(softcard::CallCount(CardCall::OpenDriver), 1u);
}

TEST_F(StartBoardTest, UnreadableIoInformationLetsTheRequestGoOnWithoutRunning) {
    context().card = 3;
    softcard::FailCall(CardCall::GetInfo, -9, 4);
    EXPECT_TRUE(BoardReadyNow());
    EXPECT_EQ(Messages().back(), (LoggedMessage{kEvent, "RIZUZ> Error trying to get IO information (DevGetInfo) rc=-9"}));
    EXPECT_EQ(context().commRunning, 0);
    EXPECT_EQ(context().boardOpened, 1);
}

// The card number sits in the host's memory; a number beyond the four board
// entries must not read past the board information.
TEST_F(StartBoardTest, CardBeyondTheBoardEntriesReadsNothingOutsideTheReply) {
    context().card = 9;
    for (CardCall call : {CardCall::OpenDriver, CardCall::InitBoard, CardCall::GetBoardInfo, CardCall::GetInfo, CardCall::SetHostState}) {
        softcard::FailCall(call, 0, 1, softcard::kForever);  // answer 0 without a board behind it
    }
    EXPECT_EQ(StartBoardNow(), kFailed);  // the IO reply stays empty: the bit is off
    const auto texts = MessageTexts();
    EXPECT_EQ(texts.at(5), "RIZUZ> Board Information for card Number 9:");
    EXPECT_EQ(texts.at(6), "RIZUZ>       Available: 0");
    EXPECT_EQ(texts.at(7), "RIZUZ>       Physical Address: 0");
    EXPECT_EQ(texts.at(8), "RIZUZ>       IRQ Number: 0");
}

}  // namespace
}  // namespace rizuz::testing
