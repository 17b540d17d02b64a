#include "names.hpp"

#include "text.hpp"

namespace nuvhost {

std::optional<std::int32_t> GateTypeByName(std::string_view text) {
    for (const HostGateType& type : kHostGateTypes) {
        if (EqualsIgnoringCase(text, type.name)) return type.code;
    }
    const auto number = ParseInteger(text);
    if (number && *number >= INT32_MIN && *number <= INT32_MAX) return static_cast<std::int32_t>(*number);
    return std::nullopt;
}

std::string GateTypeLabel(std::int32_t code) {
    for (const HostGateType& type : kHostGateTypes) {
        if (type.code == code) return std::string(type.name) + " (" + std::to_string(code) + ")";
    }
    return std::to_string(code) + " (not a host gate type)";
}

const char* MemoryTypeName(std::uint32_t memoryType) {
    static constexpr const char* kNames[] = {
        "none",
        "BOOL (one byte, zero is off)",
        "signed 8-bit integer",
        "signed 16-bit integer",
        "signed 32-bit integer",
        "unsigned 8-bit integer",
        "unsigned 16-bit integer",
        "unsigned 32-bit integer",
        "32-bit floating point",
    };
    return memoryType < std::size(kNames) ? kNames[memoryType] : "none";
}

const char* FunctionName(std::uint32_t function) {
    static constexpr const char* kNames[] = {
        "no handler", "InitNuv",    "CheckComm",     "SingleParse", "BlockParse", "SingleRead", "BlockRead",
        "SingleWrite", "no handler", "no handler",   "BlockWrite",  "EndNuv",     "no handler", "no handler",
        "GetDriverInfo", "no handler", "no handler", "RawRead",     "RawWrite",
    };
    return function > 0 && function < std::size(kNames) ? kNames[function] : "no such function";
}

const char* ResultName(std::int32_t result) {
    switch (result) {
        case 0: return "done";
        case 1: return "refused";
        case 2: return "failed";
        default: return "unknown";
    }
}

}  // namespace nuvhost
