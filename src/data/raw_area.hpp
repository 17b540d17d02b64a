// How the raw image functions (17, 18) turn the host's area selector into a
// locator the exchange understands: one-byte elements, offsets in bytes.
#pragma once

#include <cstdint>

#include "rizuz/memory_type.hpp"

namespace rizuz {

inline constexpr std::int32_t kInputSelector = 'I';  // exactly 0x49; any other value is the output area
inline constexpr MemoryType kRawElementType = kSigned8;
inline constexpr std::int32_t kRawWidth = 8;

}  // namespace rizuz
