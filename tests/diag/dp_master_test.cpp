// The soft card's DP master as the card library presents it: requests in with
// DevPutMessage, answers out with DevGetMessage.
#include <gtest/gtest.h>

#include <array>

#include "diag_fixture.hpp"

namespace rizuz::testing {
namespace {

namespace dp = softcard::dp;
using Record = std::array<std::uint8_t, softcard::kMessageSize>;

class DpMasterTest : public DiagTest {
protected:
    static Record Request(std::uint8_t slave, std::uint8_t number, std::uint8_t command = dp::kSlaveDiag) {
        Record r{};
        const std::uint8_t head[16] = {3, 16, 8, number, 0, 0, command, 0, slave, 0, 0, 0, 0, 32, 5, 1};
        std::copy(std::begin(head), std::end(head), r.begin());
        return r;
    }
    static std::int16_t Put(Record request) { return DevPutMessage(0, request.data(), 500); }
    static Record Take() {
        Record answer{};
        EXPECT_EQ(DevGetMessage(0, 288, answer.data(), 500), 0);
        return answer;
    }
    static std::vector<std::uint8_t> Data(const Record& answer, std::size_t count) {
        return {answer.begin() + 16, answer.begin() + 16 + static_cast<std::ptrdiff_t>(count)};
    }
};

TEST_F(DpMasterTest, DefaultSlavesAnswerADpStandardDiagnosis) {
    for (const std::uint8_t slave : {std::uint8_t{3}, std::uint8_t{5}}) {
        ASSERT_EQ(Put(Request(slave, 0x21)), 0);
        const Record answer = Take();
        EXPECT_EQ(std::vector<std::uint8_t>(answer.begin(), answer.begin() + 16),
                  (std::vector<std::uint8_t>{16, 3, 40, 0x21, 66, 0, 66, 0, slave, 0, 0, 0, 0, 32, 5, 1}));
        const auto diag = dp::DefaultDiagnosis(slave);
        ASSERT_EQ(diag.size(), 32u);
        EXPECT_EQ(Data(answer, 32), diag);
        EXPECT_EQ(diag[1] & 0x04, 0x04) << "station status 2 has bit 2 always set";
        EXPECT_EQ(diag[3], dp::kMasterAddress);
        EXPECT_EQ(diag[4], 0x5A);
        EXPECT_EQ(diag[5], slave);
    }
    EXPECT_EQ(dp::DefaultDiagnosis(5)[0] & 0x08, 0x08) << "slave 5 reports an extended diagnosis";
    EXPECT_FALSE(dp::IsConfigured(0, 4));
    EXPECT_EQ(softcard::PendingMessages(0), 0u);
}

TEST_F(DpMasterTest, AnswerLengthFollowsTheSlavesData) {
    struct Case {
        std::size_t bytes;
        std::uint8_t l;
        std::uint8_t dataCnt;
    };
    for (const Case c : {Case{6, 40, 6}, Case{100, 108, 100}, Case{300, 252, 244}}) {
        std::vector<std::uint8_t> diag(c.bytes);
        for (std::size_t i = 0; i < diag.size(); ++i) diag[i] = static_cast<std::uint8_t>(i * 7);
        dp::SetDiagnosis(0, 3, diag);
        ASSERT_EQ(Put(Request(3, 1)), 0);
        const Record answer = Take();
        EXPECT_EQ(answer[2], c.l) << c.bytes;
        EXPECT_EQ(answer[13], c.dataCnt) << c.bytes;
        EXPECT_EQ(Data(answer, c.dataCnt), std::vector<std::uint8_t>(diag.begin(), diag.begin() + c.dataCnt));
    }
}

TEST_F(DpMasterTest, UnknownSlaveAndUnknownCommandGetAFaultCode) {
    dp::RemoveSlave(0, 3);
    ASSERT_EQ(Put(Request(3, 4)), 0);
    Record answer = Take();
    EXPECT_EQ(answer[3], 4);
    EXPECT_EQ(answer[5], dp::kNoSuchSlave);

    ASSERT_EQ(Put(Request(5, 6, 65)), 0);
    answer = Take();
    EXPECT_EQ(answer[4], 65);
    EXPECT_EQ(answer[5], dp::kUnknownCommand);
}

TEST_F(DpMasterTest, InjectedFaultsLastForTheirRequests) {
    dp::AnswerFault(0x22, 2);
    dp::AnswerCode(65, 1);
    dp::AnswerLength(39, 1);
    dp::AnswerDataCount(3, 1);
    dp::AnswerLate(1);
    dp::RefuseRequests(softcard::kMailboxFull, 1);

    EXPECT_EQ(Put(Request(3, 7)), softcard::kMailboxFull);  // refused: the master never saw it
    EXPECT_EQ(softcard::PendingMessages(0), 0u);
    ASSERT_EQ(Put(Request(3, 8)), 0);
    const Record spoiled = Take();
    EXPECT_EQ((std::array<int, 5>{spoiled[2], spoiled[3], spoiled[4], spoiled[5], spoiled[13]}),
              (std::array<int, 5>{39, 7, 65, 0x22, 3}));
    ASSERT_EQ(Put(Request(3, 9)), 0);
    const Record second = Take();
    EXPECT_EQ((std::array<int, 5>{second[2], second[3], second[4], second[5], second[13]}),
              (std::array<int, 5>{40, 9, 66, 0x22, 32}));
    ASSERT_EQ(Put(Request(3, 10)), 0);
    EXPECT_EQ(Take()[5], 0);
}

TEST_F(DpMasterTest, StaleMessagesWaitAheadOfTheAnswerAndDroppedAnswersNeverCome) {
    dp::QueueStaleMessages(2);
    ASSERT_EQ(Put(Request(5, 1)), 0);
    EXPECT_EQ(Take()[3], 255);
    EXPECT_EQ(Take()[3], 0);
    EXPECT_EQ(Take()[3], 1);

    dp::DropAnswers();
    ASSERT_EQ(Put(Request(5, 2)), 0);
    Record none{};
    EXPECT_EQ(DevGetMessage(0, 288, none.data(), 500), softcard::kNoMessage);
}

TEST_F(DpMasterTest, FullMailboxRefusesWithoutPostingHalf) {
    const Record filler{};
    for (std::size_t n = 0; n + 1 < softcard::kMailboxDepth; ++n) ASSERT_TRUE(softcard::PostMessage(0, filler));
    dp::QueueStaleMessages(1);
    EXPECT_EQ(Put(Request(3, 1)), softcard::kMailboxFull);
    EXPECT_EQ(softcard::PendingMessages(0), softcard::kMailboxDepth - 1);
    Take();  // room for the stale message and the answer: the refusal kept the fault for the next request
    EXPECT_EQ(Put(Request(3, 2)), 0);
    EXPECT_EQ(softcard::PendingMessages(0), softcard::kMailboxDepth);
}

TEST_F(DpMasterTest, ResetRestoresDefaultSlavesAndClearsFaults) {
    dp::SetDiagnosis(0, 3, std::vector<std::uint8_t>{1, 2, 3});
    dp::RemoveSlave(0, 5);
    dp::SetDiagnosis(1, 9, std::vector<std::uint8_t>{4});
    dp::AnswerFault(0x33, softcard::kForever);
    softcard::Reset();
    EXPECT_EQ(dp::Diagnosis(0, 3), dp::DefaultDiagnosis(3));
    EXPECT_EQ(dp::Diagnosis(0, 5), dp::DefaultDiagnosis(5));
    EXPECT_FALSE(dp::IsConfigured(1, 9));
    ASSERT_EQ(DevOpenDriver(0), 0);
    ASSERT_EQ(DevInitBoard(0, nullptr), 0);
    ASSERT_EQ(Put(Request(3, 1)), 0);
    EXPECT_EQ(Take()[5], 0);
}

}  // namespace
}  // namespace rizuz::testing
