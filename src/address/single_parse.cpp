// Function 3: the definition of a single gate. The address is parsed into the
// locator the host keeps, then the gate is checked against the host's gate type.
#include "address/address_text.hpp"
#include "address/host_gate_type.hpp"
#include "address/parse.hpp"
#include "address/string_length.hpp"
#include "common/scan.hpp"
#include "host/handlers.hpp"
#include "rizuz/host_log.hpp"

namespace rizuz {
namespace {

constexpr unsigned kShortStringAddressLength = 7;  // "SS" + offset + two length digits
constexpr unsigned kLongestShortAddress = 8;
// A single read or write moves a string through a 512-byte staging buffer; the
// host's string gates hold at most this many characters.
constexpr std::uint32_t kLongestString = 80;

// The short form has fixed fields; the extended form has no length limit.
bool HasLegalLength(const char* address) {
    if (IsExtendedAddress(address)) return true;
    const unsigned length = scan::BoundedLength(address, kLongestShortAddress + 1);
    if (IsStringGateAddress(address)) {
        if (length == kShortStringAddressLength) return true;
        err(kEvent, "RIZUZ> Illegal definition for string gate in gate address string.");
        return false;
    }
    if (length <= kLongestShortAddress) return true;
    err(kEvent, "RIZUZ> Illegal definition of gate address string.");
    return false;
}

NuvResult CheckStringGate(const char* address, std::int32_t gateType) {
    if (!IsGateType(gateType, HostGateType::String)) {
        err(kEvent, "RIZUZ>String gates (typed 'S') must be of Palvex string gate type!");
        return kRefused;
    }
    // Without a length the reads and writes would have no size to move.
    std::uint32_t length = 0;
    if (!StringGateLength(address, length)) {
        err(kEvent, "RIZUZ> String gate '%s' has no length", address);
        return kRefused;
    }
    if (length > kLongestString) {
        err(kEvent, "RIZUZ>String gates must be smaller than 80 characters!");
        return kRefused;
    }
    return kDone;
}

}  // namespace

NuvResult SingleParse(const DriverRequest& request) {
    char* const address = DefinitionAddress(request);
    // Upper-cased first so the length rules see the letters the parser sees.
    UpperCaseInPlace(address);
    const char* const shown = ShownAddress(address);

    if (!HasLegalLength(shown)) return kRefused;
    if (PARSE(request) != kDone) {
        err(kEvent, "RIZUZ> SingleParse() failed for '%s'", shown);
        return kRefused;
    }
    const GateDefinition& definition = *DefinitionOf(request);
    if (IsStringGateAddress(shown)) return CheckStringGate(shown, definition.gateType);
    return CheckHostGateType(shown, definition.locator, definition.gateType);
}

}  // namespace rizuz
