// Memory types of S and R gates and the two size tables the whole driver uses.
#pragma once

#include <cstdint>

namespace rizuz {

enum MemoryType : std::uint8_t {
    kBool = 1,
    kSigned8 = 2,
    kSigned16 = 3,
    kSigned32 = 4,
    kUnsigned8 = 5,  // also the stored type of string gates
    kUnsigned16 = 6,
    kUnsigned32 = 7,
    kFloat32 = 8,
};

inline constexpr unsigned kMemoryTypeCount = 9;  // index 0 is unused

// Bytes per element, indexed by the stored memory type value.
inline constexpr std::uint8_t TypeSize[kMemoryTypeCount] = {0, 1, 1, 2, 4, 1, 2, 4, 4};
// Bits per element: the unit of a locator's offset.
inline constexpr std::uint8_t TypeBits[kMemoryTypeCount] = {0, 8, 8, 16, 32, 8, 16, 32, 32};

// A locator comes back from the host on every call and nothing guarantees it
// still holds what the parser wrote: look types up only through these.
constexpr bool IsMemoryType(std::uint32_t value) { return value >= 1 && value < kMemoryTypeCount; }
constexpr std::uint8_t TypeSizeOf(std::uint32_t value) { return IsMemoryType(value) ? TypeSize[value] : 0; }
constexpr std::uint8_t TypeBitsOf(std::uint32_t value) { return IsMemoryType(value) ? TypeBits[value] : 0; }

// typeWord of a D gate.
inline constexpr std::int32_t kDiagTypeWord = 16;

constexpr std::int32_t MakeTypeWord(std::uint32_t memoryType, char area) {
    return static_cast<std::int32_t>((memoryType << 16) + static_cast<unsigned char>(area));
}
constexpr std::uint32_t MemoryTypeOf(std::int32_t typeWord) {
    return static_cast<std::uint32_t>(typeWord) >> 16;
}
constexpr char AreaOf(std::int32_t typeWord) {
    return static_cast<char>(static_cast<std::uint32_t>(typeWord) & 0xFFu);
}

}  // namespace rizuz
