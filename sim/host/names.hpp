// The words nuvhost uses for the host's codes: host gate types, memory types,
// function numbers and results.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace nuvhost {

struct HostGateType {
    std::int32_t code;
    const char* name;         // what a scenario writes
    const char* description;  // what the host calls it
};

// Codes 0 to 7, in code order.
inline constexpr HostGateType kHostGateTypes[] = {
    {0, "unsigned16", "unsigned 16-bit"},
    {1, "signed16", "signed 16-bit"},
    {2, "unsigned16b", "unsigned 16-bit, the host's second type"},
    {3, "float", "floating point"},
    {4, "signed32", "signed 32-bit"},
    {5, "unsigned32", "unsigned 32-bit"},
    {6, "digital", "digital"},
    {7, "string", "Palvex string"},
};

// A gate type by name or by number (any number: the driver refuses the unknown ones).
std::optional<std::int32_t> GateTypeByName(std::string_view text);
// "signed16 (1)", or "9 (not a host gate type)".
std::string GateTypeLabel(std::int32_t code);

// "signed 16-bit integer", ... for memory types 1 to 8.
const char* MemoryTypeName(std::uint32_t memoryType);

// "SingleRead", ... or "no handler" for the empty slots.
const char* FunctionName(std::uint32_t function);
// "done", "refused", "failed", or "unknown".
const char* ResultName(std::int32_t result);

}  // namespace nuvhost
