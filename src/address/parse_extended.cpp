// ParseE: the extended form of S and R addresses, 'X' in position 2. A decimal
// offset of any length follows; then, for a numeric type, nothing or 'B' and a
// hexadecimal bit number of any length; for a string, 'L' and its length. The
// locator is the one the short form gives for the same gate.
#include "address/address_text.hpp"
#include "address/memory_type_rules.hpp"
#include "address/parse.hpp"
#include "common/scan.hpp"
#include "rizuz/host_log.hpp"

namespace rizuz {
namespace {

constexpr unsigned kOffsetPosition = 3;
constexpr char kBitMark = 'B';
constexpr char kLengthMark = 'L';

bool OnlyCharacters(const char* text, bool (*accepted)(char)) {
    for (; *text != '\0'; ++text) {
        if (!accepted(*text)) return false;
    }
    return true;
}

// Step 2: the character after the offset digits decides the form. Returns
// false after logging the refusal.
bool FormFits(const char* address, const char* mark, const MemoryTypeRule& type) {
    const bool numericForm = *mark == '\0' || *mark == kBitMark;
    if (type.isString ? *mark == kLengthMark : numericForm) return true;
    if (type.isString && numericForm) {
        err(kEvent, "RIZUZ> ParseE() Missing 'L..' in %s", address);
    } else if (*mark == kLengthMark) {
        err(kEvent, "RIZUZ> ParseE() 'L..' in %s are only for strings", address);
    } else {
        err(kEvent, "RIZUZ> ParseE() Illegal char. on position %u in %s", static_cast<unsigned>(mark - address),
            address);
    }
    return false;
}

}  // namespace

NuvResult ParseE(const DriverRequest& request) {
    char* const address = DefinitionAddress(request);
    const bool extended = address != nullptr && (address[0] == 'S' || address[0] == 'R') && IsExtendedAddress(address);
    const MemoryTypeRule* const type = extended ? MemoryTypeRuleOf(address[1]) : nullptr;
    // PARSE sends nothing else here; anything else gets PARSE's own answer.
    if (type == nullptr) return PARSE(request);

    const scan::Unsigned32 written = scan::Decimal16(address + kOffsetPosition);
    if (!written.ok) {
        err(kEvent, "RIZUZ> ParseE() Illegal non decimal char in index.");
        return kRefused;
    }
    // A blank or a sign in front of the digits, which the conversion passes
    // over, is caught here as an illegal character.
    const char* mark = address + kOffsetPosition;
    while (scan::IsDigit(*mark)) ++mark;
    if (!FormFits(address, mark, *type)) return kRefused;

    bool hasBit = false;
    std::uint32_t bit = 0;
    if (*mark == kBitMark) {
        const scan::Unsigned32 converted = scan::Hex(mark + 1);
        if (!converted.ok) {
            err(kEvent, "RIZUZ> ParseE() Incorrect bit number in");
            return kRefused;
        }
        if (!OnlyCharacters(mark + 1, scan::IsUpperHexDigit)) {
            err(kEvent, "RIZUZ> ParseE() No information after bit number accepted");
            return kRefused;
        }
        hasBit = true;
        bit = converted.value;
    } else if (*mark == kLengthMark && !OnlyCharacters(mark + 1, scan::IsDigit)) {
        err(kEvent, "RIZUZ> ParseE() No information after string length accepted");
        return kRefused;
    }

    if (written.value % type->alignment != 0) {
        if (type->alignment == 2) {
            err(kEvent, "RIZUZ> ParseE() Gate type %c, should have even offset value", static_cast<int>(type->character));
        } else {
            err(kEvent, "RIZUZ> ParseE() Gate type %c, should have be devideable by 4",
                static_cast<int>(type->character));
        }
        return kRefused;
    }
    if (hasBit && !type->takesBit) {
        err(kEvent, "RIZUZ> ParseE() No special digital gate for type %c allowed", static_cast<int>(type->character));
        return kRefused;
    }
    // The bit number is compared unsigned: "FFFFFFFF" (or more digits, which
    // saturate there) would read as -1 in the signed word, the mark of a gate
    // without a bit, and must not pass as a whole-element gate.
    if (hasBit && bit > type->highestBit) {
        if (type->highestBit < 8) {
            err(kEvent, "RIZUZ> ParseE() The bit number specified in %s not in range 0-7!", address);
        } else {
            err(kEvent, "RIZUZ> ParseE() The bit number specified in %s not in range 0-15!", address);
        }
        return kRefused;
    }
    DefinitionOf(request)->locator =
        GateLocator{0, MakeTypeWord(type->value, address[0]), static_cast<std::int32_t>(written.value / type->alignment),
                    hasBit ? static_cast<std::int32_t>(bit) : kNoBit, type->width};
    return kDone;
}

}  // namespace rizuz
