// PARSE on short S and R addresses and on D addresses: the locator of every
// accepted address, the one message of every refused one.
#include "parse_harness.hpp"

namespace rizuz::testing {
namespace {

constexpr std::int32_t R = 'R';
constexpr std::int32_t S = 'S';
constexpr std::int32_t TypeWord(std::int32_t memoryType, std::int32_t area) { return (memoryType << 16) + area; }

TEST(ParseShort, AcceptedAddressesYieldTheirLocators) {
    const ParseCase cases[] = {
        Accepts("R1000", {0, TypeWord(1, R), 0, -1, 8}),
        Accepts("r10017", {0, TypeWord(1, R), 1, 7, 8}),  // upper-cased in the host's text
        Accepts("R1000F", {0, TypeWord(1, R), 0, 15, 8}),
        Accepts("R2999", {0, TypeWord(2, R), 999, -1, 8}),
        Accepts("S3010", {0, TypeWord(3, S), 5, -1, 16}),
        Accepts("R30048", {0, TypeWord(3, R), 2, 8, 16}),
        Accepts("R4008", {0, TypeWord(4, R), 2, -1, 32}),
        Accepts("S50077", {0, TypeWord(5, S), 7, 7, 8}),
        Accepts("R6012F", {0, TypeWord(6, R), 6, 15, 16}),
        Accepts("r6012f", {0, TypeWord(6, R), 6, 15, 16}),
        Accepts("S7996", {0, TypeWord(7, S), 249, -1, 32}),
        Accepts("S8004", {0, TypeWord(8, S), 1, -1, 32}),
        // A string keeps width 16 and its offset undivided; its length is not PARSE's business.
        Accepts("SS01012", {0, TypeWord(5, S), 10, -1, 16}),
        Accepts("rs999", {0, TypeWord(5, R), 999, -1, 16}),
        // Nothing after position 5 is looked at.
        Accepts("R10001ZZ", {0, TypeWord(1, R), 0, 1, 8}),
        // D gates: width keeps what the record held.
        Accepts("D00310", {3, 16, 10, -1, kUntouched}),
        Accepts("D003107", {3, 16, 10, 7, kUntouched}),
        Accepts("d003100", {3, 16, 10, 0, kUntouched}),
        Accepts("D25599", {255, 16, 99, -1, kUntouched}),
    };
    for (const ParseCase& c : cases) ExpectParses(PARSE, c);
}

TEST(ParseShort, RefusedAddressesLogTheirOneMessage) {
    const ParseCase cases[] = {
        Refuses("Q1000", "RIZUZ> PARSE() First char in gate address string should be S, R or D"),
        Refuses("", "RIZUZ> PARSE() First char in gate address string should be S, R or D"),
        Refuses("R9000", "RIZUZ> PARSE() Incorrect data type 9 (Allowed 1..8,S)"),
        Refuses("s0000", "RIZUZ> PARSE() Incorrect data type 0 (Allowed 1..8,S)"),
        Refuses("R1A00", "RIZUZ> PARSE() Illegal non decimal char in index."),
        Refuses("R10", "RIZUZ> PARSE() Illegal non decimal char in index."),
        Refuses("R1", "RIZUZ> PARSE() Illegal non decimal char in index."),
        Refuses("R5001G", "RIZUZ> The bit number specified is not hexadecimal character!"),
        Refuses("R4000G", "RIZUZ> The bit number specified is not hexadecimal character!"),
        Refuses("R3011", "RIZUZ> Gate type 3, should have even offset value"),
        Refuses("S6001", "RIZUZ> Gate type 6, should have even offset value"),
        Refuses("R4010", "RIZUZ> Gate type 4, should have be devideable by 4"),
        Refuses("R80022", "RIZUZ> Gate type 8, should have be devideable by 4"),
        Refuses("R70101", "RIZUZ> Gate type 7, should have be devideable by 4"),  // alignment comes first
        Refuses("R70081", "RIZUZ> No special digital gate for type 7 allowed"),
        Refuses("R40000", "RIZUZ> No special digital gate for type 4 allowed"),
        Refuses("R20058", "RIZUZ> The bit number specified in R20058 not in range 0-7!"),
        Refuses("r5005f", "RIZUZ> The bit number specified in R5005F not in range 0-7!"),
        // D addresses
        Refuses("D256000", "RIZUZ> Illegal plc address of DIAG gate 'D256000'"),
        Refuses("D-01100", "RIZUZ> Illegal plc address of DIAG gate 'D-01100'"),
        Refuses("DX0010", "RIZUZ> Illegal plc address of DIAG gate 'DX0010'"),
        Refuses("D", "RIZUZ> Illegal plc address of DIAG gate 'D'"),
        Refuses("D12", "RIZUZ> Illegal DIAG byte offset in gate 'D12'"),
        Refuses("D003", "RIZUZ> Illegal DIAG byte offset in gate 'D003'"),
        Refuses("D003-1", "RIZUZ> Illegal DIAG byte offset in gate 'D003-1'"),
        Refuses("d003ab", "RIZUZ> Illegal DIAG byte offset in gate 'D003AB'"),
        Refuses("D003108", "RIZUZ> Illegal bit number in DIAG gate 'D003108'"),
        Refuses("D00310A", "RIZUZ> Illegal bit number in DIAG gate 'D00310A'"),
        Refuses("D0031", "RIZUZ> Illegal length of in DIAG gate address string 'D0031'"),
        Refuses("D0031012", "RIZUZ> Illegal length of in DIAG gate address string 'D0031012'"),
    };
    for (const ParseCase& c : cases) ExpectParses(PARSE, c);
}

}  // namespace
}  // namespace rizuz::testing
