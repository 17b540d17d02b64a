// The slave diagnostic read as SingleRead and BlockRead hand it D gates: the
// request as sent, the numbering, the answer checks with their retries, the
// emptying of the queue, library failures and what reaches the host's buffer.
#include <gtest/gtest.h>

#include <array>
#include <functional>

#include "diag_fixture.hpp"

namespace rizuz::testing {
namespace {

namespace dp = softcard::dp;
using softcard::Call;

constexpr std::uint32_t kSingle = 5;
constexpr std::uint32_t kBlock = 6;

std::string Retry(const std::string& text, unsigned attempt) {
    return "RIZUZ> ReadDiags() " + text + ", retry " + std::to_string(attempt);
}

using ReadDiagsTest = DiagTest;

TEST_F(ReadDiagsTest, RequestCarriesEveryByteAndItsNumber) {
    std::array<std::uint8_t, 4> value{};
    ASSERT_EQ(Read(kSingle, DiagGate(3, 5), 1, value.data()), kDone);
    context().diagMessageNumber = 0x7E;
    ASSERT_EQ(Read(kSingle, DiagGate(0x103, 5), 1, value.data()), kDone);  // only the low byte goes to the card

    const auto puts = Calls(Call::PutMessage);
    ASSERT_EQ(puts.size(), 2u);
    for (unsigned n = 0; n < 2; ++n) {
        EXPECT_EQ(puts[n].card, 0);
        EXPECT_EQ(puts[n].args, (std::vector<std::uint32_t>{1, kWaiting}));
        const std::uint8_t number = n == 0 ? 0 : 0x7E;
        EXPECT_EQ(puts[n].sent, (std::vector<std::uint8_t>{3, 16, 8, number, 0, 0, 66, 0, 3, 0, 0, 0, 0, 32, 5, 1}));
    }
    for (const auto& get : Calls(Call::GetMessage)) {
        EXPECT_EQ(get.args, (std::vector<std::uint32_t>{288, 1, kWaiting}));
    }
    EXPECT_EQ(MessageCalls(), "PGPG");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(ReadDiagsTest, SingleByteGoesToW1AndLeavesW0Alone) {
    SetDiagByte(3, 5, 0xAB);
    std::array<std::uint8_t, 4> value{0x11, 0x22, 0x33, 0x44};
    EXPECT_EQ(Read(kSingle, DiagGate(3, 5), 1, value.data()), kDone);
    EXPECT_EQ(value, (std::array<std::uint8_t, 4>{0x11, 0x22, 0xAB, 0x00}));
}

TEST_F(ReadDiagsTest, BitReadsGiveZeroOrOne) {
    struct Case {
        std::uint8_t byte;
        std::int32_t bit;
        std::uint8_t expected;
    };
    for (const Case c : {Case{0x08, 3, 1}, Case{0xF7, 3, 0}, Case{0x01, 0, 1}, Case{0x80, 7, 1}, Case{0x7F, 7, 0}}) {
        SetDiagByte(5, 9, c.byte);
        std::array<std::uint8_t, 4> value{0x11, 0x22, 0xFF, 0xFF};
        EXPECT_EQ(Read(kSingle, DiagGate(5, 9, c.bit), 1, value.data()), kDone);
        EXPECT_EQ(value, (std::array<std::uint8_t, 4>{0x11, 0x22, c.expected, 0})) << int{c.byte} << " bit " << c.bit;
    }
    EXPECT_TRUE(Messages().empty());
}

TEST_F(ReadDiagsTest, BlockCopiesCountBytesToTheStartOfTheBuffer) {
    std::vector<std::uint8_t> diag(32);
    for (std::size_t i = 0; i < diag.size(); ++i) diag[i] = static_cast<std::uint8_t>(0xA0 + i);
    dp::SetDiagnosis(0, 5, diag);
    std::array<std::uint8_t, 8> value;
    value.fill(0xEE);
    EXPECT_EQ(Read(kBlock, DiagGate(5, 2, 6), 4, value.data()), kDone);  // a block's bit plays no part
    EXPECT_EQ(value, (std::array<std::uint8_t, 8>{0xA2, 0xA3, 0xA4, 0xA5, 0xEE, 0xEE, 0xEE, 0xEE}));
}

TEST_F(ReadDiagsTest, DataCountMustCoverOffsetPlusCount) {
    struct Case {
        std::uint32_t function;
        std::int32_t offset;
        std::int32_t count;
        std::size_t dataCnt;
        bool accepted;
    };
    for (const Case c : {Case{kBlock, 2, 4, 6, true}, Case{kBlock, 2, 4, 5, false}, Case{kSingle, 5, 1, 6, true},
                         Case{kSingle, 5, 1, 5, false}, Case{kBlock, 0, 99, 99, true}, Case{kSingle, 99, 1, 100, true},
                         Case{kSingle, 99, 1, 99, false}}) {
        ClearMessages();
        std::vector<std::uint8_t> diag(c.dataCnt);
        for (std::size_t i = 0; i < diag.size(); ++i) diag[i] = static_cast<std::uint8_t>(i + 1);
        dp::SetDiagnosis(0, 3, diag);
        std::array<std::uint8_t, 100> value;
        value.fill(0xEE);

        EXPECT_EQ(Read(c.function, DiagGate(3, c.offset), c.count, value.data()), kDone);
        const std::uint8_t first = c.function == kSingle ? value[2] : value[0];
        if (c.accepted) {
            EXPECT_TRUE(Messages().empty());
            EXPECT_EQ(first, c.offset + 1);
        } else {
            const std::string text = "DDLM_Slave_Diag ill. data count msg.DataCnt= " + std::to_string(c.dataCnt);
            EXPECT_EQ(Messages(), (std::vector<LoggedMessage>{{kDetail, Retry(text, 0)},
                                                              {kDetail, Retry(text, 1)},
                                                              {kDetail, Retry(text, 2)}}));
            EXPECT_EQ(first, 0xEE);
        }
    }
}

TEST_F(ReadDiagsTest, NumbersCountAcrossReadsAndWrapAfter255) {
    std::array<std::uint8_t, 4> value{};
    Read(kSingle, DiagGate(3, 0), 1, value.data());
    Read(kBlock, DiagGate(5, 0), 2, value.data());
    EXPECT_EQ(context().diagMessageNumber, 2);

    context().diagMessageNumber = 255;
    SetDiagByte(3, 1, 0x5C);
    EXPECT_EQ(Read(kSingle, DiagGate(3, 1), 1, value.data()), kDone);
    EXPECT_EQ(value[2], 0x5C);  // the answer to request 255 is taken
    EXPECT_EQ(context().diagMessageNumber, 0);
    Read(kSingle, DiagGate(3, 0), 1, value.data());
    EXPECT_EQ(SentNumbers(), (std::vector<unsigned>{0, 1, 255, 0}));
    EXPECT_TRUE(Messages().empty());
}

// The five answer checks in the order they are made.
struct Rejection {
    const char* name;
    std::function<void()> inject;  // spoils the next answer only
    std::string text;              // with request number 5 sent, offset 5, count 1
};

std::vector<Rejection> RejectionsInCheckOrder() {
    return {
        {"late answer", [] { dp::AnswerLate(); }, "DDLM_Slave_Diag received old answer (4 iso 5)"},
        {"fault code", [] { dp::AnswerFault(0x0A); }, "DDLM_Slave_Diag received msg.f error 0Ah"},
        {"answer code", [] { dp::AnswerCode(65); }, "DDLM_Slave_Diag received ill. message msg.a=65"},
        {"short length", [] { dp::AnswerLength(39); }, "DDLM_Slave_Diag msg.l illegal length 39"},
        {"small data count", [] { dp::AnswerDataCount(5); }, "DDLM_Slave_Diag ill. data count msg.DataCnt= 5"},
    };
}

TEST_F(ReadDiagsTest, EachRejectionIsReportedAndTheNextAttemptDelivers) {
    for (const auto& r : RejectionsInCheckOrder()) {
        SetUp();
        context().diagMessageNumber = 5;
        SetDiagByte(3, 5, 0x3C);
        r.inject();
        std::array<std::uint8_t, 4> value{};
        EXPECT_EQ(Read(kSingle, DiagGate(3, 5), 1, value.data()), kDone) << r.name;
        EXPECT_EQ(Messages(), (std::vector<LoggedMessage>{{kDetail, Retry(r.text, 0)}})) << r.name;
        EXPECT_EQ(value[2], 0x3C) << r.name;
        EXPECT_EQ(SentNumbers(), (std::vector<unsigned>{5, 6})) << r.name;
        EXPECT_EQ(MessageCalls(), "PGePG") << r.name;  // one 50 ms fetch finds the queue empty
    }
}

TEST_F(ReadDiagsTest, OnlyTheFirstFailingCheckIsReported) {
    const auto rejections = RejectionsInCheckOrder();
    for (std::size_t first = 0; first < rejections.size(); ++first) {
        SetUp();
        context().diagMessageNumber = 5;
        for (std::size_t r = first; r < rejections.size(); ++r) rejections[r].inject();
        std::array<std::uint8_t, 4> value{};
        EXPECT_EQ(Read(kSingle, DiagGate(3, 5), 1, value.data()), kDone);
        EXPECT_EQ(MessageTexts(), (std::vector<std::string>{Retry(rejections[first].text, 0)}))
            << rejections[first].name;
    }
}

TEST_F(ReadDiagsTest, LengthFortyPasses) {
    dp::AnswerLength(40);
    SetDiagByte(3, 31, 0x99);
    std::array<std::uint8_t, 4> value{};
    EXPECT_EQ(Read(kSingle, DiagGate(3, 31), 1, value.data()), kDone);
    EXPECT_EQ(value[2], 0x99);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(ReadDiagsTest, ThreeRejectedAnswersLeaveTheValueAndGiveZero) {
    std::array<std::uint8_t, 4> single{1, 2, 3, 4};
    EXPECT_EQ(Read(kSingle, DiagGate(9, 0), 1, single.data()), kDone);  // slave 9 is not configured
    const std::string f = "DDLM_Slave_Diag received msg.f error 11h";
    EXPECT_EQ(Messages(), (std::vector<LoggedMessage>{
                              {kDetail, Retry(f, 0)}, {kDetail, Retry(f, 1)}, {kDetail, Retry(f, 2)}}));
    EXPECT_EQ(single, (std::array<std::uint8_t, 4>{1, 2, 3, 4}));
    EXPECT_EQ(SentNumbers(), (std::vector<unsigned>{0, 1, 2}));
    EXPECT_EQ(MessageCalls(), "PGePGePG");

    ClearMessages();
    dp::AnswerLength(20, 3);
    std::array<std::uint8_t, 4> block{5, 6, 7, 8};
    EXPECT_EQ(Read(kBlock, DiagGate(3, 0), 4, block.data()), kDone);
    EXPECT_EQ(Messages().size(), 3u);
    EXPECT_EQ(block, (std::array<std::uint8_t, 4>{5, 6, 7, 8}));
}

TEST_F(ReadDiagsTest, QueueIsEmptiedBeforeARetryButNotBeforeTheFirstRequest) {
    context().diagMessageNumber = 10;
    dp::QueueStaleMessages(3);  // answers 7, 8 and 9 wait ahead of the answer to 10
    SetDiagByte(5, 4, 0x42);
    std::array<std::uint8_t, 4> value{};
    EXPECT_EQ(Read(kSingle, DiagGate(5, 4), 1, value.data()), kDone);
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{Retry("DDLM_Slave_Diag received old answer (7 iso 10)", 0)}));
    EXPECT_EQ(MessageCalls(), "PGeeeePG");  // 8, 9 and 10 dropped, then the queue is empty
    EXPECT_EQ(Fetches(kEmptying), 4u);
    EXPECT_EQ(value[2], 0x42);
    EXPECT_EQ(softcard::PendingMessages(0), 0u);
}

TEST_F(ReadDiagsTest, AnswerLeftFromAnEarlierReadIsNotTakenForTheCurrentOne) {
    std::array<std::uint8_t, 4> value{};
    dp::DropAnswers();  // the answer to request 0 arrives only after its time-out
    ASSERT_EQ(Read(kSingle, DiagGate(3, 0), 1, value.data()), kFailed);
    std::array<std::uint8_t, softcard::kMessageSize> late{};
    late = {16, 3, 40, 0, 66, 0, 66, 0, 3, 0, 0, 0, 0, 32, 5, 1, 0x77};
    ASSERT_TRUE(softcard::PostMessage(0, late));

    ClearMessages();
    softcard::ClearCallLog();
    SetDiagByte(3, 0, 0x12);
    EXPECT_EQ(Read(kSingle, DiagGate(3, 0), 1, value.data()), kDone);
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{Retry("DDLM_Slave_Diag received old answer (0 iso 1)", 0)}));
    EXPECT_EQ(value[2], 0x12);
    EXPECT_EQ(SentNumbers(), (std::vector<unsigned>{1, 2}));
}

// The host prints a card code as its 16-bit value widened with the sign.
TEST_F(ReadDiagsTest, LibraryFailuresEndTheReadAtOnce) {
    struct Case {
        const char* name;
        std::function<void()> inject;
        std::vector<std::string> texts;
        std::string calls;
    };
    const std::string f01 = Retry("DDLM_Slave_Diag received msg.f error 01h", 0);
    const std::vector<Case> cases = {
        {"refused request", [] { dp::RefuseRequests(softcard::kMailboxFull); },
         {"RIZUZ> ReadDiags() DevPutMessage() rc 4294967265, retry 0"}, "P"},
        {"no answer", [] { dp::DropAnswers(); }, {"RIZUZ> ReadDiags() DevGetMessage() rc 4294967266, retry 0"}, "PG"},
        {"refused in attempt 1",
         [] {
             dp::AnswerFault(0x01);
             softcard::FailCall(Call::PutMessage, 7, 2);
         },
         {f01, "RIZUZ> ReadDiags() DevPutMessage() rc 7, retry 1"}, "PGeP"},
        {"no answer in attempt 2",
         [] {
             dp::AnswerFault(0x01, 2);
             softcard::FailCall(Call::GetMessage, -32768, 5);
         },
         {f01, Retry("DDLM_Slave_Diag received msg.f error 01h", 1),
          "RIZUZ> ReadDiags() DevGetMessage() rc 4294934528, retry 2"},
         "PGePGePG"},
    };
    for (const auto& c : cases) {
        SetUp();
        c.inject();
        std::array<std::uint8_t, 4> value{1, 2, 3, 4};
        EXPECT_EQ(Read(kSingle, DiagGate(3, 0), 1, value.data()), kFailed) << c.name;
        EXPECT_EQ(MessageTexts(), c.texts) << c.name;
        for (const auto& m : Messages()) EXPECT_EQ(m.msgClass, kDetail) << c.name;
        EXPECT_EQ(MessageCalls(), c.calls) << c.name;
        EXPECT_EQ(value, (std::array<std::uint8_t, 4>{1, 2, 3, 4})) << c.name;
    }
}

TEST_F(ReadDiagsTest, LocatorsReachingOutsideTheDiagnosticDataAreRefusedBeforeAnythingIsSent) {
    struct Case {
        std::uint32_t function;
        std::int32_t offset;
        std::int32_t count;
        std::int32_t bit;
        std::string text;
    };
    const std::string range = "RIZUZ> ReadDiags() refused: slave 3, DIAG byte offset ";
    const std::vector<Case> cases = {
        {kBlock, 2, 0, -1, range + "2, count 0 outside the diagnostic data"},
        {kBlock, 2, -4, -1, range + "2, count -4 outside the diagnostic data"},
        {kSingle, 5, 0, -1, range + "5, count 0 outside the diagnostic data"},
        {kSingle, -1, 1, -1, range + "-1, count 1 outside the diagnostic data"},
        {kSingle, 100, 1, -1, range + "100, count 1 outside the diagnostic data"},
        {kBlock, 99, 174, -1, range + "99, count 174 outside the diagnostic data"},  // one byte beyond the record
        {kBlock, 99, 0x7FFFFFFF, -1, range + "99, count 2147483647 outside the diagnostic data"},
        {kSingle, 5, 1, 8, "RIZUZ> ReadDiags() refused: slave 3, DIAG bit number 8 not in range 0-7"},
        {kSingle, 5, 1, -2, "RIZUZ> ReadDiags() refused: slave 3, DIAG bit number -2 not in range 0-7"},
    };
    for (const auto& c : cases) {
        SetUp();
        context().diagMessageNumber = 9;
        std::array<std::uint8_t, 4> value{1, 2, 3, 4};
        EXPECT_EQ(Read(c.function, DiagGate(3, c.offset, c.bit), c.count, value.data()), kRefused) << c.text;
        EXPECT_EQ(Messages(), (std::vector<LoggedMessage>{{kEvent, c.text}}));
        EXPECT_TRUE(softcard::CallLog().empty()) << c.text;
        EXPECT_EQ(context().diagMessageNumber, 9) << c.text;
        EXPECT_EQ(value, (std::array<std::uint8_t, 4>{1, 2, 3, 4})) << c.text;
    }
}

TEST_F(ReadDiagsTest, BlockUpToTheEndOfTheRecordIsStillAsked) {
    std::array<std::uint8_t, 173> value{};
    EXPECT_EQ(Read(kBlock, DiagGate(3, 99), 173, value.data()), kDone);  // data bytes 99..271: the record's last
    EXPECT_EQ(Calls(Call::PutMessage).size(), 3u);  // no answer can carry that much: three rejections
    EXPECT_EQ(Messages().size(), 3u);
}

TEST_F(ReadDiagsTest, EmptyingGivesUpOnACardThatNeverRunsDry) {
    dp::AnswerFault(0x01);
    softcard::FailCall(Call::GetMessage, 0, 2, softcard::kForever);  // every fetch after the first "succeeds"
    std::array<std::uint8_t, 4> value{1, 2, 3, 4};
    EXPECT_EQ(Read(kSingle, DiagGate(3, 0), 1, value.data()), kDone);
    EXPECT_EQ(Fetches(kEmptying), 2u * 256u);
    EXPECT_EQ(Calls(Call::PutMessage).size(), 3u);
    EXPECT_EQ(value, (std::array<std::uint8_t, 4>{1, 2, 3, 4}));
}

}  // namespace
}  // namespace rizuz::testing
