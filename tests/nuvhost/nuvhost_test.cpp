// nuvhost's own pieces: the host's value formats, the scenario language and
// the decoders whose output a commissioning engineer reads.
#include <gtest/gtest.h>

#include <bit>
#include <cstring>

#include "call_trace.hpp"
#include "dp_diagnosis.hpp"
#include "scenario_parser.hpp"
#include "scenario_runner.hpp"
#include "text.hpp"
#include "tokenizer.hpp"
#include "value_format.hpp"

namespace nuvhost {
namespace {

std::vector<Token> Tokens(const std::string& text) {
    std::vector<Token> tokens;
    std::string error;
    EXPECT_TRUE(Tokenize(text, tokens, error)) << error;
    return tokens;
}

Value Parsed(const ValueShape& shape, const std::string& text) {
    Value value;
    std::string error;
    EXPECT_TRUE(ParseValue(shape, Tokens(text), value, error)) << text << ": " << error;
    return value;
}

// A single gate's value in the host's four-byte buffer, both ways.
struct SingleCase {
    std::int32_t gateType;
    const char* text;
    std::array<std::uint8_t, 4> buffer;  // W0 then W1, little-endian
};

class SingleGateValue : public ::testing::TestWithParam<SingleCase> {};

TEST_P(SingleGateValue, LiesInTheHostBufferAsTheHostReadsIt) {
    const SingleCase& c = GetParam();
    const ValueShape shape = ShapeOfGate(c.gateType);
    std::vector<std::uint8_t> buffer(BufferSize(shape), 0xEE);
    Encode(shape, Parsed(shape, c.text), buffer);
    EXPECT_EQ(std::vector<std::uint8_t>(buffer.begin(), buffer.begin() + 4),
              std::vector<std::uint8_t>(c.buffer.begin(), c.buffer.end()));
    EXPECT_EQ(Show(shape, Decode(shape, buffer)), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    HostFormats, SingleGateValue,
    ::testing::Values(SingleCase{1, "-1234", {0x00, 0x00, 0x2E, 0xFB}},    // signed 16 in W1, W0 zero
                      SingleCase{0, "5000", {0x00, 0x00, 0x88, 0x13}},     // unsigned 16 in W1
                      SingleCase{2, "65535", {0x00, 0x00, 0xFF, 0xFF}},
                      SingleCase{6, "1", {0x00, 0x00, 0x01, 0x00}},        // digital in W1
                      SingleCase{3, "21.5", {0x00, 0x00, 0xAC, 0x41}},     // IEEE 41AC0000, all four bytes
                      SingleCase{3, "-3", {0x00, 0x00, 0x40, 0xC0}},
                      SingleCase{4, "-100", {0x9C, 0xFF, 0xFF, 0xFF}},     // one little-endian 32-bit value
                      SingleCase{5, "4294967295", {0xFF, 0xFF, 0xFF, 0xFF}},
                      SingleCase{5, "305419896", {0x78, 0x56, 0x34, 0x12}}));

TEST(ValueFormat, StringsAreNulTerminatedTexts) {
    const ValueShape shape = ShapeOfGate(7);
    std::vector<std::uint8_t> buffer(BufferSize(shape), 0xEE);
    Encode(shape, Parsed(shape, "\"PUMP \\\"1\\\"\""), buffer);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(buffer.data())), "PUMP \"1\"");
    EXPECT_EQ(Show(shape, Decode(shape, buffer)), "\"PUMP \\\"1\\\"\"");
}

TEST(ValueFormat, BlockElementsFollowTheMemoryTypeOfTheAddress) {
    struct Case {
        const char* address;
        Element read;
        Element write;
    } cases[] = {
        {"R1000", Element::Unsigned8, Element::Unsigned8}, {"R2000", Element::Signed8, Element::Signed8},
        {"R3032", Element::Signed16, Element::Signed16},   {"s6x10", Element::Unsigned16, Element::Unsigned16},
        {"R4000", Element::Signed32, Element::Signed32},   {"R7000", Element::Unsigned32, Element::Unsigned32},
        {"R8040", Element::Float, Element::Float},         {"D00300", Element::DiagByte, Element::DiagByte},
        {"R30001", Element::BitWord, Element::Bit},        {"S6X2B3", Element::BitWord, Element::Bit},
        {"R10003", Element::Unsigned8, Element::Unsigned8},  // a bit on a byte type: still bytes
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShapeOfBlock(c.address, 4, Direction::Read).element, c.read) << c.address;
        EXPECT_EQ(ShapeOfBlock(c.address, 4, Direction::Write).element, c.write) << c.address;
    }
}

TEST(ValueFormat, BlocksArePackedArraysInTheirOwnWidths) {
    const ValueShape shape = ShapeOfBlock("R3032", 3, Direction::Write);
    std::vector<std::uint8_t> buffer(BufferSize(shape), 0);
    Encode(shape, Parsed(shape, "[258, -1, 256]"), buffer);
    EXPECT_EQ(std::vector<std::uint8_t>(buffer.begin(), buffer.begin() + 6),
              (std::vector<std::uint8_t>{0x02, 0x01, 0xFF, 0xFF, 0x00, 0x01}));
    EXPECT_EQ(Show(shape, Decode(shape, buffer)), "[258, -1, 256]");

    const ValueShape floats = ShapeOfBlock("R8040", 2, Direction::Write);
    Encode(floats, Parsed(floats, "1 -3"), buffer);  // brackets may be left out
    EXPECT_EQ(Show(floats, Decode(floats, buffer)), "[1, -3]");
}

TEST(ValueFormat, BitBlocksAreWrittenSixteenValuesToAWord) {
    const ValueShape shape = ShapeOfBlock("S30001", 16, Direction::Write);
    std::vector<std::uint8_t> buffer(BufferSize(shape), 0xEE);
    Encode(shape, Parsed(shape, "[1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1]"), buffer);
    EXPECT_EQ(buffer[0], 0x01);  // value k is bit k of word k / 16: the host word 0x8001
    EXPECT_EQ(buffer[1], 0x80);
}

TEST(ValueFormat, RefusesValuesThatDoNotFit) {
    struct Case {
        ValueShape shape;
        const char* text;
        const char* reason;
    } cases[] = {
        {ShapeOfGate(1), "40000", "out of range -32768 to 32767"},
        {ShapeOfGate(0), "-1", "out of range 0 to 65535"},
        {ShapeOfGate(3), "twelve", "not a floating-point number"},
        {ShapeOfGate(7), "PUMP", "double quotes"},
        {ShapeOfGate(4), "1 2", "one value expected"},
        {ShapeOfBlock("R3000", 3, Direction::Write), "[1, 2]", "the block has 3 elements, the list has 2"},
        {ShapeOfBlock("R3000", 2, Direction::Write), "[1, 2", "must end with ]"},
        {ShapeOfBytes(0), "1FF", "not a byte in hexadecimal"},
    };
    for (const Case& c : cases) {
        Value value;
        std::string error;
        EXPECT_FALSE(ParseValue(c.shape, Tokens(c.text), value, error)) << c.text;
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.text << ": " << error;
    }
}

TEST(Text, FloatsAreShownInTheirShortestExactForm) {
    EXPECT_EQ(FormatFloat(21.5f), "21.5");
    EXPECT_EQ(FormatFloat(0.1f), "0.1");
    // What 0.1 becomes after a trip through the Siemens format, which lacks the last bit.
    EXPECT_EQ(FormatFloat(std::bit_cast<float>(0x3DCCCCCCu)), "0.099999994");
    EXPECT_EQ(FormatFloat(-3.0f), "-3");
}

TEST(Text, WildcardsMatchRunsAndSingleCharacters) {
    EXPECT_TRUE(WildcardMatch("RIZUZ> version compiled on ??? ?? ???? and time ??:??:??",
                              "RIZUZ> version compiled on Aug  2 1999 and time 14:44:50"));
    EXPECT_TRUE(WildcardMatch("*rc = -5", "RIZUZ> DevExchangeIO in send request failed rc = -5"));
    EXPECT_TRUE(WildcardMatch("a*b*c", "a-b-b-c"));
    EXPECT_FALSE(WildcardMatch("*rc = -5", "RIZUZ> DevExchangeIO in send request failed rc = -50"));
    EXPECT_FALSE(WildcardMatch("??", "a"));
}

// --- the scenario language --------------------------------------------------

std::vector<SyntaxError> Errors(const std::string& text) {
    Scenario scenario;
    std::vector<SyntaxError> errors;
    ParseScenario(text, "t.scn", scenario, errors);
    return errors;
}

TEST(ScenarioParser, NamesTheLineAndTheFaultOfEveryWrongLine) {
    struct Case {
        const char* text;
        int line;
        const char* reason;
    } cases[] = {
        {"reed x", 1, "unknown request 'reed'"},
        {"# comment\n\nread level", 3, "no gate or block named 'level'"},
        {"gate level R3000 signd16", 1, "'signd16' is not a host gate type"},
        {"gate 1st R3000 signed16", 1, "is not a gate name"},
        {"gate g R3000 signed16\nwrite g 99999", 2, "out of range -32768 to 32767"},
        {"init timeout 15", 1, "steps of 10 ms"},
        {"expect done", 1, "must follow a request"},
        {"card loopback on\nexpect done", 2, "must follow a request"},
        {"check expect log 16 \"x\"", 1, "class is 8 (detail) or 32 (event)"},
        {"check expect log 32 x", 1, "usage: expect log"},
        {"check expect 5", 1, "unknown expectation '5'"},
        {"gate s SS01010 string\nwrite s \"open", 2, "not closed"},
        {"card input 4095 01 02", 1, "beyond the 4096-byte area"},
        {"card fail DevFlyAway -5", 1, "not one of the eleven card calls"},
        {"card fail ExchangeIO 0", 1, "needs another"},
        {"raw read input 0", 1, "usage: raw read"},
        {"card slave 256 diag 00", 1, "out of range 0 to 255"},
        {"card slave 3 present", 1, "usage: card slave"},
        {"raw write middle 0 01", 1, "'input' or 'output'"},
        {"gate f R8000 float\nread f expect 1.5 within -1", 2, "not negative"},
    };
    for (const Case& c : cases) {
        const auto errors = Errors(c.text);
        ASSERT_EQ(errors.size(), 1u) << c.text;
        EXPECT_EQ(errors[0].line, c.line) << c.text;
        EXPECT_NE(errors[0].message.find(c.reason), std::string::npos) << c.text << ": " << errors[0].message;
    }
}

TEST(ScenarioParser, AttachesExpectationsToTheRequestBeforeThem) {
    Scenario scenario;
    std::vector<SyntaxError> errors;
    ASSERT_TRUE(ParseScenario("gate level R3000 signed16   # the level\n"
                              "read level expect -1234\n"
                              "  expect log 8 like \"RIZUZ> Info: *\"\n"
                              "card fail DevExchangeIO -5 times 2 after 1\n"
                              "expect card output 100 FB 2E\n"
                              "read level expect failed\n"
                              "card slave 7 absent\n",
                              "t.scn", scenario, errors));
    ASSERT_EQ(scenario.steps.size(), 6u);
    EXPECT_EQ(scenario.steps[0].source, "gate level R3000 signed16");
    const Step& read = scenario.steps[1];
    ASSERT_EQ(read.expectations.size(), 2u);
    EXPECT_EQ(read.expectations[0].kind, Expectation::Kind::Value);
    EXPECT_EQ(read.expectations[0].value.numbers, std::vector<double>{-1234});
    EXPECT_EQ(read.expectations[1].kind, Expectation::Kind::Log);
    EXPECT_EQ(read.expectations[1].line, 3);
    EXPECT_TRUE(read.expectations[1].pattern);
    const auto& fail = std::get<CardFail>(scenario.steps[2].action);
    EXPECT_EQ(fail.call, softcard::Call::ExchangeIO);
    EXPECT_EQ(fail.nth, 2u);
    EXPECT_EQ(fail.times, 2u);
    EXPECT_TRUE(std::holds_alternative<CardCheck>(scenario.steps[3].action));
    EXPECT_EQ(scenario.steps[4].expectations[0].result, 2);
    EXPECT_TRUE(std::get<CardSlaveDiag>(scenario.steps[5].action).absent);
}

// --- what the engineer reads ------------------------------------------------

TEST(DpDiagnosis, DecodesTheStandardBytesAndShowsTheRestInHex) {
    const std::uint8_t bytes[] = {0x08, 0x0C, 0x00, 0x02, 0x47, 0x11, 0x03, 0x2A, 0x00};
    const auto lines = DecodeDpDiagnosis(bytes);
    const auto has = [&](const std::string& text) {
        return std::find(lines.begin(), lines.end(), text) != lines.end();
    };
    EXPECT_TRUE(has("byte 0  station status 1 = 0x08"));
    EXPECT_TRUE(has("      bit 3 = 1  Ext_Diag: extended diagnostic data follow"));
    EXPECT_TRUE(has("      bit 0 = 0  Station_Non_Existent: the slave does not answer"));
    EXPECT_TRUE(has("      bit 3 = 1  WD_On: the response watchdog is on"));
    EXPECT_TRUE(has("byte 3  master address = 2"));
    EXPECT_TRUE(has("bytes 4-5  ident number = 0x4711"));
    EXPECT_TRUE(has("bytes 6-8  extended diagnosis = 03 2A 00"));
    EXPECT_EQ(DecodeDpDiagnosis(std::span<const std::uint8_t>(bytes, 6)).back(), "no extended diagnosis");
}

TEST(Banner, CodePage437BoxCharactersBecomeUnicode) {
    const char banner[] = "\r\n\xDA\xC4\xC4\xBF  \r\n\xB3 AB \xB3\r\n\xC0\xC4\xC4\xD9\r\n";
    EXPECT_EQ(BannerLines(banner), (std::vector<std::string>{"\u250C\u2500\u2500\u2510  ", "\u2502 AB \u2502",
                                                             "\u2514\u2500\u2500\u2518"}));
}

TEST(CallTrace, OneLineWithArgumentsAndBytes) {
    softcard::CallRecord record{softcard::Call::ExchangeIO, 0, {0, 0, 0, 20, 2, 1, 1000}, 0, {}, {0x12, 0x34}};
    EXPECT_EQ(FormatCardCall(record),
              "DevExchangeIO(card=0, sendOffset=0, sendSize=0, sendData=null, receiveOffset=20, receiveSize=2, "
              "receiveData=buffer, timeout=1000) = 0  received 12 34");
}

}  // namespace
}  // namespace nuvhost
