// The one place process image bytes move: which card call, at which byte
// offset, how many bytes, and how a failure of the card library is reported.
#include <gtest/gtest.h>

#include "data/exchange_image.hpp"
#include "data_fixture.hpp"

namespace rizuz::testing {
namespace {

using softcard::Call;

class ExchangeImageTest : public DataTest {};

struct OffsetCase {
    MemoryType type;
    std::int32_t offset;  // in the locator, units of the width
    std::uint32_t byteOffset;
    std::uint32_t size;
};

TEST_F(ExchangeImageTest, ReadOfTheReceiveAreaScalesTheOffsetByTheWidth) {
    context().card = 2;
    context().timeout = 250;
    DevOpenDriver(2);
    DevInitBoard(2, nullptr);
    const OffsetCase cases[] = {
        {kUnsigned8, 10, 10, 1}, {kUnsigned16, 10, 20, 2}, {kSigned32, 10, 40, 4}, {kFloat32, 10, 40, 4}};
    for (const OffsetCase& c : cases) {
        GateIo io = MakeIo(nullptr, {0, MakeTypeWord(c.type, 'R'), c.offset, -1, TypeBits[c.type]}, 1, nullptr);
        EXPECT_EQ(ExchangeImage(0, io, context()), kDone);
        const softcard::CallRecord& call = LastCall();
        EXPECT_EQ(call.call, Call::ExchangeIO);
        EXPECT_EQ(call.card, 2);
        // send offset, size, data; receive offset, size, data; time-out
        EXPECT_EQ(call.args, (std::vector<std::uint32_t>{0, 0, 0, c.byteOffset, c.size, 1, 250})) << int{c.type};
    }
}

TEST_F(ExchangeImageTest, ReadOfAnSGateReadsTheSendAreaBackWithoutTimeOut) {
    Put(Out(20), {0x12, 0x34});
    GateIo io = MakeIo(nullptr, NumericLocator(kUnsigned16, 'S', 20), 1, nullptr);
    EXPECT_EQ(ExchangeImage(0, io, context()), kDone);
    EXPECT_EQ(LastCall().call, Call::ReadSendData);
    EXPECT_EQ(LastCall().args, (std::vector<std::uint32_t>{20, 2, 1}));
    EXPECT_EQ(Take(context().receiveBuffer, 2), (Bytes{0x12, 0x34}));
    EXPECT_EQ(softcard::CallCount(Call::ExchangeIO), 0u);
}

TEST_F(ExchangeImageTest, AWriteGoesToTheSendAreaWhateverTheAreaLetter) {
    for (char area : {'S', 'R'}) {
        std::memcpy(context().sendBuffer, "\x01\x02\x03", 3);
        GateIo io = MakeIo(nullptr, NumericLocator(kUnsigned8, area, 7), 1, nullptr);
        EXPECT_EQ(ExchangeImage(3, io, context()), kDone);
        EXPECT_EQ(LastCall().args, (std::vector<std::uint32_t>{7, 3, 1, 0, 0, 0, 1000})) << area;
        EXPECT_EQ(Take(Out(7), 3), (Bytes{1, 2, 3}));
        std::memset(Out(7), 0, 3);
    }
}

TEST_F(ExchangeImageTest, OffsetAndSizeAreSixteenBitQuantities) {
    GateIo io = MakeIo(nullptr, {0, MakeTypeWord(kUnsigned8, 'R'), 0x10005, -1, 8}, 0, nullptr);
    EXPECT_EQ(ExchangeImage(0, io, context()), kDone);
    EXPECT_EQ(LastCall().args, (std::vector<std::uint32_t>{0, 0, 0, 5, 0, 1, 1000}));  // count 0 asks for 0 bytes

    io.locator = {0, MakeTypeWord(kSigned32, 'R'), 0x4001, -1, 32};
    io.count = 1;
    EXPECT_EQ(ExchangeImage(0, io, context()), kDone);
    EXPECT_EQ(LastCall().args[3], 4u);
}

TEST_F(ExchangeImageTest, ALibraryFailureIsReportedOnceInOneWordingForAllThreeTransfers) {
    GateIo read = MakeIo(nullptr, NumericLocator(kUnsigned8, 'R', 0), 1, nullptr);
    GateIo readBack = MakeIo(nullptr, NumericLocator(kUnsigned8, 'S', 0), 1, nullptr);
    softcard::FailCall(Call::ExchangeIO, -5);
    EXPECT_EQ(ExchangeImage(0, read, context()), kFailed);
    softcard::FailCall(Call::ReadSendData, -6);
    EXPECT_EQ(ExchangeImage(0, readBack, context()), kFailed);
    softcard::FailCall(Call::ExchangeIO, 7);
    EXPECT_EQ(ExchangeImage(1, readBack, context()), kFailed);
    EXPECT_EQ(Messages(), (std::vector<LoggedMessage>{{kEvent, "RIZUZ> DevExchangeIO in send request failed rc = -5"},
                                                      {kEvent, "RIZUZ> DevExchangeIO in send request failed rc = -6"},
                                                      {kEvent, "RIZUZ> DevExchangeIO in send request failed rc = 7"}}));
}

// Every handler bounds its transfer before it gets here; the exchange keeps
// the bound too, so that no request can make the card move more than the
// staging buffers hold.
TEST_F(ExchangeImageTest, NeverMovesMoreThanTheStagingBuffersHold) {
    GateIo io = MakeIo(nullptr, NumericLocator(kUnsigned16, 'R', 0), 257, nullptr);
    EXPECT_EQ(ExchangeImage(0, io, context()), kRefused);
    io.count = 0x10001;  // 2 bytes in 16-bit arithmetic
    EXPECT_EQ(ExchangeImage(0, io, context()), kRefused);
    EXPECT_EQ(ExchangeImage(513, io, context()), kRefused);
    EXPECT_EQ(CardCallsSinceSetUp(), 0u);
    const std::string tail = " bytes exceed the 512-byte transfer buffer";
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"RIZUZ> ExchangeImage() refused: 257 x 2" + tail,
                                                        "RIZUZ> ExchangeImage() refused: 65537 x 2" + tail,
                                                        "RIZUZ> ExchangeImage() refused: 513 x 1" + tail}));

    io.count = 256;
    EXPECT_EQ(ExchangeImage(0, io, context()), kDone);
    EXPECT_EQ(ExchangeImage(512, io, context()), kDone);
}

}  // namespace
}  // namespace rizuz::testing
