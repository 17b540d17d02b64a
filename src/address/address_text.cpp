#include "address/address_text.hpp"

#include "common/scan.hpp"

namespace rizuz {

char* DefinitionAddress(const DriverRequest& request) {
    const GateDefinition* const definition = DefinitionOf(request);
    return definition != nullptr ? definition->address : nullptr;
}

void UpperCaseInPlace(char* text) {
    if (text == nullptr) return;
    for (; *text != '\0'; ++text) *text = scan::ToUpper(*text);
}

}  // namespace rizuz
