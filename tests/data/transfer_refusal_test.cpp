// Requests whose count, locator or address no longer hold what the definition
// check saw. Each is refused with result 1 and one message before the card is
// touched, the start-up included, and leaves the host's records and buffer as
// they were. Buffers are sized as the host sizes them for the request as sent.
#include <gtest/gtest.h>

#include "data_fixture.hpp"

namespace rizuz::testing {
namespace {

class TransferRefusalTest : public DataTest {};

struct RefusalCase {
    std::uint32_t function;
    const char* address;
    GateLocator locator;
    std::int32_t count;
    std::size_t bufferSize;
    const char* message;
};

constexpr std::int32_t kMemoryType9 = (9 << 16) + 'R';
constexpr std::int32_t kMemoryType0 = 'S';

const RefusalCase kRefusalCases[] = {
    // More than the 512-byte staging buffers, also where 16-bit arithmetic would wrap to a small size.
    {6, "R6000", NumericLocator(kUnsigned16, 'R', 0), 257, 514,
     "RIZUZ> BlockRead() refused: 257 x 2 bytes exceed the 512-byte transfer buffer"},
    {6, "R1000", NumericLocator(kBool, 'R', 0), 0x10001, 0x10001,
     "RIZUZ> BlockRead() refused: 65537 x 1 bytes exceed the 512-byte transfer buffer"},
    {10, "S8000", NumericLocator(kFloat32, 'S', 0), 129, 516,
     "RIZUZ> BlockWrite() refused: 129 x 4 bytes exceed the 512-byte transfer buffer"},
    {10, "S60001", NumericLocator(kUnsigned16, 'S', 0, 1), 272, 34,
     "RIZUZ> BlockWrite() refused: 272 x 2 bytes exceed the 512-byte transfer buffer"},
    {17, nullptr, {0, 'I', 0, -1, 8}, 513, 513,
     "RIZUZ> RawRead() refused: 513 x 1 bytes exceed the 512-byte transfer buffer"},
    {17, nullptr, {0, 'I', 0, -1, 8}, 0x10004, 0x10004,
     "RIZUZ> RawRead() refused: 65540 x 1 bytes exceed the 512-byte transfer buffer"},
    {18, nullptr, {0, 0, 0, -1, 8}, 513, 513,
     "RIZUZ> RawWrite() refused: 513 x 1 bytes exceed the 512-byte transfer buffer"},
    {5, "R8000", NumericLocator(kFloat32, 'R', 0), 129, 4,
     "RIZUZ> SingleRead() refused: 129 x 4 bytes exceed the 512-byte transfer buffer"},
    // No elements at all: a block write or raw write of 0 would reach the exchange as a read.
    {6, "R6000", NumericLocator(kUnsigned16, 'R', 0), 0, 0, "RIZUZ> BlockRead() refused: count 0, at least 1 needed"},
    {6, "R6000", NumericLocator(kUnsigned16, 'R', 0), -1, 0, "RIZUZ> BlockRead() refused: count -1, at least 1 needed"},
    {10, "S1000", NumericLocator(kBool, 'S', 0), 0, 0, "RIZUZ> BlockWrite() refused: count 0, at least 1 needed"},
    {10, "S60001", NumericLocator(kUnsigned16, 'S', 0, 1), 0, 0,
     "RIZUZ> BlockWrite() refused: count 0, at least 1 needed"},
    {10, "S4000", NumericLocator(kSigned32, 'S', 0), -65535, 0,
     "RIZUZ> BlockWrite() refused: count -65535, at least 1 needed"},
    {17, nullptr, {0, 'I', 0, -1, 8}, 0, 0, "RIZUZ> RawRead() refused: count 0, at least 1 needed"},
    {18, nullptr, {0, 0, 0, -1, 8}, 0, 0, "RIZUZ> RawWrite() refused: count 0, at least 1 needed"},
    {18, nullptr, {0, 0, 0, -1, 8}, -1, 0, "RIZUZ> RawWrite() refused: count -1, at least 1 needed"},
    {5, "R6000", NumericLocator(kUnsigned16, 'R', 0), 0, 4, "RIZUZ> SingleRead() refused: count 0, at least 1 needed"},
    // A memory type the size tables do not know.
    {5, "R9000", {0, kMemoryType9, 0, -1, 8}, 1, 4, "RIZUZ> SingleRead() refused: memory type 9 is not one of 1..8"},
    {6, "S0000", {0, kMemoryType0, 0, -1, 8}, 4, 4, "RIZUZ> BlockRead() refused: memory type 0 is not one of 1..8"},
    {7, "S9000", {0, (0xFFFF << 16) + 'S', 0, -1, 8}, 1, 4,
     "RIZUZ> SingleWrite() refused: memory type 65535 is not one of 1..8"},
    {10, "S0000", {0, kMemoryType0, 0, -1, 8}, 4, 4, "RIZUZ> BlockWrite() refused: memory type 0 is not one of 1..8"},
    {5, "RS00010", {0, kMemoryType9, 0, -1, 16}, 1, 11,
     "RIZUZ> SingleRead() refused: memory type 9 is not one of 1..8"},
    // A bit number outside its element.
    {5, "R50007", NumericLocator(kUnsigned8, 'R', 0, 8), 1, 4,
     "RIZUZ> SingleRead() refused: bit number 8 not allowed for memory type 5"},
    {5, "R20007", NumericLocator(kSigned8, 'R', 0, -2), 1, 4,
     "RIZUZ> SingleRead() refused: bit number -2 not allowed for memory type 2"},
    {5, "R6000F", NumericLocator(kUnsigned16, 'R', 0, 16), 1, 4,
     "RIZUZ> SingleRead() refused: bit number 16 not allowed for memory type 6"},
    {5, "R3000F", NumericLocator(kSigned16, 'R', 0, 1000), 1, 4,
     "RIZUZ> SingleRead() refused: bit number 1000 not allowed for memory type 3"},
    {7, "S6000F", NumericLocator(kUnsigned16, 'S', 0, 32), 1, 4,
     "RIZUZ> SingleWrite() refused: bit number 32 not allowed for memory type 6"},
    {7, "S1000F", NumericLocator(kBool, 'S', 0, 16), 1, 4,
     "RIZUZ> SingleWrite() refused: bit number 16 not allowed for memory type 1"},
    {7, "S7000", NumericLocator(kUnsigned32, 'S', 0, 0), 1, 4,
     "RIZUZ> SingleWrite() refused: bit number 0 not allowed for memory type 7"},
    {7, "SS00002", {0, MakeTypeWord(kUnsigned8, 'S'), 0, 1, 16}, 1, 3,
     "RIZUZ> SingleWrite() refused: bit number 1 not allowed for memory type S"},
    // A string gate whose address carries no length.
    {5, "RS010", StringLocator('R', 10), 1, 1, "RIZUZ> SingleRead() refused: no string length in gate address 'RS010'"},
    {5, "RSX10L", StringLocator('R', 10), 1, 1,
     "RIZUZ> SingleRead() refused: no string length in gate address 'RSX10L'"},
    {7, "SS010AB", StringLocator('S', 10), 1, 1,
     "RIZUZ> SingleWrite() refused: no string length in gate address 'SS010AB'"},
};

TEST_F(TransferRefusalTest, RefusedBeforeTheStartUpWithNothingTouched) {
    StopTheBoard();  // a request that got as far as the start-up would fail with 2
    for (const RefusalCase& c : kRefusalCases) {
        SCOPED_TRACE(c.message);
        ClearMessages();
        std::string address = c.address != nullptr ? c.address : "";
        Bytes value(c.bufferSize, 0xAA);
        GateIo io = MakeIo(c.address != nullptr ? address.data() : nullptr, c.locator, c.count, value.data());
        const GateIo before = io;

        EXPECT_EQ(Call(c.function, &io), kRefused);
        EXPECT_EQ(Messages(), (std::vector<LoggedMessage>{{kEvent, c.message}}));
        EXPECT_EQ(std::memcmp(&io, &before, sizeof io), 0);
        EXPECT_EQ(value, Bytes(c.bufferSize, 0xAA));
        if (c.address != nullptr) {
            EXPECT_EQ(address, c.address);
        }
    }
    EXPECT_EQ(CardCallsSinceSetUp(), 0u);
    EXPECT_EQ(context().commRunning, 0);
}

TEST_F(TransferRefusalTest, BitNumbersThatSelectNothingAreStillIgnoredByReads) {
    Put(In(0), {0x02, 0x00, 0x00, 0x00});
    char address[] = "R1000";
    Bytes value(4, 0xAA);
    for (GateLocator locator : {NumericLocator(kBool, 'R', 0, 99), NumericLocator(kFloat32, 'R', 0, 7)}) {
        GateIo io = MakeIo(address, locator, 1, value.data());
        EXPECT_EQ(Call(5, &io), kDone);
    }
    EXPECT_EQ(Value32(value), 0x00000002u);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(TransferRefusalTest, TheFullBufferIsStillAccepted) {
    Bytes block(512, 0x5A);
    char address[] = "S1000";
    GateIo write = MakeIo(address, NumericLocator(kBool, 'S', 0), 512, block.data());
    EXPECT_EQ(Call(10, &write), kDone);
    GateIo read = MakeIo(address, NumericLocator(kUnsigned8, 'S', 0), 512, block.data());
    EXPECT_EQ(Call(6, &read), kDone);
    EXPECT_EQ(block, Bytes(512, 0x5A));
    EXPECT_TRUE(Messages().empty());
}

}  // namespace
}  // namespace rizuz::testing
