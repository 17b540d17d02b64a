#include "reference_formats.hpp"

#include <bit>
#include <cmath>

namespace rizuz::testing::reference {

void Put16(std::uint8_t* at, std::uint16_t value, bool swap) {
    const auto high = static_cast<std::uint8_t>(value >> 8);
    const auto low = static_cast<std::uint8_t>(value);
    at[0] = swap ? high : low;
    at[1] = swap ? low : high;
}

std::uint16_t Get16(const std::uint8_t* at, bool swap) {
    return swap ? static_cast<std::uint16_t>((at[0] << 8) | at[1]) : static_cast<std::uint16_t>((at[1] << 8) | at[0]);
}

void Put32(std::uint8_t* at, std::uint32_t value, bool swap) {
    for (unsigned i = 0; i < 4; ++i) {
        const unsigned shift = 8 * (swap ? 3 - i : i);
        at[i] = static_cast<std::uint8_t>(value >> shift);
    }
}

std::uint32_t Get32(const std::uint8_t* at, bool swap) {
    std::uint32_t value = 0;
    for (unsigned i = 0; i < 4; ++i) {
        const unsigned shift = 8 * (swap ? 3 - i : i);
        value |= static_cast<std::uint32_t>(at[i]) << shift;
    }
    return value;
}

std::uint32_t SiemensFromIeee(std::uint32_t ieeeBits) {
    if (ieeeBits == 0) return 0x80000000u;  // zero: exponent -128, mantissa 0
    const double value = std::bit_cast<float>(ieeeBits);
    int exponent = 0;
    const double fraction = std::frexp(std::fabs(value), &exponent);                // 0.5 <= fraction < 1
    auto magnitude = static_cast<std::uint32_t>(std::ldexp(fraction, 23));          // truncated
    const std::uint32_t mantissa = value < 0 ? (0x1000000u - magnitude) & 0xFFFFFFu : magnitude;
    return (static_cast<std::uint32_t>(exponent & 0xFF) << 24) | mantissa;
}

std::uint32_t IeeeFromSiemens(std::uint32_t siemens) {
    std::uint32_t mantissa = siemens & 0xFFFFFFu;
    if (mantissa == 0) return 0;
    std::uint32_t exponent = siemens >> 24;
    const bool negative = (mantissa & 0x800000u) != 0;
    if (negative) {
        if (mantissa == 0x800000u) exponent = (exponent + 1) & 0xFFu;  // -1.0 is -0.5 one exponent up
        mantissa = (0x1000000u - mantissa) & 0xFFFFFFu;  // its magnitude; 0x800000 stays
    }
    const std::uint32_t fraction = (mantissa & 0x3FFFFFu) << 1;
    const std::uint32_t biased = (exponent + 126u) & 0xFFu;  // the byte as two's complement, plus 126
    return (negative ? 0x80000000u : 0u) | (biased << 23) | fraction;
}

std::uint32_t RandomFloatBits(std::mt19937& rng, bool convert) {
    if (!convert) return static_cast<std::uint32_t>(rng());
    if (rng() % 16 == 0) return 0;  // +0.0
    const std::uint32_t sign = static_cast<std::uint32_t>(rng() & 1u) << 31;
    const std::uint32_t biased = 1 + static_cast<std::uint32_t>(rng() % 253);  // 1 to 253
    return sign | (biased << 23) | (static_cast<std::uint32_t>(rng()) & 0x7FFFFFu);
}

}  // namespace rizuz::testing::reference
