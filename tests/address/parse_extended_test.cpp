// PARSE on extended S and R addresses ('X' in position 2), which it hands to
// ParseE: long offsets, multi-digit bit numbers, string lengths after 'L'.
#include "parse_harness.hpp"

namespace rizuz::testing {
namespace {

constexpr std::int32_t R = 'R';
constexpr std::int32_t S = 'S';
constexpr std::int32_t TypeWord(std::int32_t memoryType, std::int32_t area) { return (memoryType << 16) + area; }

TEST(ParseExtended, AcceptedAddressesYieldTheirLocators) {
    const ParseCase cases[] = {
        Accepts("R1X1000", {0, TypeWord(1, R), 1000, -1, 8}),
        Accepts("S6X1000B0F", {0, TypeWord(6, S), 500, 15, 16}),
        Accepts("r2x7b5", {0, TypeWord(2, R), 7, 5, 8}),
        Accepts("R4X1000", {0, TypeWord(4, R), 250, -1, 32}),
        Accepts("R1X20BF", {0, TypeWord(1, R), 20, 15, 8}),
        Accepts("R6X0B000000000F", {0, TypeWord(6, R), 0, 15, 16}),  // leading zeros
        Accepts("R3X65534", {0, TypeWord(3, R), 32767, -1, 16}),
        Accepts("R1X70000", {0, TypeWord(1, R), 4464, -1, 8}),  // modulo 65536
        Accepts("S8X0", {0, TypeWord(8, S), 0, -1, 32}),
        Accepts("SSX100L40", {0, TypeWord(5, S), 100, -1, 16}),
        Accepts("SSX100L123", {0, TypeWord(5, S), 100, -1, 16}),
        Accepts("SSX10L", {0, TypeWord(5, S), 10, -1, 16}),  // the definition check refuses it
    };
    for (const ParseCase& c : cases) ExpectParses(PARSE, c);
}

TEST(ParseExtended, RefusedAddressesLogTheirOneMessage) {
    const ParseCase cases[] = {
        Refuses("R1X", "RIZUZ> ParseE() Illegal non decimal char in index."),
        Refuses("R1XB3", "RIZUZ> ParseE() Illegal non decimal char in index."),
        Refuses("SSX100", "RIZUZ> ParseE() Missing 'L..' in SSX100"),
        Refuses("SSX100B1", "RIZUZ> ParseE() Missing 'L..' in SSX100B1"),
        Refuses("r1x100l5", "RIZUZ> ParseE() 'L..' in R1X100L5 are only for strings"),
        Refuses("R1X10Q", "RIZUZ> ParseE() Illegal char. on position 5 in R1X10Q"),
        Refuses("R1X+5", "RIZUZ> ParseE() Illegal char. on position 3 in R1X+5"),
        Refuses("R1X 5", "RIZUZ> ParseE() Illegal char. on position 3 in R1X 5"),
        Refuses("SSX12X", "RIZUZ> ParseE() Illegal char. on position 5 in SSX12X"),
        Refuses("R1X10B", "RIZUZ> ParseE() Incorrect bit number in"),
        Refuses("R1X10BG", "RIZUZ> ParseE() Incorrect bit number in"),
        Refuses("R1X10B3G", "RIZUZ> ParseE() No information after bit number accepted"),
        Refuses("R1X10B0X5", "RIZUZ> ParseE() No information after bit number accepted"),
        Refuses("SSX10L4A", "RIZUZ> ParseE() No information after string length accepted"),
        Refuses("R3X1001", "RIZUZ> ParseE() Gate type 3, should have even offset value"),
        Refuses("R4X1002", "RIZUZ> ParseE() Gate type 4, should have be devideable by 4"),
        Refuses("R4X1000B1", "RIZUZ> ParseE() No special digital gate for type 4 allowed"),
        Refuses("R5X20B8", "RIZUZ> ParseE() The bit number specified in R5X20B8 not in range 0-7!"),
        Refuses("R6X20B10", "RIZUZ> ParseE() The bit number specified in R6X20B10 not in range 0-15!"),
        // Positions 0 and 1 are PARSE's own tests.
        Refuses("R9X10", "RIZUZ> PARSE() Incorrect data type 9 (Allowed 1..8,S)"),
    };
    for (const ParseCase& c : cases) ExpectParses(PARSE, c);
}

// "FFFFFFFF" read into the signed bit word is -1, the mark of "no bit": such a
// gate must be refused for its bit number, not accepted as its whole element.
TEST(ParseExtended, BitNumbersThatReadAsMinusOneAreStillOutOfRange) {
    const ParseCase cases[] = {
        Refuses("R1X0BFFFFFFFF", "RIZUZ> ParseE() The bit number specified in R1X0BFFFFFFFF not in range 0-15!"),
        Refuses("R6X0B100000000", "RIZUZ> ParseE() The bit number specified in R6X0B100000000 not in range 0-15!"),
        Refuses("R2X0BFFFFFFFF", "RIZUZ> ParseE() The bit number specified in R2X0BFFFFFFFF not in range 0-7!"),
        Refuses("R4X0BFFFFFFFF", "RIZUZ> ParseE() No special digital gate for type 4 allowed"),
        Refuses("S8X4BFFFFFFFF", "RIZUZ> ParseE() No special digital gate for type 8 allowed"),
    };
    for (const ParseCase& c : cases) ExpectParses(PARSE, c);
}

// ParseE is meant to be reached through PARSE only; handed anything that is
// not an upper-cased extended address, it gives PARSE's answer.
TEST(ParseExtended, AnythingElseGetsTheAnswerOfParse) {
    ExpectParses(ParseE, Accepts("r30048", {0, TypeWord(3, R), 2, 8, 16}));
    ExpectParses(ParseE, Accepts("r3x4b8", {0, TypeWord(3, R), 2, 8, 16}));
    ExpectParses(ParseE, Refuses("Q1X0", "RIZUZ> PARSE() First char in gate address string should be S, R or D"));
    ExpectParses(ParseE, Refuses("D12", "RIZUZ> Illegal DIAG byte offset in gate 'D12'"));
}

}  // namespace
}  // namespace rizuz::testing
