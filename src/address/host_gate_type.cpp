#include "address/host_gate_type.hpp"

#include "address/memory_type_rules.hpp"
#include "rizuz/host_log.hpp"
#include "rizuz/memory_type.hpp"

namespace rizuz {
namespace {

constexpr std::uint32_t Accepts(HostGateType type) { return 1u << static_cast<std::int32_t>(type); }

// The refusals, one for each kind of gate; `memoryType` is the value shown by %d.
void NeedsUnsigned16ForDiag(const char* address, int) {
    err(kEvent, "ZUROD>Parser fail for gate %s, for DIAG byte use a UNSIGNED 16 bit gate type", address);
}
void NeedsDigitalForBool(const char* address, int) {
    err(kEvent, "ZUROD>Parser fail for gate %s, for memory type 1 (BOOL) use a digital gate", address);
}
void NeedsSigned16(const char* address, int memoryType) {
    err(kEvent, "ZUROD>Parser fail for gate %s, for memory type %d use a Signed 16 gate type", address, memoryType);
}
void NeedsSigned32(const char* address, int memoryType) {
    err(kEvent, "ZUROD>Parser fail for gate %s, for memory type %d use a Signed 32 gate type", address, memoryType);
}
void NeedsUnsigned16(const char* address, int memoryType) {
    err(kEvent, "ZUROD>Parser fail for gate %s, for memory type %d use a Unsigned 16 gate type", address, memoryType);
}
void NeedsUnsigned32(const char* address, int memoryType) {
    err(kEvent, "ZUROD>Parser fail for gate %s, for memory type %d use a Unsigned 32 gate type", address, memoryType);
}
void NeedsFloatingPoint(const char* address, int memoryType) {
    err(kEvent, "ZUROD>Parser fail for gate %s, for memory type %d use a Floating Point gate type", address,
        memoryType);
}

struct GateTypePairing {
    std::uint32_t accepted;  // one bit per HostGateType code
    bool alsoForBitGates;    // holds before the bit-gate rule: a BOOL needs a digital gate either way
    void (*refuse)(const char* address, int memoryType);
};

constexpr std::uint32_t kAnyUnsigned16 = Accepts(HostGateType::Unsigned16) | Accepts(HostGateType::Unsigned16Second);

// Indexed by the memory type value in the typeWord; 0 is a D gate (typeWord 16).
constexpr GateTypePairing kPairings[kMemoryTypeCount] = {
    {Accepts(HostGateType::Unsigned16), false, NeedsUnsigned16ForDiag},  // D gate
    {Accepts(HostGateType::Digital), true, NeedsDigitalForBool},         // 1 BOOL
    {Accepts(HostGateType::Signed16), false, NeedsSigned16},             // 2 signed 8-bit
    {Accepts(HostGateType::Signed16), false, NeedsSigned16},             // 3 signed 16-bit
    {Accepts(HostGateType::Signed32), false, NeedsSigned32},             // 4 signed 32-bit
    {kAnyUnsigned16, false, NeedsUnsigned16},                            // 5 unsigned 8-bit
    {kAnyUnsigned16, false, NeedsUnsigned16},                            // 6 unsigned 16-bit
    {Accepts(HostGateType::Unsigned32), false, NeedsUnsigned32},         // 7 unsigned 32-bit
    {Accepts(HostGateType::FloatingPoint), false, NeedsFloatingPoint},   // 8 float
};

// Codes outside 0..7 are refused for every gate.
constexpr bool IsAccepted(const GateTypePairing& pairing, std::int32_t gateType) {
    return gateType >= 0 && gateType < 32 && ((pairing.accepted >> gateType) & 1u) != 0;
}

}  // namespace

NuvResult CheckHostGateType(const char* address, const GateLocator& locator, std::int32_t gateType) {
    const std::uint32_t memoryType = locator.typeWord == kDiagTypeWord ? 0 : MemoryTypeOf(locator.typeWord);
    if (memoryType >= kMemoryTypeCount) return kRefused;  // the parser writes no such locator
    const GateTypePairing& pairing = kPairings[memoryType];
    const int shownType = static_cast<int>(memoryType);

    if (pairing.alsoForBitGates && !IsAccepted(pairing, gateType)) {
        pairing.refuse(address, shownType);
        return kRefused;
    }
    // Any gate naming a bit (D gates included) holds a 0 or 1: a digital gate and nothing else.
    if (locator.bit != kNoBit) {
        if (IsGateType(gateType, HostGateType::Digital)) return kDone;
        err(kEvent, "ZUROD>Parser fail for gate %s, for a special digital gate use a digital gate", address);
        return kRefused;
    }
    if (!IsAccepted(pairing, gateType)) {
        pairing.refuse(address, shownType);
        return kRefused;
    }
    return kDone;
}

}  // namespace rizuz
