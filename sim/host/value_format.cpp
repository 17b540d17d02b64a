#include "value_format.hpp"

#include <algorithm>
#include <bit>
#include <cmath>
#include <optional>

#include "common/host_value.hpp"
#include "text.hpp"

namespace nuvhost {

namespace hv = rizuz::host_value;

namespace {

struct Range {
    std::int64_t low;
    std::int64_t high;
};

struct ElementInfo {
    Element element;
    unsigned size;  // bytes in the host's buffer
    Range range;
};

constexpr ElementInfo kElements[] = {
    {Element::None, 0, {0, 0}},
    {Element::Unsigned8, 1, {0, 255}},
    {Element::Signed8, 1, {-128, 127}},
    {Element::Unsigned16, 2, {0, 65535}},
    {Element::Signed16, 2, {-32768, 32767}},
    {Element::Unsigned32, 4, {0, 4294967295LL}},
    {Element::Signed32, 4, {-2147483648LL, 2147483647LL}},
    {Element::Float, 4, {0, 0}},
    {Element::DiagByte, 1, {0, 255}},
    {Element::BitWord, 2, {0, 65535}},
    {Element::Bit, 0, {0, 1}},  // packed: see BufferSize
};

const ElementInfo& InfoOf(Element element) { return kElements[static_cast<unsigned>(element)]; }

// The range a single gate's number must lie in.
Range RangeOf(Format format) {
    switch (format) {
        case Format::Unsigned16: return {0, 65535};
        case Format::Signed16: return {-32768, 32767};
        case Format::Digital: return {0, 65535};
        case Format::Signed32: return {-2147483648LL, 2147483647LL};
        case Format::Unsigned32: return {0, 4294967295LL};
        default: return {-2147483648LL, 4294967295LL};
    }
}

bool IsFloat(const ValueShape& shape) {
    return shape.format == Format::Float || (shape.format == Format::Block && shape.element == Element::Float);
}

std::optional<double> ParseNumber(const Token& token, bool isFloat, Range range, bool digital, std::string& error) {
    if (token.kind != Token::Kind::Word) {
        error = "expected a number, found " + (token.kind == Token::Kind::Text ? Quote(token.text) : token.text);
        return std::nullopt;
    }
    if (isFloat) {
        const auto value = ParseFloat(token.text);
        if (!value) error = "'" + token.text + "' is not a floating-point number";
        return value ? std::optional<double>(*value) : std::nullopt;
    }
    if (digital) {
        if (EqualsIgnoringCase(token.text, "on") || EqualsIgnoringCase(token.text, "true")) return 1.0;
        if (EqualsIgnoringCase(token.text, "off") || EqualsIgnoringCase(token.text, "false")) return 0.0;
    }
    const auto value = ParseInteger(token.text);
    if (!value) {
        error = "'" + token.text + "' is not a whole number (decimal, or hexadecimal with 0x)";
        return std::nullopt;
    }
    if (*value < range.low || *value > range.high) {
        error = token.text + " is out of range " + std::to_string(range.low) + " to " + std::to_string(range.high);
        return std::nullopt;
    }
    return static_cast<double>(*value);
}

// Strips one pair of brackets around a list, if there is one.
bool ListItems(std::span<const Token> tokens, std::span<const Token>& items, std::string& error) {
    items = tokens;
    if (!tokens.empty() && tokens.front().kind == Token::Kind::Open) {
        if (tokens.size() < 2 || tokens.back().kind != Token::Kind::Close) {
            error = "a list opened with [ must end with ]";
            return false;
        }
        items = tokens.subspan(1, tokens.size() - 2);
    }
    for (const Token& item : items) {
        if (item.kind == Token::Kind::Open || item.kind == Token::Kind::Close) {
            error = "lists cannot be nested";
            return false;
        }
    }
    return true;
}

std::uint32_t Bits(double number, bool isFloat) {
    if (isFloat) return std::bit_cast<std::uint32_t>(static_cast<float>(number));
    return static_cast<std::uint32_t>(static_cast<std::int64_t>(number));
}

void PutLittleEndian(std::uint8_t* at, std::uint32_t value, unsigned size) {
    for (unsigned i = 0; i < size; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t GetLittleEndian(const std::uint8_t* at, unsigned size) {
    std::uint32_t value = 0;
    for (unsigned i = 0; i < size; ++i) value |= static_cast<std::uint32_t>(at[i]) << (8 * i);
    return value;
}

double ElementNumber(Element element, std::uint32_t raw) {
    switch (element) {
        case Element::Signed8: return static_cast<std::int8_t>(raw);
        case Element::Signed16: return static_cast<std::int16_t>(raw);
        case Element::Signed32: return static_cast<std::int32_t>(raw);
        case Element::Float: return std::bit_cast<float>(raw);
        default: return raw;
    }
}

std::string ShowElement(Element element, double number) {
    switch (element) {
        case Element::Float: return FormatFloat(static_cast<float>(number));
        case Element::DiagByte: return Hex(static_cast<std::uint32_t>(number), 2);
        case Element::BitWord: return Hex(static_cast<std::uint32_t>(number), 4);
        default: return std::to_string(static_cast<std::int64_t>(number));
    }
}

}  // namespace

ValueShape ShapeOfGate(std::int32_t gateType) {
    switch (gateType) {
        case 0:
        case 2: return {Format::Unsigned16};
        case 1: return {Format::Signed16};
        case 3: return {Format::Float};
        case 4: return {Format::Signed32};
        case 5: return {Format::Unsigned32};
        case 6: return {Format::Digital};
        case 7: return {Format::String};
        default: return {Format::Word32};
    }
}

ValueShape ShapeOfBlock(const std::string& address, std::int32_t count, Direction direction) {
    const auto upper = [&](std::size_t at) {
        const char c = at < address.size() ? address[at] : '\0';
        return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    };
    ValueShape shape{Format::Block, Element::Unsigned8, count > 0 ? static_cast<std::size_t>(count) : 0u};
    if (upper(0) == 'D') {
        shape.element = Element::DiagByte;
        return shape;
    }
    // A bit number: position 5 of the short form, or a 'B' after the offset of the extended form.
    bool hasBit = false;
    if (upper(2) == 'X') {
        std::size_t at = 3;
        while (upper(at) >= '0' && upper(at) <= '9') ++at;
        hasBit = upper(at) == 'B';
    } else {
        hasBit = address.size() > 5;
    }
    switch (upper(1)) {
        case '2': shape.element = Element::Signed8; break;
        case '3': shape.element = Element::Signed16; break;
        case '4': shape.element = Element::Signed32; break;
        case '6': shape.element = Element::Unsigned16; break;
        case '7': shape.element = Element::Unsigned32; break;
        case '8': shape.element = Element::Float; break;
        default: shape.element = Element::Unsigned8; break;  // 1 (BOOL bytes), 5, and anything refused
    }
    if (hasBit && (shape.element == Element::Signed16 || shape.element == Element::Unsigned16)) {
        shape.element = direction == Direction::Write ? Element::Bit : Element::BitWord;
    }
    return shape;
}

ValueShape ShapeOfBytes(std::size_t count) { return {Format::Bytes, Element::None, count}; }

std::size_t BufferSize(const ValueShape& shape) {
    std::size_t bytes = 4;
    if (shape.format == Format::Block) {
        bytes = shape.element == Element::Bit ? 2 * ((shape.count + 15) / 16) : InfoOf(shape.element).size * shape.count;
    } else if (shape.format == Format::Bytes) {
        bytes = shape.count;
    }
    // Room to spare: the driver decides how much it writes, not nuvhost.
    return std::max<std::size_t>(bytes + 64, 1024);
}

bool ParseValue(const ValueShape& shape, std::span<const Token> tokens, Value& value, std::string& error) {
    value = Value{};
    switch (shape.format) {
        case Format::String:
            if (tokens.size() != 1 || tokens[0].kind != Token::Kind::Text) {
                error = "a string value is written in double quotes, as in \"PUMP 1\"";
                return false;
            }
            if (tokens[0].text.find('\0') != std::string::npos) {
                error = "a string value cannot hold a NUL byte";
                return false;
            }
            value.text = tokens[0].text;
            return true;
        case Format::Bytes: {
            std::span<const Token> items;
            if (!ListItems(tokens, items, error)) return false;
            for (const Token& item : items) {
                const auto byte = item.kind == Token::Kind::Word ? ParseHexByte(item.text) : std::nullopt;
                if (!byte) {
                    error = "'" + item.text + "' is not a byte in hexadecimal (00 to FF)";
                    return false;
                }
                value.bytes.push_back(*byte);
            }
            return true;
        }
        case Format::Block: {
            std::span<const Token> items;
            if (!ListItems(tokens, items, error)) return false;
            if (items.size() != shape.count) {
                error = "the block has " + std::to_string(shape.count) + " elements, the list has " +
                        std::to_string(items.size());
                return false;
            }
            for (const Token& item : items) {
                const auto number = ParseNumber(item, IsFloat(shape), InfoOf(shape.element).range, false, error);
                if (!number) return false;
                value.numbers.push_back(*number);
            }
            return true;
        }
        default:
            if (tokens.size() != 1) {
                error = tokens.empty() ? "a value is missing" : "one value expected, found " + std::to_string(tokens.size());
                return false;
            }
            const auto number =
                ParseNumber(tokens[0], IsFloat(shape), RangeOf(shape.format), shape.format == Format::Digital, error);
            if (!number) return false;
            value.numbers.push_back(*number);
            return true;
    }
}

void Encode(const ValueShape& shape, const Value& value, std::span<std::uint8_t> buffer) {
    switch (shape.format) {
        case Format::String:
            std::fill(buffer.begin(), buffer.end(), 0);
            std::copy_n(value.text.begin(), std::min(value.text.size(), buffer.size() - 1), buffer.begin());
            return;
        case Format::Bytes:
            std::copy_n(value.bytes.begin(), std::min(value.bytes.size(), buffer.size()), buffer.begin());
            return;
        case Format::Block:
            if (shape.element == Element::Bit) {
                std::fill_n(buffer.begin(), std::min(buffer.size(), 2 * ((value.numbers.size() + 15) / 16)), 0);
                for (std::size_t k = 0; k < value.numbers.size(); ++k) {
                    if (value.numbers[k] != 0) buffer[2 * (k / 16) + (k % 16) / 8] |= static_cast<std::uint8_t>(1u << (k % 8));
                }
                return;
            }
            for (std::size_t k = 0; k < value.numbers.size(); ++k) {
                const unsigned size = InfoOf(shape.element).size;
                if ((k + 1) * size > buffer.size()) break;
                PutLittleEndian(buffer.data() + k * size, Bits(value.numbers[k], IsFloat(shape)), size);
            }
            return;
        case Format::Unsigned16:
        case Format::Signed16:
        case Format::Digital:
            hv::StoreWord(buffer.data(), hv::kW0, 0);
            hv::StoreWord(buffer.data(), hv::kW1, static_cast<std::uint16_t>(Bits(value.numbers.at(0), false)));
            return;
        default:
            hv::Store32(buffer.data(), Bits(value.numbers.at(0), IsFloat(shape)));
            return;
    }
}

Value Decode(const ValueShape& shape, std::span<const std::uint8_t> buffer) {
    Value value;
    switch (shape.format) {
        case Format::String: {
            const auto end = std::find(buffer.begin(), buffer.end(), std::uint8_t{0});
            value.text.assign(buffer.begin(), end);
            return value;
        }
        case Format::Bytes:
            value.bytes.assign(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(std::min(shape.count, buffer.size())));
            return value;
        case Format::Block: {
            const unsigned size = InfoOf(shape.element).size;
            if (shape.element == Element::Bit) {
                for (std::size_t k = 0; k < shape.count && 2 * (k / 16) + 1 < buffer.size(); ++k) {
                    const unsigned byte = buffer[2 * (k / 16) + (k % 16) / 8];
                    value.numbers.push_back((byte >> (k % 8)) & 1u);
                }
                return value;
            }
            for (std::size_t k = 0; k < shape.count && (k + 1) * size <= buffer.size(); ++k) {
                value.numbers.push_back(ElementNumber(shape.element, GetLittleEndian(buffer.data() + k * size, size)));
            }
            return value;
        }
        case Format::Unsigned16:
        case Format::Digital:
            value.numbers.push_back(hv::LoadWord(buffer.data(), hv::kW1));
            return value;
        case Format::Signed16:
            value.numbers.push_back(static_cast<std::int16_t>(hv::LoadWord(buffer.data(), hv::kW1)));
            return value;
        case Format::Float:
            value.numbers.push_back(std::bit_cast<float>(hv::Load32(buffer.data())));
            return value;
        case Format::Signed32:
            value.numbers.push_back(static_cast<std::int32_t>(hv::Load32(buffer.data())));
            return value;
        default:
            value.numbers.push_back(hv::Load32(buffer.data()));
            return value;
    }
}

std::string Show(const ValueShape& shape, const Value& value) {
    switch (shape.format) {
        case Format::String: return Quote(value.text);
        case Format::Bytes: return value.bytes.empty() ? "(no bytes)" : HexBytes(value.bytes);
        case Format::Block: {
            std::string text = "[";
            for (std::size_t k = 0; k < value.numbers.size(); ++k) {
                if (k > 0) text += ", ";
                text += ShowElement(shape.element, value.numbers[k]);
            }
            return text + "]";
        }
        case Format::Float: return value.numbers.empty() ? "?" : FormatFloat(static_cast<float>(value.numbers[0]));
        case Format::Word32: return value.numbers.empty() ? "?" : Hex(static_cast<std::uint32_t>(value.numbers[0]), 8);
        default: return value.numbers.empty() ? "?" : std::to_string(static_cast<std::int64_t>(value.numbers[0]));
    }
}

std::string ShowBuffer(const ValueShape& shape, std::span<const std::uint8_t> buffer) {
    switch (shape.format) {
        case Format::Unsigned16:
        case Format::Signed16:
        case Format::Digital:
            return "W0 " + Hex(hv::LoadWord(buffer.data(), hv::kW0), 4) + " W1 " +
                   Hex(hv::LoadWord(buffer.data(), hv::kW1), 4);
        case Format::Float:
        case Format::Signed32:
        case Format::Unsigned32:
        case Format::Word32:
            return Hex(hv::Load32(buffer.data()), 8);
        default:
            return {};
    }
}

bool Matches(const Value& expected, const Value& actual, double tolerance) {
    if (expected.text != actual.text || expected.bytes != actual.bytes) return false;
    if (expected.numbers.size() != actual.numbers.size()) return false;
    for (std::size_t k = 0; k < expected.numbers.size(); ++k) {
        if (!(std::fabs(expected.numbers[k] - actual.numbers[k]) <= tolerance)) return false;
    }
    return true;
}

}  // namespace nuvhost
