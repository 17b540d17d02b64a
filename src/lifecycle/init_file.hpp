// The per-instance init file that selects the card and switches byte swapping
// and Siemens float conversion. Read once by function 1.
#pragma once

#include <cstdint>

#include "rizuz/records.hpp"

namespace rizuz {

// Sets card, swap and convert from "RIZUZ%02d.INT" (the instance number) in the
// current directory, reporting what it finds and misses. Never fails: anything
// missing or wrong leaves that setting 0.
void ReadInitFile(DriverContext& context, std::int32_t instance);

}  // namespace rizuz
