// Function 6: a block of elements into the host's packed array, each element
// in its own width, with one exchange.
#include <gtest/gtest.h>

#include <bit>

#include "data/conversions.hpp"
#include "data_fixture.hpp"
#include "diag/read_diags.hpp"

namespace rizuz::testing {
namespace {

using softcard::Call;

class BlockReadTest : public DataTest {
protected:
    // A block of the receive area from byte 4, the host's buffer sized TypeSize x count.
    NuvResult ReadBlock(MemoryType type, std::int32_t count, Bytes& value, std::int32_t bit = -1) {
        value.assign(TypeSize[type] * static_cast<std::size_t>(count), 0xAA);
        io_ = MakeIo(address_, NumericLocator(type, 'R', 4, bit), count, value.data());
        return Call(6, &io_);
    }

private:
    char address_[6] = "R0004";
    GateIo io_{};
};

struct BlockCase {
    const char* what;
    MemoryType type;
    std::uint8_t swap;
    std::uint8_t convert;
    Bytes card;
    Bytes host;
};

const BlockCase kBlockCases[] = {
    {"BOOL bytes are not normalised", kBool, 1, 1, {0x00, 0x05, 0xFF}, {0x00, 0x05, 0xFF}},
    {"signed 8 is not sign-extended", kSigned8, 0, 0, {0x80, 0x7F}, {0x80, 0x7F}},
    {"16 bit", kUnsigned16, 0, 0, {0x12, 0x34, 0x56, 0x78}, {0x12, 0x34, 0x56, 0x78}},
    {"16 bit swapped", kSigned16, 1, 0, {0x12, 0x34, 0x56, 0x78}, {0x34, 0x12, 0x78, 0x56}},
    {"swap byte 2 counts as off", kSigned16, 2, 0, {0x12, 0x34}, {0x12, 0x34}},
    {"32 bit", kSigned32, 0, 0, {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE, 0xF0},
     {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE, 0xF0}},
    {"32 bit swapped element by element", kUnsigned32, 1, 0, {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE, 0xF0},
     {0x78, 0x56, 0x34, 0x12, 0xF0, 0xDE, 0xBC, 0x9A}},
    {"convert leaves integers alone", kUnsigned32, 1, 1, {0x01, 0x40, 0x00, 0x00}, {0x00, 0x00, 0x40, 0x01}},
    {"float swapped, not converted", kFloat32, 1, 0, {0x3F, 0x80, 0x00, 0x00}, {0x00, 0x00, 0x80, 0x3F}},
    {"float swapped then converted", kFloat32, 1, 1, {0x01, 0x40, 0x00, 0x00, 0x07, 0x9C, 0x00, 0x00},
     {0x00, 0x00, 0x80, 0x3F, 0x00, 0x00, 0xC8, 0xC2}},
    {"float converted, not swapped", kFloat32, 0, 1, {0x00, 0x00, 0x40, 0x01}, {0x00, 0x00, 0x80, 0x3F}},
};

TEST_F(BlockReadTest, EveryMemoryTypeInItsOwnWidth) {
    for (const BlockCase& c : kBlockCases) {
        SCOPED_TRACE(c.what);
        SetFormat(c.swap, c.convert);
        Put(In(4), c.card);
        Bytes value;
        ASSERT_EQ(ReadBlock(c.type, static_cast<std::int32_t>(c.card.size() / TypeSize[c.type]), value), kDone);
        EXPECT_EQ(value, c.host);
        EXPECT_EQ(LastCall().args, (std::vector<std::uint32_t>{0, 0, 0, 4, static_cast<std::uint32_t>(c.card.size()), 1,
                                                               1000}));
    }
    EXPECT_EQ(softcard::CallCount(Call::ExchangeIO), std::size(kBlockCases));
    EXPECT_TRUE(Messages().empty());
}

TEST_F(BlockReadTest, TheLargestBlocksAreReadWithOneExchangeAndStoredWhole) {
    context().swap = 1;
    for (std::int32_t count : {256, 255, 100}) {
        for (std::size_t i = 0; i < 512; ++i) In(4)[i] = static_cast<std::uint8_t>(i * 7 + 1);
        Bytes value;
        const unsigned before = softcard::CallCount(Call::ExchangeIO);
        ASSERT_EQ(ReadBlock(kUnsigned16, count, value), kDone);
        EXPECT_EQ(softcard::CallCount(Call::ExchangeIO), before + 1);
        EXPECT_EQ(LastCall().args[4], 2u * static_cast<std::uint32_t>(count));
        for (std::size_t i = 0; i < value.size(); i += 2) {
            ASSERT_EQ(value[i], In(4)[i + 1]) << count << " element " << i / 2;
            ASSERT_EQ(value[i + 1], In(4)[i]) << count << " element " << i / 2;
        }
    }
}

TEST_F(BlockReadTest, AFullFloatBlockIsReversedAndConvertedElementByElement) {
    SetFormat(1, 1);
    for (std::uint32_t k = 0; k < 128; ++k) {
        const std::uint32_t siemens = IeeeToSiemens(std::bit_cast<std::uint32_t>(static_cast<float>(k) - 60.5f));
        StoreCard32(In(4 + 4 * k), siemens, true);
    }
    Bytes value;
    ASSERT_EQ(ReadBlock(kFloat32, 128, value), kDone);
    EXPECT_EQ(LastCall().args[4], 512u);
    for (std::uint32_t k = 0; k < 128; ++k) {
        const Bytes element = Take(&value[4 * k], 4);
        ASSERT_EQ(std::bit_cast<float>(Value32(element)), static_cast<float>(k) - 60.5f) << k;
    }
}

TEST_F(BlockReadTest, ABitBlockIsReadAsWholeSixteenBitElements) {
    for (std::size_t i = 0; i < 32; ++i) In(4)[i] = static_cast<std::uint8_t>(i);
    Bytes value;
    ASSERT_EQ(ReadBlock(kUnsigned16, 16, value, 0), kDone);
    EXPECT_EQ(LastCall().args[3], 4u);
    EXPECT_EQ(LastCall().args[4], 32u);
    EXPECT_EQ(value, Take(In(4), 32));
}

TEST_F(BlockReadTest, AFailedExchangeLeavesTheBufferAsItWas) {
    softcard::FailCall(Call::ExchangeIO, -4);
    Bytes value;
    EXPECT_EQ(ReadBlock(kUnsigned16, 3, value), kFailed);
    EXPECT_EQ(value, Bytes(6, 0xAA));
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"RIZUZ> DevExchangeIO in send request failed rc = -4"}));
}

TEST_F(BlockReadTest, ADiagBlockGoesToTheDiagnosticReadWithoutAnExchange) {
    char address[] = "D00390";
    Bytes value(9, 0);
    GateIo io = MakeIo(address, DiagLocator(3, 90), 9, value.data());
    const NuvResult viaBlockRead = Call(6, &io);
    EXPECT_EQ(Exchanges(), 0u);

    DriverRequest request{&context(), 6, 1, 0, &io};
    EXPECT_EQ(viaBlockRead, ReadDiags(request));
}

}  // namespace
}  // namespace rizuz::testing
