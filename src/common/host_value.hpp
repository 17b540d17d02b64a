// The host's value buffer of a single gate: four bytes seen as two 16-bit
// words, W0 first and W1 second, or as one little-endian 32-bit value. The
// buffer is the host's and may sit at any address, so it is only ever
// accessed byte-wise.
#pragma once

#include <cstdint>
#include <cstring>

namespace rizuz::host_value {

inline constexpr unsigned kW0 = 0;
inline constexpr unsigned kW1 = 2;

inline std::uint16_t LoadWord(const void* value, unsigned at) {
    const auto* p = static_cast<const std::uint8_t*>(value) + at;
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

inline void StoreWord(void* value, unsigned at, std::uint16_t word) {
    auto* p = static_cast<std::uint8_t*>(value) + at;
    p[0] = static_cast<std::uint8_t>(word);
    p[1] = static_cast<std::uint8_t>(word >> 8);
}

inline std::uint32_t Load32(const void* value) {
    const auto* p = static_cast<const std::uint8_t*>(value);
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

inline void Store32(void* value, std::uint32_t v) {
    auto* p = static_cast<std::uint8_t*>(value);
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
    p[2] = static_cast<std::uint8_t>(v >> 16);
    p[3] = static_cast<std::uint8_t>(v >> 24);
}

}  // namespace rizuz::host_value
