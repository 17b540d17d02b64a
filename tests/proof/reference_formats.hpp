// The card's and the host's data formats, written down a second time for the
// soak's reference model: byte order on the card, the Siemens floating-point
// format, and the host's single-gate value words. Independent of the driver's
// code on purpose; where the two disagree, one of them is wrong.
#pragma once

#include <cstdint>
#include <random>

namespace rizuz::testing::reference {

// A 16-bit or 32-bit value stored on the card: least significant byte first,
// or most significant first in Motorola format (swap on).
void Put16(std::uint8_t* at, std::uint16_t value, bool swap);
std::uint16_t Get16(const std::uint8_t* at, bool swap);
void Put32(std::uint8_t* at, std::uint32_t value, bool swap);
std::uint32_t Get32(const std::uint8_t* at, bool swap);

// IEEE single -> Siemens, computed arithmetically (frexp): exact for +0.0 and
// every normal value whose biased exponent is 1 to 253, the values a host
// writes. The mantissa keeps 23 bits, so the IEEE fraction's last bit is lost.
std::uint32_t SiemensFromIeee(std::uint32_t ieeeBits);
// Siemens -> IEEE single, for any 32-bit pattern as the card may hold it:
// zero mantissa gives +0.0, the mantissa's magnitude below its leading one
// becomes the fraction (its last bit 0), the exponent wraps modulo 256.
std::uint32_t IeeeFromSiemens(std::uint32_t siemens);

// A float a host writes: with conversion, +0.0 or a normal value of either
// sign in the range the Siemens format holds; without, any bit pattern.
std::uint32_t RandomFloatBits(std::mt19937& rng, bool convert);

// What reading back a converted float gives: the same pattern less the last
// fraction bit (+0.0 stays +0.0).
inline std::uint32_t WithoutLastFractionBit(std::uint32_t ieeeBits) { return ieeeBits & ~1u; }

}  // namespace rizuz::testing::reference
