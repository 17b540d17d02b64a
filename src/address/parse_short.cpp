// The short form of S and R addresses: area, memory type, three offset digits
// in positions 2 to 4 and, for the numeric types, one optional hexadecimal bit
// character in position 5. Nothing after position 5 is looked at; for a string
// gate positions 5 and 6 hold its length, read where the length is needed.
#include "address/parse_forms.hpp"
#include "common/scan.hpp"
#include "rizuz/host_log.hpp"

namespace rizuz {
namespace {

constexpr unsigned kOffsetPosition = 2;
constexpr unsigned kOffsetDigits = 3;
constexpr unsigned kBitPosition = 5;

}  // namespace

NuvResult ParseShortAddress(const char* address, const MemoryTypeRule& type, GateLocator& locator) {
    // One by one, so the end of a short text stops the test before anything past it is read.
    for (unsigned position = kOffsetPosition; position < kOffsetPosition + kOffsetDigits; ++position) {
        if (!scan::IsDigit(address[position])) {
            err(kEvent, "RIZUZ> PARSE() Illegal non decimal char in index.");
            return kRefused;
        }
    }
    const std::uint32_t written = scan::Decimal16(address + kOffsetPosition, kOffsetDigits).value;

    const char bitCharacter = address[kBitPosition];
    const bool hasBit = !type.isString && bitCharacter != '\0';
    if (hasBit && !scan::IsUpperHexDigit(bitCharacter)) {
        err(kEvent, "RIZUZ> The bit number specified is not hexadecimal character!");
        return kRefused;
    }
    if (written % type.alignment != 0) {
        if (type.alignment == 2) {
            err(kEvent, "RIZUZ> Gate type %c, should have even offset value", static_cast<int>(type.character));
        } else {
            err(kEvent, "RIZUZ> Gate type %c, should have be devideable by 4", static_cast<int>(type.character));
        }
        return kRefused;
    }
    if (hasBit && !type.takesBit) {
        err(kEvent, "RIZUZ> No special digital gate for type %d allowed", static_cast<int>(type.value));
        return kRefused;
    }
    const std::uint32_t bit = hasBit ? scan::HexDigitValue(bitCharacter) : 0;
    if (hasBit && bit > type.highestBit) {
        // One hexadecimal character never exceeds 15, so only the 8-bit types get here.
        err(kEvent, "RIZUZ> The bit number specified in %s not in range 0-7!", address);
        return kRefused;
    }
    locator = AreaGateLocator(type, address[0], written, hasBit ? static_cast<std::int32_t>(bit) : kNoBit);
    return kDone;
}

}  // namespace rizuz
