// PARSE: the entry of both address forms. It reads positions 0 and 1 and hands
// the rest to the D, short or extended form.
#include "address/parse.hpp"

#include "address/address_text.hpp"
#include "address/memory_type_rules.hpp"
#include "address/parse_forms.hpp"
#include "rizuz/host_log.hpp"

namespace rizuz {

NuvResult PARSE(const DriverRequest& request) {
    char* const address = DefinitionAddress(request);
    UpperCaseInPlace(address);
    const char area = address != nullptr ? address[0] : '\0';

    if (area == 'D') return ParseDiagAddress(address, DefinitionOf(request)->locator);
    if (area != 'S' && area != 'R') {
        err(kEvent, "RIZUZ> PARSE() First char in gate address string should be S, R or D");
        return kRefused;
    }
    const MemoryTypeRule* const type = MemoryTypeRuleOf(address[1]);
    if (type == nullptr) {
        err(kEvent, "RIZUZ> PARSE() Incorrect data type %c (Allowed 1..8,S)", static_cast<int>(address[1]));
        return kRefused;
    }
    if (IsExtendedAddress(address)) return ParseE(request) == kDone ? kDone : kRefused;
    return ParseShortAddress(address, *type, DefinitionOf(request)->locator);
}

}  // namespace rizuz
