// What position 1 of an S or R address selects, and the rules the short and the
// extended form share for it: the stored memory type, how the written offset is
// aligned and stored, which bit numbers a special digital gate may name.
#pragma once

#include <cstdint>

#include "rizuz/memory_type.hpp"
#include "rizuz/records.hpp"

namespace rizuz {

inline constexpr std::int32_t kNoBit = -1;
// A string keeps width 16 (not the 8 of its element), so its offset counts
// 16-bit words; the readers and writers rely on that.
inline constexpr std::int32_t kStringWidth = 16;

struct MemoryTypeRule {
    char character;            // position 1 of the address
    std::uint32_t value;       // the stored memory type
    std::uint32_t alignment;   // the written offset must be a multiple of it and is stored divided by it
    bool takesBit;             // whether a bit number may follow at all
    std::uint32_t highestBit;  // the highest bit number allowed when it may
    bool isString;
    std::int32_t width;        // the locator's width
};

// Numeric offsets are byte positions stored in units of the element, so the
// alignment is the element's size.
inline constexpr MemoryTypeRule kMemoryTypeRules[] = {
    {'1', kBool, TypeSize[kBool], true, 15, false, TypeBits[kBool]},
    {'2', kSigned8, TypeSize[kSigned8], true, 7, false, TypeBits[kSigned8]},
    {'3', kSigned16, TypeSize[kSigned16], true, 15, false, TypeBits[kSigned16]},
    {'4', kSigned32, TypeSize[kSigned32], false, 0, false, TypeBits[kSigned32]},
    {'5', kUnsigned8, TypeSize[kUnsigned8], true, 7, false, TypeBits[kUnsigned8]},
    {'6', kUnsigned16, TypeSize[kUnsigned16], true, 15, false, TypeBits[kUnsigned16]},
    {'7', kUnsigned32, TypeSize[kUnsigned32], false, 0, false, TypeBits[kUnsigned32]},
    {'8', kFloat32, TypeSize[kFloat32], false, 0, false, TypeBits[kFloat32]},
    {'S', kUnsigned8, 1, false, 0, true, kStringWidth},
};

// The rule of an (upper-case) memory type character; null for any other.
constexpr const MemoryTypeRule* MemoryTypeRuleOf(char character) {
    for (const MemoryTypeRule& rule : kMemoryTypeRules) {
        if (rule.character == character) return &rule;
    }
    return nullptr;
}

// The locator of an accepted S or R gate, the same in both forms: the written
// offset stored in units of the element, the bit number or kNoBit.
constexpr GateLocator AreaGateLocator(const MemoryTypeRule& type, char area, std::uint32_t written, std::int32_t bit) {
    return GateLocator{0, MakeTypeWord(type.value, area), static_cast<std::int32_t>(written / type.alignment), bit,
                       type.width};
}

}  // namespace rizuz
