// Byte order and float format of the card's process data.
//
// With `swap` on, 16- and 32-bit values lie on the card most significant byte
// first (Motorola order); otherwise least significant first, as the host keeps
// them. With `convert` on, floats lie on the card in the Siemens 32-bit format:
// an 8-bit two's complement exponent e on top of a 24-bit two's complement
// mantissa m, the value m / 2^23 * 2^e. Everything here works on bit patterns
// with integer operations only and is branch-free, so the block loops built on
// it stay simple enough to vectorise.
#pragma once

#include <cstdint>

#include "common/host_value.hpp"

namespace rizuz {

// The init file's SWAP and CONVERT switch on only with exactly 1.
constexpr bool FlagOn(std::uint8_t flag) { return flag == 1; }

constexpr std::uint16_t Swap16(std::uint16_t value) {
    return static_cast<std::uint16_t>((value << 8) | (value >> 8));
}

// The four bytes read most significant first. Stored back as the host stores a
// 32-bit value, the bytes come out in reverse order.
constexpr std::uint32_t Reverse32(const std::uint8_t* bytes) {
    return (static_cast<std::uint32_t>(bytes[0]) << 24) | (static_cast<std::uint32_t>(bytes[1]) << 16) |
           (static_cast<std::uint32_t>(bytes[2]) << 8) | static_cast<std::uint32_t>(bytes[3]);
}

namespace siemens {
inline constexpr std::uint32_t kMantissaMask = 0xFFFFFFu;
inline constexpr std::uint32_t kMantissaSign = 0x800000u;     // also the mantissa -1.0
inline constexpr std::uint32_t kMantissaModulus = 0x1000000u;  // 2^24: two's complement of 24 bits
inline constexpr std::uint32_t kLeadingOne = 0x400000u;        // bit 22 of a normalised magnitude
inline constexpr std::uint32_t kExponentBias = 126;            // IEEE biased exponent less Siemens exponent
inline constexpr std::uint32_t kZero = 0x80000000u;            // exponent -128, mantissa 0
}  // namespace siemens

// Siemens pattern to IEEE single pattern (the read direction). Exact for every
// normalised value with an exponent from -125 to 127; outside it the biased
// exponent wraps modulo 256. Input is not renormalised: bit 22 of the magnitude
// is taken to be the leading one whatever it holds.
constexpr std::uint32_t SiemensToIeee(std::uint32_t pattern) {
    using namespace siemens;
    const std::uint32_t mantissa = pattern & kMantissaMask;
    const std::uint32_t negative = mantissa >> 23;
    // -1.0 has no normalised magnitude of its own: read it as -0.5 * 2^(e+1).
    const std::uint32_t exponent = ((pattern >> 24) + (mantissa == kMantissaSign ? 1u : 0u)) & 0xFFu;
    const std::uint32_t magnitude = negative != 0 ? (kMantissaModulus - mantissa) & kMantissaMask : mantissa;
    const std::uint32_t fraction = (magnitude & (kLeadingOne - 1)) << 1;
    const std::uint32_t biased = (exponent + kExponentBias) & 0xFFu;
    const std::uint32_t ieee = (negative << 31) | (biased << 23) | fraction;
    return mantissa == 0 ? 0u : ieee;
}

// IEEE single pattern to Siemens pattern (the write direction). The last
// fraction bit is dropped (truncation, no rounding); outside the biased
// exponents 1 to 253 the Siemens exponent wraps modulo 256, and -0.0 and
// subnormals are taken as normal numbers.
constexpr std::uint32_t IeeeToSiemens(std::uint32_t pattern) {
    using namespace siemens;
    const std::uint32_t biased = (pattern >> 23) & 0xFFu;
    const std::uint32_t exponent = (biased - kExponentBias) & 0xFFu;
    const std::uint32_t magnitude = kLeadingOne | ((pattern & 0x7FFFFFu) >> 1);
    const std::uint32_t mantissa = (pattern >> 31) != 0 ? kMantissaModulus - magnitude : magnitude;
    const std::uint32_t siemens = (exponent << 24) | mantissa;
    return pattern == 0 ? kZero : siemens;
}

// One element between the card's bytes and a host-order value, in the order
// the conversions are applied: byte order first on the way in, last on the way out.
inline std::uint16_t LoadCard16(const std::uint8_t* card, bool swap) {
    const std::uint16_t little = host_value::LoadWord(card, 0);
    return swap ? Swap16(little) : little;
}

inline std::uint32_t LoadCard32(const std::uint8_t* card, bool swap) {
    return swap ? Reverse32(card) : host_value::Load32(card);
}

inline void StoreCard16(std::uint8_t* card, std::uint16_t value, bool swap) {
    host_value::StoreWord(card, 0, swap ? Swap16(value) : value);
}

// With `swap` the bytes go out most significant first: the Reverse32 of the
// little-endian layout.
inline void StoreCard32(std::uint8_t* card, std::uint32_t value, bool swap) {
    if (!swap) {
        host_value::Store32(card, value);
        return;
    }
    card[0] = static_cast<std::uint8_t>(value >> 24);
    card[1] = static_cast<std::uint8_t>(value >> 16);
    card[2] = static_cast<std::uint8_t>(value >> 8);
    card[3] = static_cast<std::uint8_t>(value);
}

}  // namespace rizuz
