// The forms PARSE hands an address to once it has read positions 0 and 1.
// Each logs its one refusal message itself and writes the locator only when it
// accepts the address, so a refused definition never leaves half a locator.
#pragma once

#include "address/memory_type_rules.hpp"
#include "rizuz/records.hpp"

namespace rizuz {

// A D address: slave, byte offset and optional bit, found by position alone.
// Leaves `width` as the host's record held it.
NuvResult ParseDiagAddress(const char* address, GateLocator& locator);

// The short form of an S or R address: three offset digits, one optional
// hexadecimal bit character.
NuvResult ParseShortAddress(const char* address, const MemoryTypeRule& type, GateLocator& locator);

}  // namespace rizuz
