// The gate address parsers: short form (PARSE) and extended form (ParseE).
#pragma once

#include "rizuz/records.hpp"

namespace rizuz {

// Upper-cases the GateDefinition's address in place and writes its locator.
// 0 accepted, 1 refused (after one message).
NuvResult PARSE(const DriverRequest& request);
// The extended form, 'X' in position 2; called by PARSE only.
NuvResult ParseE(const DriverRequest& request);

}  // namespace rizuz
