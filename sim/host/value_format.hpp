// The host's value formats, as a scenario writes them and nuvhost shows them.
//
// A single gate's value buffer is four bytes, W0 then W1: 16-bit, 8-bit,
// BOOL and digital values stand in W1; 32-bit integers and IEEE floats fill
// all four bytes, little-endian; a string gate's buffer holds a NUL-terminated
// text. The host reads a single gate's buffer by the gate type it defined the
// gate with. A block is a packed array of its elements in their own widths, by
// the memory type of its address. Raw images are plain bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "tokenizer.hpp"

namespace nuvhost {

enum class Format {
    Unsigned16,  // W1
    Signed16,    // W1
    Digital,     // W1: 0 or 1 (any 16-bit number may be written)
    Float,       // 32-bit IEEE
    Signed32,
    Unsigned32,
    Word32,      // a gate type the host does not know: the four bytes as they are
    String,
    Block,
    Bytes,       // raw images
};

enum class Element {
    None,
    Unsigned8,   // memory types 1 (BOOL byte) and 5
    Signed8,     // memory type 2
    Unsigned16,  // memory type 6
    Signed16,    // memory type 3
    Unsigned32,  // memory type 7
    Signed32,    // memory type 4
    Float,       // memory type 8
    DiagByte,    // a D block: the slave's diagnostic bytes, shown in hex
    BitWord,     // a bit block as read: whole 16-bit words, shown in hex
    Bit,         // a bit block as written: one 0 or 1 per element, packed 16 to a word
};

struct ValueShape {
    Format format = Format::Word32;
    Element element = Element::None;  // blocks only
    std::size_t count = 1;            // block elements, or raw bytes
};

struct Value {
    std::vector<double> numbers;      // single numbers and block elements
    std::string text;                 // strings
    std::vector<std::uint8_t> bytes;  // raw images
};

// A single gate's value is read by the gate type it was defined with.
ValueShape ShapeOfGate(std::int32_t gateType);
// A block's elements follow the memory type of its address; a bit block is
// written as single bits but read as whole words.
enum class Direction { Read, Write };
ValueShape ShapeOfBlock(const std::string& address, std::int32_t count, Direction direction);
ValueShape ShapeOfBytes(std::size_t count);

// Bytes of host buffer a value of this shape needs.
std::size_t BufferSize(const ValueShape& shape);

// Reads a value from all the tokens; false with a reason when they do not fit the shape.
bool ParseValue(const ValueShape& shape, std::span<const Token> tokens, Value& value, std::string& error);

// Lays the value out in the host's buffer (at least BufferSize bytes).
void Encode(const ValueShape& shape, const Value& value, std::span<std::uint8_t> buffer);
// Takes the value out of the host's buffer.
Value Decode(const ValueShape& shape, std::span<const std::uint8_t> buffer);

// "-1234", "21.5", "\"PUMP 1\"", "[1, 2, -1]", "FB 2E 13 88".
std::string Show(const ValueShape& shape, const Value& value);
// The buffer as the host holds it, for single gates: "W0 0x0000 W1 0xFB2E" or "0x41AC0000".
std::string ShowBuffer(const ValueShape& shape, std::span<const std::uint8_t> buffer);

// Equal values; numbers may differ by `tolerance`.
bool Matches(const Value& expected, const Value& actual, double tolerance);

}  // namespace nuvhost
