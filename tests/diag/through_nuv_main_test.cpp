// D gates and D blocks as the host reads them: functions 5 and 6 through
// NuvMain, after start-up, with the soft card's DP master answering.
#include <gtest/gtest.h>

#include <array>

#include "diag_fixture.hpp"

namespace rizuz::testing {
namespace {

namespace dp = softcard::dp;
using softcard::Call;

class DiagThroughNuvMainTest : public DiagTest {
protected:
    void SetUp() override {
        DiagTest::SetUp();
        context().commRunning = 1;  // started: the reads go straight to the diagnostic read
    }

    NuvResult HostRead(std::uint32_t function, GateLocator at, std::int32_t count, void* value) {
        GateIo io{};
        io.address = address_;
        io.locator = at;
        io.count = count;
        io.value = value;
        return Call(function, &io);
    }

private:
    char address_[8] = "D00305";
};

TEST_F(DiagThroughNuvMainTest, SingleReadFillsW1AndLeavesW0Untouched) {
    SetDiagByte(3, 5, 0xAB);
    std::array<std::uint8_t, 4> value{0x11, 0x22, 0x33, 0x44};
    EXPECT_EQ(HostRead(5, DiagGate(3, 5), 1, value.data()), kDone);
    EXPECT_EQ(value, (std::array<std::uint8_t, 4>{0x11, 0x22, 0xAB, 0x00}));

    SetDiagByte(3, 6, 0x08);
    EXPECT_EQ(HostRead(5, DiagGate(3, 6, 3), 1, value.data()), kDone);
    EXPECT_EQ(value, (std::array<std::uint8_t, 4>{0x11, 0x22, 0x01, 0x00}));
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(softcard::CallCount(Call::ExchangeIO), 0u);  // nothing of the process image is touched
}

TEST_F(DiagThroughNuvMainTest, BlockReadCopiesCountBytes) {
    std::vector<std::uint8_t> diag(32);
    for (std::size_t i = 0; i < diag.size(); ++i) diag[i] = static_cast<std::uint8_t>(0x40 + i);
    dp::SetDiagnosis(0, 5, diag);
    std::array<std::uint8_t, 6> value{};
    value.fill(0xEE);
    EXPECT_EQ(HostRead(6, DiagGate(5, 2), 4, value.data()), kDone);
    EXPECT_EQ(value, (std::array<std::uint8_t, 6>{0x42, 0x43, 0x44, 0x45, 0xEE, 0xEE}));
    EXPECT_EQ(softcard::CallCount(Call::ExchangeIO), 0u);
}

TEST_F(DiagThroughNuvMainTest, NumbersRunOnAcrossSingleAndBlockReads) {
    std::array<std::uint8_t, 4> value{};
    EXPECT_EQ(HostRead(5, DiagGate(3, 0), 1, value.data()), kDone);
    EXPECT_EQ(HostRead(6, DiagGate(5, 0), 4, value.data()), kDone);
    EXPECT_EQ(HostRead(5, DiagGate(5, 1), 1, value.data()), kDone);
    EXPECT_EQ(SentNumbers(), (std::vector<unsigned>{0, 1, 2}));
}

TEST_F(DiagThroughNuvMainTest, FirstReadStartsTheBoardThenAsksWithNumberZero) {
    context().commRunning = 0;
    SetDiagByte(5, 0, 0x5D);
    std::array<std::uint8_t, 4> value{};
    EXPECT_EQ(HostRead(5, DiagGate(5, 0), 1, value.data()), kDone);
    EXPECT_NE(context().commRunning, 0);
    EXPECT_EQ(value[2], 0x5D);
    EXPECT_EQ(SentNumbers(), (std::vector<unsigned>{0}));
    for (const auto& text : MessageTexts()) EXPECT_EQ(text.find("ReadDiags"), std::string::npos) << text;
}

TEST_F(DiagThroughNuvMainTest, ResultsReachTheHostUnchanged) {
    std::array<std::uint8_t, 4> value{1, 2, 3, 4};
    dp::AnswerCode(65, 3);  // three rejected answers: 0, value untouched
    EXPECT_EQ(HostRead(5, DiagGate(3, 0), 1, value.data()), kDone);
    EXPECT_EQ(Messages().size(), 3u);
    dp::DropAnswers();  // no answer: the library failed
    EXPECT_EQ(HostRead(6, DiagGate(3, 0), 4, value.data()), kFailed);
    EXPECT_EQ(HostRead(6, DiagGate(3, 2), 0, value.data()), kRefused);  // a count the record cannot hold
    EXPECT_EQ(value, (std::array<std::uint8_t, 4>{1, 2, 3, 4}));
}

}  // namespace
}  // namespace rizuz::testing
