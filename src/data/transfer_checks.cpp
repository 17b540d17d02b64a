#include "data/transfer_checks.hpp"

#include "address/memory_type_rules.hpp"
#include "address/string_length.hpp"
#include "rizuz/host_log.hpp"
#include "rizuz/memory_type.hpp"

namespace rizuz {

bool AdmitTransfer(const char* function, std::int32_t count, unsigned elementSize, std::int32_t least) {
    if (count < least) {
        err(kEvent, "RIZUZ> %s() refused: count %d, at least %d needed", function, static_cast<int>(count),
            static_cast<int>(least));
        return false;
    }
    // Wide enough for any count the host can send, so nothing wraps before the comparison.
    const std::uint64_t bytes = static_cast<std::uint64_t>(count) * elementSize;
    if (bytes > kStagingBufferSize) {
        err(kEvent, "RIZUZ> %s() refused: %d x %u bytes exceed the %u-byte transfer buffer", function,
            static_cast<int>(count), elementSize, static_cast<unsigned>(kStagingBufferSize));
        return false;
    }
    return true;
}

bool AdmitMemoryType(const char* function, std::uint32_t memoryType) {
    if (IsMemoryType(memoryType)) return true;
    err(kEvent, "RIZUZ> %s() refused: memory type %u is not one of 1..8", function, memoryType);
    return false;
}

bool AdmitBit(const char* function, std::uint32_t memoryType, std::int32_t bit, bool stringGate) {
    if (bit == -1) return true;
    // The bit numbers the parsers admit for the type (a BOOL gate's selects nothing but is allowed).
    const char type = stringGate ? 'S' : static_cast<char>('0' + (IsMemoryType(memoryType) ? memoryType : 0));
    const MemoryTypeRule* rule = MemoryTypeRuleOf(type);
    if (rule != nullptr && rule->takesBit && bit >= 0 && static_cast<std::uint32_t>(bit) <= rule->highestBit) {
        return true;
    }
    err(kEvent, "RIZUZ> %s() refused: bit number %d not allowed for memory type %c", function, static_cast<int>(bit),
        type);
    return false;
}

bool AdmitStringLength(const char* function, const char* address, std::uint32_t& length) {
    if (StringGateLength(address, length)) return true;
    err(kEvent, "RIZUZ> %s() refused: no string length in gate address '%s'", function, address);
    return false;
}

}  // namespace rizuz
