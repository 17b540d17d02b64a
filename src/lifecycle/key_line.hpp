// A key line of the init file, read as the formatted input "KEY = %d" reads it.
#pragma once

#include "common/scan.hpp"

namespace rizuz {

// The key must stand at the very start of the line exactly as given (capitals,
// no blank before it); white space around the '=' may be missing or repeated;
// the number may carry a sign and saturates at the 32-bit limits; whatever
// follows it is ignored. ok is false when the line is not this key's line or
// holds no number.
scan::Signed32 MatchKeyLine(const char* line, const char* key);

}  // namespace rizuz
