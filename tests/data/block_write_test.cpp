// Function 10: a block from the host's packed array into the output area,
// staged whole and written with one exchange.
#include <gtest/gtest.h>

#include <bit>

#include "data/conversions.hpp"
#include "data_fixture.hpp"

namespace rizuz::testing {
namespace {

using softcard::Call;

class BlockWriteTest : public DataTest {
protected:
    void SetUp() override {
        DataTest::SetUp();
        std::memset(Out(), 0xEE, 600);
    }
    // A block of the send area from byte 4.
    NuvResult WriteBlock(MemoryType type, std::int32_t count, Bytes& value, std::int32_t bit = -1) {
        io_ = MakeIo(address_, NumericLocator(type, 'S', 4, bit), count, value.data());
        return Call(10, &io_);
    }

private:
    char address_[6] = "S0004";
    GateIo io_{};
};

struct BlockCase {
    const char* what;
    MemoryType type;
    std::int32_t bit;
    std::uint8_t swap;
    std::uint8_t convert;
    Bytes host;  // TypeSize x count bytes; a bit block count / 8
    Bytes card;
};

const BlockCase kBlockCases[] = {
    {"BOOL bytes as they stand", kBool, -1, 1, 1, {0x05, 0x00, 0xFF}, {0x05, 0x00, 0xFF}},
    {"signed 8", kSigned8, -1, 0, 0, {0x80, 0x7F}, {0x80, 0x7F}},
    {"16 bit", kUnsigned16, -1, 0, 0, {0x02, 0x01, 0x04, 0x03, 0x00, 0x01}, {0x02, 0x01, 0x04, 0x03, 0x00, 0x01}},
    {"16 bit swapped", kSigned16, -1, 1, 0, {0x02, 0x01, 0x04, 0x03, 0x00, 0x01}, {0x01, 0x02, 0x03, 0x04, 0x01, 0x00}},
    {"swap byte 2 counts as off", kSigned16, -1, 2, 0, {0x02, 0x01}, {0x02, 0x01}},
    {"three 32-bit integers", kSigned32, -1, 0, 0, {0x78, 0x56, 0x34, 0x12, 1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFE},
     {0x78, 0x56, 0x34, 0x12, 1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFE}},
    {"three 32-bit integers swapped", kUnsigned32, -1, 1, 0,
     {0x78, 0x56, 0x34, 0x12, 1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFE},
     {0x12, 0x34, 0x56, 0x78, 0, 0, 0, 1, 0xFE, 0xFF, 0xFF, 0xFF}},
    {"convert leaves integers alone", kUnsigned32, -1, 0, 1, {0x00, 0x00, 0x80, 0x3F}, {0x00, 0x00, 0x80, 0x3F}},
    {"float swapped, not converted", kFloat32, -1, 1, 0, {0x00, 0x00, 0x80, 0x3F}, {0x3F, 0x80, 0x00, 0x00}},
    {"float converted", kFloat32, -1, 0, 1, {0x00, 0x00, 0x80, 0x3F}, {0x00, 0x00, 0x40, 0x01}},
    {"float converted then swapped", kFloat32, -1, 1, 1, {0x00, 0x00, 0x80, 0x3F, 0x00, 0x00, 0xC8, 0xC2},
     {0x01, 0x40, 0x00, 0x00, 0x07, 0x9C, 0x00, 0x00}},
    {"bit block of 16 values", kUnsigned16, 0, 0, 0, {0x01, 0x80}, {0x01, 0x80}},
    {"bit block of 16 values swapped", kUnsigned16, 0, 1, 0, {0x01, 0x80}, {0x80, 0x01}},
    {"bit block of 32 values, its bit number plays no part", kSigned16, 9, 1, 0, {0x01, 0x80, 0x34, 0x12},
     {0x80, 0x01, 0x12, 0x34}},
    {"a bit number on a byte block changes nothing", kUnsigned8, 3, 0, 0, {0x01, 0x80}, {0x01, 0x80}},
};

TEST_F(BlockWriteTest, EveryMemoryTypeInTheCardsFormat) {
    for (const BlockCase& c : kBlockCases) {
        SCOPED_TRACE(c.what);
        SetFormat(c.swap, c.convert);
        std::memset(Out(), 0xEE, 64);
        const bool bitBlock = TypeSize[c.type] == 2 && c.bit != -1;
        const auto count = static_cast<std::int32_t>(bitBlock ? c.host.size() * 8 : c.host.size() / TypeSize[c.type]);
        Bytes value = c.host;

        ASSERT_EQ(WriteBlock(c.type, count, value, c.bit), kDone);
        const auto size = static_cast<std::uint32_t>(c.card.size());
        EXPECT_EQ(Take(Out(4), size + 1), [&] { Bytes b = c.card; b.push_back(0xEE); return b; }());
        EXPECT_EQ(LastCall().args, (std::vector<std::uint32_t>{4, size, 1, 0, 0, 0, 1000}));
        EXPECT_EQ(value, c.host);
    }
    EXPECT_EQ(softcard::CallCount(Call::ExchangeIO), std::size(kBlockCases));
    EXPECT_TRUE(Messages().empty());
}

TEST_F(BlockWriteTest, TheLargestBlocksGoOutWithOneExchange) {
    SetFormat(1, 1);
    Bytes words(256);
    for (std::size_t i = 0; i < words.size(); ++i) words[i] = static_cast<std::uint8_t>(i);
    ASSERT_EQ(WriteBlock(kUnsigned16, 128, words), kDone);
    EXPECT_EQ(LastCall().args[1], 256u);
    for (std::size_t i = 0; i < words.size(); i += 2) {
        ASSERT_EQ(Out(4)[i], words[i + 1]) << i;
        ASSERT_EQ(Out(4)[i + 1], words[i]) << i;
    }

    Bytes floats(512);
    for (std::uint32_t k = 0; k < 128; ++k)
        host_value::Store32(&floats[4 * k], std::bit_cast<std::uint32_t>(static_cast<float>(k) * 0.25f - 3.0f));
    ASSERT_EQ(WriteBlock(kFloat32, 128, floats), kDone);
    EXPECT_EQ(LastCall().args[1], 512u);
    for (std::uint32_t k = 0; k < 128; ++k) {
        const float back = std::bit_cast<float>(SiemensToIeee(LoadCard32(Out(4 + 4 * k), true)));
        ASSERT_EQ(back, static_cast<float>(k) * 0.25f - 3.0f) << k;
    }
    EXPECT_EQ(softcard::CallCount(Call::ExchangeIO), 2u);
}

TEST_F(BlockWriteTest, ABitBlockMustHoldWholeWords) {
    Bytes value(4, 0x11);  // the host's two words for 20 values
    EXPECT_EQ(WriteBlock(kUnsigned16, 20, value, 0), kRefused);
    EXPECT_EQ(Messages(), (std::vector<LoggedMessage>{{kEvent, "RIZUZ> Bit BW wrong Block size = 20"}}));
    EXPECT_EQ(Exchanges(), 0u);
}

TEST_F(BlockWriteTest, AFailedExchangeIsTheResult) {
    Bytes value{1, 2};
    softcard::FailCall(Call::ExchangeIO, -21);
    EXPECT_EQ(WriteBlock(kUnsigned8, 2, value), kFailed);
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"RIZUZ> DevExchangeIO in send request failed rc = -21"}));
}

TEST_F(BlockWriteTest, DiagInputAndStringBlocksAreRefusedBeforeTheStartUp) {
    StopTheBoard();
    Bytes value(4, 0);
    char diagAddress[] = "D00310";
    GateIo diag = MakeIo(diagAddress, DiagLocator(3, 10), 4, value.data());
    EXPECT_EQ(Call(10, &diag), kRefused);
    char inputAddress[] = "R6008";
    GateIo input = MakeIo(inputAddress, NumericLocator(kUnsigned16, 'R', 8), 2, value.data());
    EXPECT_EQ(Call(10, &input), kRefused);
    char stringAddress[] = "SS00404";
    GateIo text = MakeIo(stringAddress, StringLocator('S', 4), 4, value.data());
    EXPECT_EQ(Call(10, &text), kRefused);
    EXPECT_EQ(Messages(), (std::vector<LoggedMessage>{{kDetail, "RIZUZ> BlockWrite() DIAG gates, no write supported"},
                                                      {kEvent, "RIZUZ> No block write allowed for string gates!"}}));
    EXPECT_EQ(CardCallsSinceSetUp(), 0u);

    char outputAddress[] = "S6008";
    GateIo output = MakeIo(outputAddress, NumericLocator(kUnsigned16, 'S', 8), 2, value.data());
    EXPECT_EQ(Call(10, &output), kFailed);  // only now is the start-up attempted
    EXPECT_EQ(Exchanges(), 0u);
}

}  // namespace
}  // namespace rizuz::testing
