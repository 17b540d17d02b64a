// Every one of the 2^32 bit patterns through both float conversions, checked
// against a model written straight from the conversion rules in plain
// arithmetic: signed values, division and remainder instead of masks and
// shifts. Built optimised in every configuration; no framework, so that the
// loop is all there is.
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <thread>

#include "data/conversions.hpp"

namespace {

constexpr std::uint32_t kTwo22 = 4194304;     // 2^22
constexpr std::uint32_t kTwo23 = 8388608;     // 2^23
constexpr std::uint32_t kTwo24 = 16777216;    // 2^24
constexpr std::uint32_t kTwo31 = 2147483648;  // 2^31

// v modulo 256 for -256 <= v < 768.
std::uint32_t Modulo256(std::int32_t v) { return static_cast<std::uint32_t>(v + 256) % 256; }

// Siemens: exponent e (8-bit two's complement) on top of mantissa m (24-bit
// two's complement fraction, binary point right of the sign). Conditional
// expressions rather than early returns keep the checking loop vectorisable.
std::uint32_t ModelSiemensToIeee(std::uint32_t pattern) {
    const auto exponentByte = static_cast<std::int32_t>(pattern / kTwo24);
    const std::int32_t e = exponentByte >= 128 ? exponentByte - 256 : exponentByte;
    const auto mantissaField = static_cast<std::int32_t>(pattern % kTwo24);
    const std::int32_t m = mantissaField >= static_cast<std::int32_t>(kTwo23)
                               ? mantissaField - static_cast<std::int32_t>(kTwo24)
                               : mantissaField;
    const bool negative = m < 0;
    // -1.0 is read as -0.5 one exponent up.
    const std::int32_t exponent = m == -static_cast<std::int32_t>(kTwo23) ? e + 1 : e;
    const auto magnitude = static_cast<std::uint32_t>(negative ? -m : m);  // 1 .. 2^23
    const std::uint32_t fraction = (magnitude % kTwo22) * 2;  // bits 22 and 23 dropped, a zero appended
    const std::uint32_t biased = Modulo256(exponent + 126);
    const std::uint32_t ieee = (negative ? kTwo31 : 0) + biased * kTwo23 + fraction;
    return m == 0 ? 0 : ieee;
}

std::uint32_t ModelIeeeToSiemens(std::uint32_t pattern) {
    const bool negative = pattern >= kTwo31;
    const std::uint32_t biased = (pattern / kTwo23) % 256;
    const std::uint32_t fraction = pattern % kTwo23;
    const std::uint32_t e = Modulo256(static_cast<std::int32_t>(biased) - 126);
    const std::uint32_t magnitude = kTwo22 + fraction / 2;  // leading one, last fraction bit truncated
    const std::uint32_t mantissa = negative ? kTwo24 - magnitude : magnitude;
    return pattern == 0 ? 0x80000000u : e * kTwo24 + mantissa;
}

// Mismatches among the 65536 patterns from `first` on, one direction per
// loop: branch-free with a fixed trip count, so that the compiler may
// vectorise them.
__attribute__((noinline)) std::uint32_t ReadMismatchesIn(std::uint32_t first) {
    std::uint32_t mismatches = 0;
    for (std::uint32_t lower = 0; lower < 65536; ++lower) {
        const std::uint32_t pattern = first + lower;
        mismatches += rizuz::SiemensToIeee(pattern) != ModelSiemensToIeee(pattern) ? 1u : 0u;
    }
    return mismatches;
}

__attribute__((noinline)) std::uint32_t WriteMismatchesIn(std::uint32_t first) {
    std::uint32_t mismatches = 0;
    for (std::uint32_t lower = 0; lower < 65536; ++lower) {
        const std::uint32_t pattern = first + lower;
        mismatches += rizuz::IeeeToSiemens(pattern) != ModelIeeeToSiemens(pattern) ? 1u : 0u;
    }
    return mismatches;
}

void ReportFirstMismatches(std::uint32_t upperHalf, unsigned& reported) {
    for (std::uint32_t lower = 0; lower < 65536 && reported < 10; ++lower) {
        const std::uint32_t pattern = upperHalf << 16 | lower;
        const std::uint32_t toIeee = rizuz::SiemensToIeee(pattern);
        const std::uint32_t toSiemens = rizuz::IeeeToSiemens(pattern);
        if (toIeee == ModelSiemensToIeee(pattern) && toSiemens == ModelIeeeToSiemens(pattern)) continue;
        ++reported;
        std::printf("%08" PRIX32 ": SiemensToIeee %08" PRIX32 " (model %08" PRIX32 "), IeeeToSiemens %08" PRIX32
                    " (model %08" PRIX32 ")\n",
                    pattern, toIeee, ModelSiemensToIeee(pattern), toSiemens, ModelIeeeToSiemens(pattern));
    }
}

// Mismatches over the upper halves [from, to), the first few printed.
std::uint64_t CheckRange(std::uint32_t from, std::uint32_t to, unsigned& reported) {
    std::uint64_t mismatches = 0;
    for (std::uint32_t upperHalf = from; upperHalf < to; ++upperHalf) {
        const std::uint32_t found = ReadMismatchesIn(upperHalf << 16) + WriteMismatchesIn(upperHalf << 16);
        if (found != 0) ReportFirstMismatches(upperHalf, reported);
        mismatches += found;
    }
    return mismatches;
}

}  // namespace

// Two halves on two threads: the machine has two cores.
int main() {
    unsigned reportedLow = 0;
    unsigned reportedHigh = 0;
    std::uint64_t low = 0;
    std::thread lowHalf([&] { low = CheckRange(0, 0x8000, reportedLow); });
    const std::uint64_t high = CheckRange(0x8000, 0x10000, reportedHigh);
    lowHalf.join();
    std::printf("%" PRIu64 " mismatches over all 2^32 patterns\n", low + high);
    return low + high == 0 ? 0 : 1;
}
