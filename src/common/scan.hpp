// Exact, bounded versions of the formatted-input conversions the driver's
// texts are read with ("%03u", "%02u", "%01u", "%03hu", "%hu", "%X", "%d").
//
// Each conversion skips leading white space, takes an optional sign, reads
// digits up to its width (the sign counts towards the width, the skipped white
// space does not) and succeeds when it read at least one digit. None reads past
// the text's terminating NUL and none has undefined behaviour on overflow:
//   - unsigned conversions keep the value modulo 2^32 (modulo 2^16 for "%hu"),
//     a minus sign negates modulo that range, so "-1" is out of every range;
//   - "%X" saturates at 0xFFFFFFFF, as the host's 32-bit library does;
//   - "%d" saturates at the 32-bit limits, as the host's 32-bit library does.
#pragma once

#include <cstdint>

namespace rizuz::scan {

inline constexpr unsigned kNoWidth = 0;

struct Unsigned32 {
    bool ok;              // at least one digit was read
    std::uint32_t value;  // meaningful only when ok
    const char* end;      // first character not consumed
};

struct Signed32 {
    bool ok;
    std::int32_t value;
    const char* end;
};

constexpr bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }
constexpr bool IsUpperHexDigit(char c) { return IsDigit(c) || (c >= 'A' && c <= 'F'); }
constexpr bool IsHexDigit(char c) { return IsUpperHexDigit(c) || (c >= 'a' && c <= 'f'); }
constexpr char ToUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
// The value of one hexadecimal digit of either case; meaningful only when IsHexDigit(c).
constexpr unsigned HexDigitValue(char c) {
    return IsDigit(c) ? static_cast<unsigned>(c - '0') : static_cast<unsigned>(ToUpper(c) - 'A' + 10);
}

// "%u" with the given width ("%02u": width 2); kNoWidth reads every digit.
Unsigned32 Decimal(const char* text, unsigned width = kNoWidth);
// "%hu"/"%03hu": as Decimal, kept modulo 65536.
Unsigned32 Decimal16(const char* text, unsigned width = kNoWidth);
// "%X": hexadecimal digits of either case, an optional 0x prefix, no width.
Unsigned32 Hex(const char* text);
// "%d": a signed decimal number, no width.
Signed32 SignedDecimal(const char* text);

// Length of a NUL-terminated text, looking at no more than `limit` characters.
// Returns `limit` when no NUL lies within them.
unsigned BoundedLength(const char* text, unsigned limit);

}  // namespace rizuz::scan
