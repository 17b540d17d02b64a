// Function 7: one gate from the host's value into the output area, a bit gate
// by read-modify-write of its element, a string gate padded to its length.
#include <gtest/gtest.h>

#include "data_fixture.hpp"

namespace rizuz::testing {
namespace {

using softcard::Call;

class SingleWriteTest : public DataTest {
protected:
    void SetUp() override {
        DataTest::SetUp();
        std::memset(Out(), 0xEE, 64);  // so that bytes beyond the element show they were left alone
    }
};

constexpr std::int32_t kByteOffset = 8;

struct WriteCase {
    const char* what;
    MemoryType type;
    std::uint8_t swap;
    std::uint8_t convert;
    std::uint32_t host;  // the four bytes as one little-endian value: W1 in the upper half
    Bytes card;
};

const WriteCase kWriteCases[] = {
    {"BOOL non-zero is FF", kBool, 0, 0, 0x00050000, {0xFF}},
    {"BOOL looks at all of W1", kBool, 0, 0, 0x01000000, {0xFF}},
    {"BOOL zero is 00", kBool, 0, 0, 0x0000FFFF, {0x00}},
    {"signed 8, low byte of W1", kSigned8, 1, 0, 0xFF80FFFF, {0x80}},
    {"unsigned 8, low byte of W1", kUnsigned8, 0, 0, 0x00AB0000, {0xAB}},
    {"unsigned 16", kUnsigned16, 0, 0, 0x12340000, {0x34, 0x12}},
    {"unsigned 16 swapped", kUnsigned16, 1, 0, 0x12340000, {0x12, 0x34}},
    {"signed 16", kSigned16, 0, 0, 0xFF80ABCD, {0x80, 0xFF}},
    {"swap byte 2 counts as off", kSigned16, 2, 0, 0x12340000, {0x34, 0x12}},
    {"signed 32", kSigned32, 0, 0, 0x12345678, {0x78, 0x56, 0x34, 0x12}},
    {"signed 32 swapped", kSigned32, 1, 0, 0x12345678, {0x12, 0x34, 0x56, 0x78}},
    {"convert leaves integers alone", kUnsigned32, 1, 1, 0x3F800000, {0x3F, 0x80, 0x00, 0x00}},
    {"float 1.0 as it stands", kFloat32, 0, 0, 0x3F800000, {0x00, 0x00, 0x80, 0x3F}},
    {"float 1.0 swapped", kFloat32, 1, 0, 0x3F800000, {0x3F, 0x80, 0x00, 0x00}},
    {"float 1.0 converted", kFloat32, 0, 1, 0x3F800000, {0x00, 0x00, 0x40, 0x01}},
    {"float 1.0 converted then swapped", kFloat32, 1, 1, 0x3F800000, {0x01, 0x40, 0x00, 0x00}},
    {"float -100.0 converted then swapped", kFloat32, 1, 1, 0xC2C80000, {0x07, 0x9C, 0x00, 0x00}},
    {"convert byte 2 counts as off", kFloat32, 0, 2, 0x3F800000, {0x00, 0x00, 0x80, 0x3F}},
};

TEST_F(SingleWriteTest, EveryMemoryTypeInTheCardsFormat) {
    for (const WriteCase& c : kWriteCases) {
        SCOPED_TRACE(c.what);
        SetFormat(c.swap, c.convert);
        std::memset(Out(), 0xEE, 64);
        char address[] = "S0008";
        Bytes value = Host32(c.host);
        GateIo io = MakeIo(address, NumericLocator(c.type, 'S', kByteOffset), 3, value.data());

        ASSERT_EQ(Call(7, &io), kDone);
        const auto size = static_cast<std::uint32_t>(c.card.size());
        EXPECT_EQ(Take(Out(kByteOffset), size + 1), [&] { Bytes b = c.card; b.push_back(0xEE); return b; }());
        EXPECT_EQ(LastCall().args, (std::vector<std::uint32_t>{kByteOffset, size, 1, 0, 0, 0, 1000}));
        EXPECT_EQ(value, Host32(c.host));  // a gate without a bit number leaves the host's value alone
        EXPECT_EQ(io.count, 1);
    }
    EXPECT_EQ(softcard::CallCount(Call::ReadSendData), 0u);
    EXPECT_TRUE(Messages().empty());
}

struct BitCase {
    const char* what;
    MemoryType type;
    std::int32_t bit;
    std::uint8_t swap;
    Bytes before;             // the element on the card
    std::uint16_t requested;  // W1 of the host's value
    Bytes after;
    std::uint16_t hostBit;    // W1 afterwards
};

const BitCase kBitCases[] = {
    {"set bit 3 of 0x0001", kUnsigned16, 3, 0, {0x01, 0x00}, 1, {0x09, 0x00}, 1},
    {"set bit 3 of 0x0001, swapped", kUnsigned16, 3, 1, {0x00, 0x01}, 1, {0x00, 0x09}, 1},
    {"clear bit 0 of 0x0001", kUnsigned16, 0, 0, {0x01, 0x00}, 0, {0x00, 0x00}, 0},
    {"set bit 5 of 0", kUnsigned16, 5, 0, {0x00, 0x00}, 1, {0x20, 0x00}, 1},
    {"any non-zero value sets the bit", kSigned16, 15, 1, {0x00, 0x00}, 0x0100, {0x80, 0x00}, 1},
    {"clear bit 7 of a signed byte 0x80", kSigned8, 7, 0, {0x80}, 0, {0x00}, 0},
    {"set bit 2 of an unsigned byte", kUnsigned8, 2, 0, {0x01}, 7, {0x05}, 1},
    {"a BOOL bit gate writes the whole byte on", kBool, 3, 0, {0x00}, 1, {0xFF}, 1},
    {"a BOOL bit gate writes the whole byte off", kBool, 3, 0, {0x01}, 0, {0x00}, 0},
};

TEST_F(SingleWriteTest, ABitGateReadsItsElementBackAndChangesOneBit) {
    for (const BitCase& c : kBitCases) {
        SCOPED_TRACE(c.what);
        SetFormat(c.swap, 0);
        Put(Out(kByteOffset), c.before);
        char address[] = "S00081";
        Bytes value = HostWords(0xBEEF, c.requested);
        GateIo io = MakeIo(address, NumericLocator(c.type, 'S', kByteOffset, c.bit), 1, value.data());
        const unsigned readBacks = softcard::CallCount(Call::ReadSendData);

        ASSERT_EQ(Call(7, &io), kDone);
        EXPECT_EQ(softcard::CallCount(Call::ReadSendData), readBacks + 1);
        EXPECT_EQ(Take(Out(kByteOffset), c.after.size()), c.after);
        EXPECT_EQ(value, HostWords(0, c.hostBit));
        EXPECT_EQ(io.locator.bit, c.bit);
        EXPECT_EQ(io.count, 1);
    }
}

TEST_F(SingleWriteTest, AFailedReadBackWritesNothingAndRestoresTheBitNumber) {
    char address[] = "S60083";
    Bytes value = HostWords(0, 1);
    GateIo io = MakeIo(address, NumericLocator(kUnsigned16, 'S', kByteOffset, 3), 2, value.data());
    softcard::FailCall(Call::ReadSendData, -7);
    EXPECT_EQ(Call(7, &io), kFailed);
    EXPECT_EQ(io.locator.bit, 3);
    EXPECT_EQ(io.count, 2);
    EXPECT_EQ(softcard::CallCount(Call::ExchangeIO), 0u);
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"RIZUZ> DevExchangeIO in send request failed rc = -7"}));
}

TEST_F(SingleWriteTest, AFailedWriteStillSetsCountAndTheHostsBit) {
    char address[] = "S60083";
    Bytes value = HostWords(0x1234, 5);
    GateIo io = MakeIo(address, NumericLocator(kUnsigned16, 'S', kByteOffset, 3), 1, value.data());
    softcard::FailCall(Call::ExchangeIO, -3);
    EXPECT_EQ(Call(7, &io), kFailed);
    EXPECT_EQ(value, HostWords(0, 1));
    EXPECT_EQ(io.count, 1);

    Bytes plain = Host32(0x12345678);
    GateIo whole = MakeIo(address, NumericLocator(kUnsigned32, 'S', kByteOffset), 3, plain.data());
    softcard::FailCall(Call::ExchangeIO, -3);
    EXPECT_EQ(Call(7, &whole), kFailed);
    EXPECT_EQ(whole.count, 1);
}

// A string gate's buffer is its defined length L plus one byte.
struct StringCase {
    const char* what;
    const char* address;
    std::int32_t writtenOffset;
    std::string host;        // the host's buffer, NUL included where the host put one
    NuvResult result;
    Bytes card;              // what lands at byte 2 x offset
};

const StringCase kStringCases[] = {
    {"nine characters in ten", "SS01010", 10, std::string("ABCDEFGHI\0", 11), kDone,
     {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 0}},
    {"empty string: L zero bytes", "SS01010", 10, std::string(11, '\0'), kDone, Bytes(10, 0)},
    {"short string padded with zeros", "SS00304", 3, std::string("AB\0xx", 5), kDone, {'A', 'B', 0, 0}},
    {"extended form", "SSX3L04", 3, std::string("ABC\0\0", 5), kDone, {'A', 'B', 'C', 0}},
    {"ten characters do not fit in ten", "SS01010", 10, std::string("ABCDEFGHIJ\0", 11), kRefused, {}},
    {"no NUL within the defined length", "SS01010", 10, std::string(11, 'x'), kRefused, {}},
    {"length 0 refuses every string", "SS01000", 10, std::string(1, '\0'), kRefused, {}},
    {"longer than 255 characters", "SS01010", 10, std::string(300, 'y') + '\0', kRefused, {}},
};

TEST_F(SingleWriteTest, AStringGoesOutWithItsNulAndZerosUpToItsDefinedLength) {
    for (const StringCase& c : kStringCases) {
        SCOPED_TRACE(c.what);
        ClearMessages();
        std::memset(Out(), 0xEE, 64);
        std::string address = c.address;
        Bytes value(c.host.begin(), c.host.end());
        GateIo io = MakeIo(address.data(), StringLocator('S', c.writtenOffset), 3, value.data());
        const unsigned writes = softcard::CallCount(Call::ExchangeIO);

        ASSERT_EQ(Call(7, &io), c.result);
        const std::size_t at = 2 * static_cast<std::size_t>(c.writtenOffset);
        if (c.result == kDone) {
            EXPECT_EQ(Take(Out(at), c.card.size() + 1), [&] { Bytes b = c.card; b.push_back(0xEE); return b; }());
            EXPECT_EQ(LastCall().args[1], c.card.size());
            EXPECT_EQ(io.count, 1);
            EXPECT_TRUE(Messages().empty());
        } else {
            EXPECT_EQ(softcard::CallCount(Call::ExchangeIO), writes);
            EXPECT_EQ(io.count, 3);
            EXPECT_EQ(Messages(), (std::vector<LoggedMessage>{
                                      {kEvent, "RIZUZ> Attempt to write a string longer than defined!"}}));
        }
        EXPECT_EQ(value, Bytes(c.host.begin(), c.host.end()));
    }
}

TEST_F(SingleWriteTest, DiagGatesAreRefusedBeforeTheStartUpAndRGatesAfterIt) {
    StopTheBoard();
    char diagAddress[] = "D00310";
    Bytes value(4, 0);
    GateIo diag = MakeIo(diagAddress, DiagLocator(3, 10), 1, value.data());
    EXPECT_EQ(Call(7, &diag), kRefused);
    EXPECT_EQ(Messages(),
              (std::vector<LoggedMessage>{{kDetail, "RIZUZ> SingleWrite() DIAG gates, no write supported"}}));
    EXPECT_EQ(CardCallsSinceSetUp(), 0u);

    char inputAddress[] = "R6008";
    GateIo input = MakeIo(inputAddress, NumericLocator(kUnsigned16, 'R', 8), 1, value.data());
    EXPECT_EQ(Call(7, &input), kFailed);  // the start-up was attempted first

    context().commRunning = 1;
    ClearMessages();
    EXPECT_EQ(Call(7, &input), kRefused);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Exchanges(), 0u);
    EXPECT_EQ(input.count, 1);
}

TEST_F(SingleWriteTest, AnRGateStartsTheBoardBeforeItIsRefused) {
    context().commRunning = 0;
    context().boardOpened = 0;
    char address[] = "R6008";
    Bytes value(4, 0);
    GateIo input = MakeIo(address, NumericLocator(kUnsigned16, 'R', 8), 1, value.data());
    EXPECT_EQ(Call(7, &input), kRefused);
    EXPECT_EQ(context().commRunning, 1);
    EXPECT_EQ(Exchanges(), 0u);
}

}  // namespace
}  // namespace rizuz::testing
