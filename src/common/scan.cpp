#include "common/scan.hpp"

namespace rizuz::scan {
namespace {

struct Sign {
    bool negative;
    const char* next;
    unsigned used;  // characters of the width the sign took
};

const char* SkipSpace(const char* text) {
    while (IsSpace(*text)) ++text;
    return text;
}

Sign ReadSign(const char* text, unsigned width) {
    if ((*text == '+' || *text == '-') && width != 1) return {*text == '-', text + 1, 1};
    return {false, text, 0};
}

}  // namespace

Unsigned32 Decimal(const char* text, unsigned width) {
    const char* p = SkipSpace(text);
    const Sign sign = ReadSign(p, width);
    if (width == 1 && (*p == '+' || *p == '-')) return {false, 0, p};
    p = sign.next;
    unsigned budget = width == kNoWidth ? ~0u : width - sign.used;
    std::uint32_t value = 0;
    const char* first = p;
    while (budget > 0 && IsDigit(*p)) {
        value = value * 10u + static_cast<std::uint32_t>(*p - '0');  // wraps modulo 2^32 by design
        ++p;
        --budget;
    }
    if (p == first) return {false, 0, text};
    if (sign.negative) value = 0u - value;
    return {true, value, p};
}

Unsigned32 Decimal16(const char* text, unsigned width) {
    Unsigned32 result = Decimal(text, width);
    result.value &= 0xFFFFu;
    return result;
}

Unsigned32 Hex(const char* text) {
    const char* p = SkipSpace(text);
    const Sign sign = ReadSign(p, kNoWidth);
    p = sign.next;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && IsHexDigit(p[2])) p += 2;
    const char* first = p;
    std::uint64_t value = 0;
    while (IsHexDigit(*p)) {
        if (value <= 0xFFFFFFFFu) value = value * 16u + HexDigitValue(*p);
        ++p;
    }
    if (p == first) return {false, 0, text};
    std::uint32_t clipped = value > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<std::uint32_t>(value);
    if (sign.negative) clipped = 0u - clipped;
    return {true, clipped, p};
}

Signed32 SignedDecimal(const char* text) {
    const char* p = SkipSpace(text);
    const Sign sign = ReadSign(p, kNoWidth);
    p = sign.next;
    const char* first = p;
    std::int64_t magnitude = 0;
    constexpr std::int64_t kCap = std::int64_t{1} << 32;  // beyond every 32-bit result
    while (IsDigit(*p)) {
        if (magnitude < kCap) magnitude = magnitude * 10 + (*p - '0');
        ++p;
    }
    if (p == first) return {false, 0, text};
    std::int64_t value = sign.negative ? -magnitude : magnitude;
    if (value > INT32_MAX) value = INT32_MAX;
    if (value < INT32_MIN) value = INT32_MIN;
    return {true, static_cast<std::int32_t>(value), p};
}

unsigned BoundedLength(const char* text, unsigned limit) {
    unsigned length = 0;
    while (length < limit && text[length] != '\0') ++length;
    return length;
}

}  // namespace rizuz::scan
