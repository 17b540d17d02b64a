// The defined length of a string gate, read from its address text wherever it
// is needed (definition check, string read, string write). The locator has no
// room for it.
#pragma once

#include <cstdint>

namespace rizuz {

// Whether the address names a string gate: 'S' in position 1 (upper-cased by
// the definition check).
bool IsStringGateAddress(const char* address);

// Reads the length with "%02u": from position 5 in the short form, from the
// character after the 'L' that follows the offset digits in the extended form
// ('X' in position 2). Never reads past the text's NUL.
// Returns false when the field holds no number.
bool StringGateLength(const char* address, std::uint32_t& length);

}  // namespace rizuz
