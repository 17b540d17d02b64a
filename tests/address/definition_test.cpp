// Functions 3 and 4 through NuvMain: a single gate checked against the host's
// gate type, a block against the limits of one transfer.
#include <climits>
#include <string>
#include <vector>

#include "driver_fixture.hpp"
#include "parse_harness.hpp"

namespace rizuz::testing {
namespace {

constexpr std::uint32_t kSingleParse = 3;
constexpr std::uint32_t kBlockParse = 4;

struct DefinitionCase {
    std::uint32_t function;
    const char* address;
    std::int32_t gateTypeOrCount;  // gateType for function 3, blockCount for function 4
    NuvResult result;
    std::vector<std::string> messages;  // all of class 32
};

DefinitionCase SingleGate(const char* address, std::int32_t gateType, NuvResult result,
                      std::vector<std::string> messages = {}) {
    return {kSingleParse, address, gateType, result, std::move(messages)};
}
DefinitionCase BlockOf(const char* address, std::int32_t count, NuvResult result, std::vector<std::string> messages = {}) {
    return {kBlockParse, address, count, result, std::move(messages)};
}

class DefinitionTest : public DriverTest {
protected:
    void Check(const DefinitionCase& c) {
        SCOPED_TRACE(std::string(c.function == kSingleParse ? "single " : "block ") + c.address + " with " +
                     std::to_string(c.gateTypeOrCount));
        GuardedText text(c.address);  // the parser upper-cases it: a writable buffer of the host's
        GateDefinition definition{};
        definition.address = text.data();
        // Each function reads only its own word; the other one holds rubbish.
        definition.gateType = c.function == kSingleParse ? c.gateTypeOrCount : 99;
        definition.blockCount = c.function == kBlockParse ? c.gateTypeOrCount : -99;
        ClearMessages();
        EXPECT_EQ(Call(c.function, &definition), c.result);
        std::vector<LoggedMessage> expected;
        for (const std::string& m : c.messages) expected.push_back({kEvent, m});
        EXPECT_EQ(Messages(), expected);
        EXPECT_EQ(std::string(text.data()), UpperCased(c.address));
    }
};

TEST_F(DefinitionTest, SingleGatesAreCheckedAgainstTheHostGateType) {
    const DefinitionCase cases[] = {
        SingleGate("R1000", 6, kDone),
        SingleGate("R1000", 0, kRefused, {"ZUROD>Parser fail for gate R1000, for memory type 1 (BOOL) use a digital gate"}),
        SingleGate("R1000", 9, kRefused, {"ZUROD>Parser fail for gate R1000, for memory type 1 (BOOL) use a digital gate"}),
        SingleGate("R10003", 6, kDone),
        SingleGate("R10003", 0, kRefused, {"ZUROD>Parser fail for gate R10003, for memory type 1 (BOOL) use a digital gate"}),
        SingleGate("R30021", 6, kDone),
        SingleGate("R30021", 1, kRefused, {"ZUROD>Parser fail for gate R30021, for a special digital gate use a digital gate"}),
        SingleGate("R3002", 1, kDone),
        SingleGate("r2001", 1, kDone),
        SingleGate("R3002", 0, kRefused, {"ZUROD>Parser fail for gate R3002, for memory type 3 use a Signed 16 gate type"}),
        SingleGate("R5001", 0, kDone),
        SingleGate("R5001", 2, kDone),
        SingleGate("R6002", 0, kDone),
        SingleGate("R6002", 2, kDone),
        SingleGate("R5001", 1, kRefused, {"ZUROD>Parser fail for gate R5001, for memory type 5 use a Unsigned 16 gate type"}),
        SingleGate("R6002", -1, kRefused, {"ZUROD>Parser fail for gate R6002, for memory type 6 use a Unsigned 16 gate type"}),
        SingleGate("R4004", 4, kDone),
        SingleGate("R4004", 5, kRefused, {"ZUROD>Parser fail for gate R4004, for memory type 4 use a Signed 32 gate type"}),
        SingleGate("R7004", 5, kDone),
        SingleGate("R7004", 4, kRefused, {"ZUROD>Parser fail for gate R7004, for memory type 7 use a Unsigned 32 gate type"}),
        SingleGate("R8004", 3, kDone),
        SingleGate("R8004", 6, kRefused,
               {"ZUROD>Parser fail for gate R8004, for memory type 8 use a Floating Point gate type"}),
        // Length rules come before the parser.
        SingleGate("R6X12000B0F", 6, kDone),  // extended: no length limit
        SingleGate("R10001ZZ", 6, kDone),     // eight characters
        SingleGate("R100012345", 6, kRefused, {"RIZUZ> Illegal definition of gate address string."}),
        SingleGate("R9X10", 6, kRefused,
               {"RIZUZ> PARSE() Incorrect data type 9 (Allowed 1..8,S)", "RIZUZ> SingleParse() failed for 'R9X10'"}),
        // Strings
        SingleGate("SS01012", 7, kDone),
        SingleGate("SS01080", 7, kDone),
        SingleGate("SSX100L40", 7, kDone),
        SingleGate("ssx100l123", 7, kDone),  // only two digits count: 12
        SingleGate("SS01012", 0, kRefused, {"RIZUZ>String gates (typed 'S') must be of Palvex string gate type!"}),
        SingleGate("SS01081", 7, kRefused, {"RIZUZ>String gates must be smaller than 80 characters!"}),
        SingleGate("SSX10L81", 7, kRefused, {"RIZUZ>String gates must be smaller than 80 characters!"}),
        SingleGate("SS010-1", 7, kRefused, {"RIZUZ>String gates must be smaller than 80 characters!"}),
        SingleGate("SS0101", 7, kRefused, {"RIZUZ> Illegal definition for string gate in gate address string."}),
        SingleGate("ss0101", 7, kRefused, {"RIZUZ> Illegal definition for string gate in gate address string."}),
        SingleGate("SS01012X", 7, kRefused, {"RIZUZ> Illegal definition for string gate in gate address string."}),
        SingleGate("SS010AB", 7, kRefused, {"RIZUZ> String gate 'SS010AB' has no length"}),
        SingleGate("SSX10L", 7, kRefused, {"RIZUZ> String gate 'SSX10L' has no length"}),
        SingleGate("SSX100", 7, kRefused,
               {"RIZUZ> ParseE() Missing 'L..' in SSX100", "RIZUZ> SingleParse() failed for 'SSX100'"}),
        // D gates
        SingleGate("D00310", 0, kDone),
        SingleGate("D00310", 1, kRefused,
               {"ZUROD>Parser fail for gate D00310, for DIAG byte use a UNSIGNED 16 bit gate type"}),
        SingleGate("D00310", 2, kRefused,
               {"ZUROD>Parser fail for gate D00310, for DIAG byte use a UNSIGNED 16 bit gate type"}),
        SingleGate("D003107", 6, kDone),
        SingleGate("D003107", 0, kRefused,
               {"ZUROD>Parser fail for gate D003107, for a special digital gate use a digital gate"}),
        // Parser refusals: the parser's message, then the handler's.
        SingleGate("r3011", 1, kRefused,
               {"RIZUZ> Gate type 3, should have even offset value", "RIZUZ> SingleParse() failed for 'R3011'"}),
        SingleGate("D256000", 0, kRefused,
               {"RIZUZ> Illegal plc address of DIAG gate 'D256000'", "RIZUZ> SingleParse() failed for 'D256000'"}),
        SingleGate("", 6, kRefused,
               {"RIZUZ> PARSE() First char in gate address string should be S, R or D",
                "RIZUZ> SingleParse() failed for ''"}),
    };
    for (const DefinitionCase& c : cases) Check(c);
}

TEST_F(DefinitionTest, BlocksAreCheckedAgainstTheLimitsOfOneTransfer) {
    const DefinitionCase cases[] = {
        BlockOf("R1000", 512, kDone),
        BlockOf("R1000", 513, kRefused, {"RIZUZ> Block parse fail, total size exceeds 512"}),
        BlockOf("R3000", 256, kDone),
        BlockOf("R3000", 257, kRefused, {"RIZUZ> Block parse fail, total size exceeds 512"}),
        BlockOf("R4000", 128, kDone),
        BlockOf("R4000", 129, kRefused, {"RIZUZ> Block parse fail, total size exceeds 512"}),
        BlockOf("S8X1000", 128, kDone),
        // Counts that would wrap a 32-bit product or sum.
        BlockOf("R4000", 0x40000001, kRefused, {"RIZUZ> Block parse fail, total size exceeds 512"}),
        BlockOf("R1000", INT_MAX, kRefused, {"RIZUZ> Block parse fail, total size exceeds 512"}),
        BlockOf("D00300", INT_MAX, kRefused, {"RIZUZ> Block parse fail, blocksize DIAG block 'D00300' out of range"}),
        // D blocks end at byte 98.
        BlockOf("D00390", 9, kDone),
        BlockOf("D00390", 10, kRefused, {"RIZUZ> Block parse fail, blocksize DIAG block 'D00390' out of range"}),
        BlockOf("D00300", 99, kDone),
        BlockOf("d00300", 100, kRefused, {"RIZUZ> Block parse fail, blocksize DIAG block 'D00300' out of range"}),
        BlockOf("D00399", 1, kRefused, {"RIZUZ> Block parse fail, blocksize DIAG block 'D00399' out of range"}),
        // Nothing of fewer than one element reaches a transfer.
        BlockOf("R1000", 0, kRefused, {"RIZUZ> Block parse fail, block count 0 of 'R1000' must be at least 1"}),
        BlockOf("R6000", -1, kRefused, {"RIZUZ> Block parse fail, block count -1 of 'R6000' must be at least 1"}),
        BlockOf("D00300", INT_MIN, kRefused,
              {"RIZUZ> Block parse fail, block count -2147483648 of 'D00300' must be at least 1"}),
        // Strings never, bit blocks with a message.
        BlockOf("SS01012", 1, kRefused, {"RIZUZ> String gates can not be defined as a block."}),
        BlockOf("ss01012", 1, kRefused, {"RIZUZ> String gates can not be defined as a block."}),
        BlockOf("RSX10L5", 1, kRefused, {"RIZUZ> String gates can not be defined as a block."}),
        BlockOf("R30001", 16, kDone, {"RIZUZ> Special digital gates no allowed as a block"}),
        BlockOf("R6X0B0F", 256, kDone, {"RIZUZ> Special digital gates no allowed as a block"}),
        BlockOf("R10003", 600, kRefused,
              {"RIZUZ> Special digital gates no allowed as a block", "RIZUZ> Block parse fail, total size exceeds 512"}),
        BlockOf("R30001", 0, kRefused,
              {"RIZUZ> Special digital gates no allowed as a block",
               "RIZUZ> Block parse fail, block count 0 of 'R30001' must be at least 1"}),
        BlockOf("R10001ZZZZZZZZ", 1, kDone, {"RIZUZ> Special digital gates no allowed as a block"}),  // no length limit
        // Parser refusals: the parser's message, then the handler's.
        BlockOf("R9000", 1, kRefused,
              {"RIZUZ> PARSE() Incorrect data type 9 (Allowed 1..8,S)",
               "RIZUZ> BlockParse() faile due to single parse fail (R9000)"}),
        BlockOf("r1x10q", 1, kRefused,
              {"RIZUZ> ParseE() Illegal char. on position 5 in R1X10Q",
               "RIZUZ> BlockParse() faile due to single parse fail (R1X10Q)"}),
    };
    for (const DefinitionCase& c : cases) Check(c);
}

TEST_F(DefinitionTest, AnAcceptedDefinitionLeavesTheLocatorForTheHostAndTheCardUntouched) {
    char single[] = "s6x1000b0f";
    GateDefinition gate{single, 0, 6, 0, kUntouchedLocator};
    EXPECT_EQ(Call(kSingleParse, &gate), kDone);
    EXPECT_EQ(Words(gate.locator), (LocatorWords{0, 0x60053, 500, 15, 16}));

    char block[] = "D00310";
    GateDefinition diag{block, 0, 0, 20, kUntouchedLocator};
    EXPECT_EQ(Call(kBlockParse, &diag), kDone);
    EXPECT_EQ(Words(diag.locator), (LocatorWords{3, 16, 10, -1, kUntouched}));

    for (unsigned c = 0; c < softcard::kCallCount; ++c) {
        EXPECT_EQ(softcard::CallCount(static_cast<softcard::Call>(c)), 0u) << c;
    }
}

TEST_F(DefinitionTest, AMissingAddressIsRefusedLikeAnEmptyOne) {
    GateDefinition gate{};
    EXPECT_EQ(Call(kSingleParse, &gate), kRefused);
    EXPECT_EQ(Call(kBlockParse, &gate), kRefused);
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{
                                  "RIZUZ> PARSE() First char in gate address string should be S, R or D",
                                  "RIZUZ> SingleParse() failed for ''",
                                  "RIZUZ> PARSE() First char in gate address string should be S, R or D",
                                  "RIZUZ> BlockParse() faile due to single parse fail ()",
                              }));
}

}  // namespace
}  // namespace rizuz::testing
