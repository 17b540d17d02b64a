// The host's gate address text as the parsers and the definition checks see it.
#pragma once

#include "rizuz/records.hpp"

namespace rizuz {

// The GateDefinition of function 3 or 4; null when the host sent none.
inline GateDefinition* DefinitionOf(const DriverRequest& request) {
    return static_cast<GateDefinition*>(request.params);
}

// The address of the GateDefinition of function 3 or 4; null when the host
// sent no record or no text.
char* DefinitionAddress(const DriverRequest& request);

// The address for messages: a missing text shows as empty.
inline const char* ShownAddress(const char* address) { return address != nullptr ? address : ""; }

// Upper-cases the ASCII letters a to z in place. The host keeps the result,
// also when the address is then refused.
void UpperCaseInPlace(char* text);

// 'X' in position 2: the extended form. Reads nothing past the text's NUL.
constexpr bool IsExtendedAddress(const char* text) {
    return text != nullptr && text[0] != '\0' && text[1] != '\0' && text[2] == 'X';
}

}  // namespace rizuz
