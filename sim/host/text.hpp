// Small text helpers nuvhost shares between its parser, its output and its
// commands: numbers in decimal or 0x-hexadecimal, hex byte lists, floats in
// their shortest exact form, quoted strings and wildcard patterns.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace nuvhost {

// A signed decimal ("-1234") or hexadecimal ("0x1F") integer, nothing else.
std::optional<std::int64_t> ParseInteger(std::string_view text);
// A decimal floating-point number ("21.5", "-3", "1e3").
std::optional<float> ParseFloat(std::string_view text);
// One byte in hexadecimal: "0A", "a", or "0x0A".
std::optional<std::uint8_t> ParseHexByte(std::string_view text);

// The shortest decimal text that reads back as the same float.
std::string FormatFloat(float value);
// "01 02 0A"
std::string HexBytes(std::span<const std::uint8_t> bytes);
// 0x prefixed, zero-padded to `digits`.
std::string Hex(std::uint32_t value, int digits);
// Double-quoted, with \" \\ and \xNN for bytes that are not printable ASCII.
std::string Quote(std::string_view text);

// '*' matches any run of characters, '?' any one character.
bool WildcardMatch(std::string_view pattern, std::string_view text);

bool EqualsIgnoringCase(std::string_view a, std::string_view b);

}  // namespace nuvhost
