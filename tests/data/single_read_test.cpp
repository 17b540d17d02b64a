// Function 5: one gate from the card into the host's four-byte value (W0, W1)
// or its string buffer.
#include <gtest/gtest.h>

#include "data_fixture.hpp"
#include "diag/read_diags.hpp"

namespace rizuz::testing {
namespace {

using softcard::Call;

class SingleReadTest : public DataTest {};

struct ReadCase {
    const char* what;
    MemoryType type;
    std::int32_t bit;
    std::uint8_t swap;
    std::uint8_t convert;
    Bytes card;           // at the gate's byte offset
    std::uint32_t host;   // the four bytes as one little-endian value: W1 in the upper half
};

const ReadCase kReadCases[] = {
    {"BOOL non-zero", kBool, -1, 0, 0, {0x02}, 0x00010000},
    {"BOOL zero", kBool, -1, 0, 0, {0x00}, 0x00000000},
    {"BOOL ignores its bit number", kBool, 5, 0, 0, {0x02}, 0x00010000},
    {"BOOL ignores bit 15", kBool, 15, 0, 0, {0x00}, 0x00000000},
    {"signed 8 is sign-extended into W1 only", kSigned8, -1, 0, 0, {0x80}, 0xFF800000},
    {"signed 8, bit 7", kSigned8, 7, 0, 0, {0x80}, 0x00010000},
    {"unsigned 8 is zero-extended", kUnsigned8, -1, 0, 0, {0x80}, 0x00800000},
    {"unsigned 8, bit 7 set", kUnsigned8, 7, 0, 0, {0x80}, 0x00010000},
    {"unsigned 8, bit 6 clear", kUnsigned8, 6, 0, 0, {0x80}, 0x00000000},
    {"signed 16", kSigned16, -1, 0, 0, {0xFF, 0x7F}, 0x7FFF0000},
    {"signed 16 swapped, never sign-extended into W0", kSigned16, -1, 1, 0, {0xFF, 0x7F}, 0xFF7F0000},
    {"swap byte 2 counts as off", kSigned16, -1, 2, 0, {0xFF, 0x7F}, 0x7FFF0000},
    {"unsigned 16, bit 15", kUnsigned16, 15, 0, 0, {0x00, 0x80}, 0x00010000},
    {"unsigned 16 swapped, bit 15", kUnsigned16, 15, 1, 0, {0x00, 0x80}, 0x00000000},
    {"unsigned 16 swapped, bit 7", kUnsigned16, 7, 1, 0, {0x00, 0x80}, 0x00010000},
    {"unsigned 32", kUnsigned32, -1, 0, 0, {0x12, 0x34, 0x56, 0x78}, 0x78563412},
    {"unsigned 32 swapped", kUnsigned32, -1, 1, 0, {0x12, 0x34, 0x56, 0x78}, 0x12345678},
    {"signed 32 swapped", kSigned32, -1, 1, 0, {0x87, 0x65, 0x43, 0x21}, 0x87654321},
    {"convert leaves integers alone", kUnsigned32, -1, 1, 1, {0x01, 0x40, 0x00, 0x00}, 0x01400000},
    {"float as it stands", kFloat32, -1, 0, 0, {0x00, 0x00, 0x80, 0x3F}, 0x3F800000},
    {"float swapped, not converted", kFloat32, -1, 1, 0, {0x01, 0x40, 0x00, 0x00}, 0x01400000},
    {"float swapped then converted", kFloat32, -1, 1, 1, {0x01, 0x40, 0x00, 0x00}, 0x3F800000},
    {"float converted, not swapped", kFloat32, -1, 0, 1, {0x00, 0x00, 0x9C, 0x07}, 0xC2C80000},
    {"convert byte 2 counts as off", kFloat32, -1, 1, 2, {0x01, 0x40, 0x00, 0x00}, 0x01400000},
};

TEST_F(SingleReadTest, EveryMemoryTypeFromEitherAreaInTheHostsFormat) {
    for (char area : {'R', 'S'}) {
        for (const ReadCase& c : kReadCases) {
            SCOPED_TRACE(std::string(c.what) + " from " + area);
            SetFormat(c.swap, c.convert);
            const std::int32_t byteOffset = 40;
            Put((area == 'R' ? In() : Out()) + byteOffset, c.card);
            char address[] = "R0000";  // only position 1 is looked at
            Bytes value(4, 0xAA);
            GateIo io = MakeIo(address, NumericLocator(c.type, area, byteOffset, c.bit), 1, value.data());

            ASSERT_EQ(Call(5, &io), kDone);
            EXPECT_EQ(Value32(value), c.host);
            EXPECT_EQ(LastCall().call, area == 'R' ? Call::ExchangeIO : Call::ReadSendData);
            const std::vector<std::uint32_t>& args = LastCall().args;
            EXPECT_EQ(area == 'R' ? args[3] : args[0], 40u);
            EXPECT_EQ(area == 'R' ? args[4] : args[1], c.card.size());
            EXPECT_EQ(io.count, 1);
            EXPECT_EQ(io.locator.bit, c.bit);
        }
    }
    EXPECT_TRUE(Messages().empty());
}

TEST_F(SingleReadTest, AFailedExchangeLeavesTheValueAsItWas) {
    char address[] = "R6020";
    Bytes value(4, 0xAA);
    GateIo io = MakeIo(address, NumericLocator(kUnsigned16, 'R', 20), 1, value.data());
    softcard::FailCall(Call::ExchangeIO, -5);
    EXPECT_EQ(Call(5, &io), kFailed);
    EXPECT_EQ(value, Bytes(4, 0xAA));
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"RIZUZ> DevExchangeIO in send request failed rc = -5"}));
    EXPECT_EQ(Messages()[0].msgClass, kEvent);
}

// A string gate's buffer is its defined length plus the NUL.
struct StringCase {
    const char* what;
    const char* address;
    std::int32_t writtenOffset;
    std::uint32_t length;
    std::string card;         // at byte 2 x offset
    std::string host;
};

const StringCase kStringCases[] = {
    {"short form", "RS01020", 10, 20, std::string("HELLO\0WORLD", 11), "HELLO"},
    {"extended form", "RSX7L05", 7, 5, std::string("ABC\0", 4), "ABC"},
    {"extended form, only two length digits count", "RSX7L054", 7, 5, "ABC", "ABC"},
    {"no NUL on the card: the defined length, ended", "RS00305", 3, 5, "ABCDEFGH", "ABCDE"},
    {"the longest length an address can carry", "RS00099", 0, 99, std::string(120, 'x'), std::string(99, 'x')},
    {"length 0 gives the empty string", "RS00500", 5, 0, "ABC", ""},
};

TEST_F(SingleReadTest, StringGatesReadTheirDefinedLengthAndAlwaysEndTheHostsString) {
    for (const StringCase& c : kStringCases) {
        SCOPED_TRACE(c.what);
        softcard::Reset();
        DevOpenDriver(0);
        DevInitBoard(0, nullptr);
        Put(In(2 * static_cast<std::size_t>(c.writtenOffset)), Bytes(c.card.begin(), c.card.end()));
        std::memset(context().receiveBuffer, 'Z', sizeof context().receiveBuffer);  // left over from earlier reads
        std::string address = c.address;
        Bytes value(c.length + 1, 0xAA);
        GateIo io = MakeIo(address.data(), StringLocator('R', c.writtenOffset), 1, value.data());

        ASSERT_EQ(Call(5, &io), kDone);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(value.data())), c.host);
        EXPECT_EQ(LastCall().args[3], 2u * static_cast<std::uint32_t>(c.writtenOffset));
        EXPECT_EQ(LastCall().args[4], c.length);  // count was the length during the exchange
        EXPECT_EQ(io.count, 1);
    }
}

TEST_F(SingleReadTest, AStringGateSetsCountBackToOneAlsoWhenTheExchangeFails) {
    char address[] = "SS01004";
    Bytes value(5, 0xAA);
    GateIo io = MakeIo(address, StringLocator('S', 10), 1, value.data());
    softcard::FailCall(Call::ReadSendData, -9);
    EXPECT_EQ(Call(5, &io), kFailed);
    EXPECT_EQ(LastCall().args, (std::vector<std::uint32_t>{20, 4, 1}));
    EXPECT_EQ(io.count, 1);
    EXPECT_EQ(value, Bytes(5, 0xAA));
}

TEST_F(SingleReadTest, ADiagGateGoesToTheDiagnosticReadWithoutAnExchange) {
    char address[] = "D00310";
    Bytes value(4, 0);
    GateIo io = MakeIo(address, DiagLocator(3, 10), 1, value.data());
    const NuvResult viaSingleRead = Call(5, &io);
    EXPECT_EQ(Exchanges(), 0u);

    DriverRequest request{&context(), 5, 1, 0, &io};
    EXPECT_EQ(viaSingleRead, ReadDiags(request));  // its result as it comes
}

}  // namespace
}  // namespace rizuz::testing
