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

// Step 3: what follows the mark. Returns false after logging the refusal.
struct BitNumber {
    bool given;
    std::uint32_t value;  // as read: compared unsigned, never through the signed `bit` word
};

bool ReadAfterMark(const char* mark, BitNumber& bit) {
    bit = {false, 0};
    if (*mark == kBitMark) {
        const scan::Unsigned32 converted = scan::Hex(mark + 1);
        if (!converted.ok) {
            err(kEvent, "RIZUZ> ParseE() Incorrect bit number in");
            return false;
        }
        if (!OnlyCharacters(mark + 1, scan::IsUpperHexDigit)) {
            err(kEvent, "RIZUZ> ParseE() No information after bit number accepted");
            return false;
        }
        bit = {true, converted.value};
    } else if (*mark == kLengthMark && !OnlyCharacters(mark + 1, scan::IsDigit)) {
        // The length itself is read wherever it is needed; here only its characters count.
        err(kEvent, "RIZUZ> ParseE() No information after string length accepted");
        return false;
    }
    return true;
}

// Steps 5 and 6: the written offset and the bit number against the memory type.
bool FitsMemoryType(const char* address, std::uint32_t written, const BitNumber& bit, const MemoryTypeRule& type) {
    const int typeCharacter = static_cast<int>(type.character);
    if (written % type.alignment != 0) {
        if (type.alignment == 2) {
            err(kEvent, "RIZUZ> ParseE() Gate type %c, should have even offset value", typeCharacter);
        } else {
            err(kEvent, "RIZUZ> ParseE() Gate type %c, should have be devideable by 4", typeCharacter);
        }
        return false;
    }
    if (bit.given && !type.takesBit) {
        err(kEvent, "RIZUZ> ParseE() No special digital gate for type %c allowed", typeCharacter);
        return false;
    }
    // Unsigned: "FFFFFFFF" (or more digits, which saturate there) would read
    // as -1 in the signed word, the mark of a gate without a bit, and must not
    // pass as a whole-element gate.
    if (bit.given && bit.value > type.highestBit) {
        if (type.highestBit < 8) {
            err(kEvent, "RIZUZ> ParseE() The bit number specified in %s not in range 0-7!", address);
        } else {
            err(kEvent, "RIZUZ> ParseE() The bit number specified in %s not in range 0-15!", address);
        }
        return false;
    }
    return true;
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
    BitNumber bit{};
    if (!FormFits(address, mark, *type) || !ReadAfterMark(mark, bit) ||
        !FitsMemoryType(address, written.value, bit, *type)) {
        return kRefused;
    }
    const std::int32_t bitWord = bit.given ? static_cast<std::int32_t>(bit.value) : kNoBit;
    DefinitionOf(request)->locator = AreaGateLocator(*type, address[0], written.value, bitWord);
    return kDone;
}

}  // namespace rizuz
