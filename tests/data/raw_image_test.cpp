// Functions 17 and 18: plain bytes of the process image, named by area
// selector, byte offset and byte count; never swapped or converted.
#include <gtest/gtest.h>

#include "data_fixture.hpp"

namespace rizuz::testing {
namespace {

using softcard::Call;

class RawImageTest : public DataTest {
protected:
    void SetUp() override {
        DataTest::SetUp();
        SetFormat(1, 1);  // raw bytes ignore both
        for (std::size_t i = 0; i < 600; ++i) {
            In()[i] = static_cast<std::uint8_t>(i);
            Out()[i] = static_cast<std::uint8_t>(0xFF - i);
        }
    }
    static GateIo RawIo(std::int32_t selector, std::int32_t offset, std::int32_t count, Bytes& value) {
        return MakeIo(nullptr, {0, selector, offset, -1, 12345}, count, value.data());
    }
};

TEST_F(RawImageTest, ReadOfTheInputAreaRewritesTheSelectorSoTheNextReadTakesTheOutputArea) {
    Bytes value(10, 0xAA);
    GateIo io = RawIo('I', 4, 10, value);
    ASSERT_EQ(Call(17, &io), kDone);
    EXPECT_EQ(value, Take(In(4), 10));
    EXPECT_EQ(LastCall().call, Call::ExchangeIO);
    EXPECT_EQ(LastCall().args, (std::vector<std::uint32_t>{0, 0, 0, 4, 10, 1, 1000}));
    EXPECT_EQ(io.locator.typeWord, 0x20052);
    EXPECT_EQ(io.locator.width, 8);

    ASSERT_EQ(Call(17, &io), kDone);
    EXPECT_EQ(value, Take(Out(4), 10));
    EXPECT_EQ(LastCall().call, Call::ReadSendData);
    EXPECT_EQ(LastCall().args, (std::vector<std::uint32_t>{4, 10, 1}));
    EXPECT_EQ(io.locator.typeWord, 0x20053);
}

TEST_F(RawImageTest, AnySelectorButIReadsTheOutputAreaBack) {
    for (std::int32_t selector : {0, std::int32_t{'O'}, std::int32_t{'i'}, 0x10049}) {
        Bytes value(10, 0xAA);
        GateIo io = RawIo(selector, 4, 10, value);
        ASSERT_EQ(Call(17, &io), kDone) << selector;
        EXPECT_EQ(value, Take(Out(4), 10)) << selector;
        EXPECT_EQ(io.locator.typeWord, 0x20053);
    }
    EXPECT_EQ(softcard::CallCount(Call::ExchangeIO), 0u);
}

TEST_F(RawImageTest, WriteOfTheOutputAreaPutsTheBytesAsTheyStand) {
    Bytes value{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    GateIo io = RawIo(0, 4, 10, value);
    ASSERT_EQ(Call(18, &io), kDone);
    EXPECT_EQ(Take(Out(4), 10), value);
    EXPECT_EQ(LastCall().args, (std::vector<std::uint32_t>{4, 10, 1, 0, 0, 0, 1000}));
    EXPECT_EQ(io.locator.typeWord, 0x20053);
    EXPECT_EQ(io.locator.width, 8);
}

TEST_F(RawImageTest, WriteToTheInputAreaIsRefusedSilentlyAfterTheWidthIsSet) {
    Bytes value(10, 0x55);
    GateIo io = RawIo('I', 4, 10, value);
    EXPECT_EQ(Call(18, &io), kRefused);
    EXPECT_EQ(io.locator.typeWord, 'I');
    EXPECT_EQ(io.locator.width, 8);
    EXPECT_EQ(Exchanges(), 0u);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(RawImageTest, AWholeBufferMovesInOneCallEitherWay) {
    Bytes value(512, 0xAA);
    GateIo read = RawIo('I', 0, 512, value);
    ASSERT_EQ(Call(17, &read), kDone);
    EXPECT_EQ(value, Take(In(), 512));

    for (std::size_t i = 0; i < value.size(); ++i) value[i] = static_cast<std::uint8_t>(i * 3);
    GateIo write = RawIo(0, 64, 512, value);
    ASSERT_EQ(Call(18, &write), kDone);
    EXPECT_EQ(Take(Out(64), 512), value);
    EXPECT_EQ(Exchanges(), 2u);
}

TEST_F(RawImageTest, AFailedReadLeavesTheBufferAsItWas) {
    Bytes value(10, 0xAA);
    GateIo io = RawIo('I', 4, 10, value);
    softcard::FailCall(Call::ExchangeIO, -20);
    EXPECT_EQ(Call(17, &io), kFailed);
    EXPECT_EQ(value, Bytes(10, 0xAA));
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"RIZUZ> DevExchangeIO in send request failed rc = -20"}));
}

// Before start-up: a read or write that gets as far as the start-up fails
// with it; the refusal of the input area comes only after it.
TEST_F(RawImageTest, TheStartUpComesBeforeTheSelectorIsLookedAt) {
    StopTheBoard();
    Bytes value(10, 0);
    GateIo write = RawIo('I', 4, 10, value);
    EXPECT_EQ(Call(18, &write), kFailed);
    EXPECT_EQ(write.locator.width, 12345);
    GateIo read = RawIo('I', 4, 10, value);
    EXPECT_EQ(Call(17, &read), kFailed);
    EXPECT_EQ(read.locator.typeWord, 'I');
    EXPECT_EQ(Exchanges(), 0u);
}

TEST_F(RawImageTest, AWriteToTheInputAreaStartsTheBoardBeforeItIsRefused) {
    context().commRunning = 0;
    context().boardOpened = 0;
    Bytes value(10, 0);
    GateIo write = RawIo('I', 4, 10, value);
    EXPECT_EQ(Call(18, &write), kRefused);
    EXPECT_EQ(context().commRunning, 1);
    EXPECT_EQ(Exchanges(), 0u);
}

}  // namespace
}  // namespace rizuz::testing
