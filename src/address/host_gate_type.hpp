// The host's value type of a gate (the GateDefinition's gateType) and the rule
// that pairs it with what the address names.
#pragma once

#include <cstdint>

#include "rizuz/records.hpp"

namespace rizuz {

enum class HostGateType : std::int32_t {
    Unsigned16 = 0,
    Signed16 = 1,
    Unsigned16Second = 2,  // a second unsigned 16-bit type of the host's; paired like Unsigned16
    FloatingPoint = 3,
    Signed32 = 4,
    Unsigned32 = 5,
    Digital = 6,
    String = 7,
};

constexpr bool IsGateType(std::int32_t gateType, HostGateType expected) {
    return gateType == static_cast<std::int32_t>(expected);
}

// Whether the host's gate type suits a parsed S, R or D gate that is not a
// string gate. Logs the "ZUROD>" refusal and returns kRefused when it does not.
NuvResult CheckHostGateType(const char* address, const GateLocator& locator, std::int32_t gateType);

}  // namespace rizuz
