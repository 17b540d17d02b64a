// Temporary answer of a handler whose function is not built yet: the same
// words and result as an empty slot of the function table.
#pragma once

#include "rizuz/host_log.hpp"
#include "rizuz/records.hpp"

namespace rizuz {

inline NuvResult NotBuiltYet(const DriverRequest& request) {
    err(kEvent, "RIZUZ> NuvMain, function number %d not supported", static_cast<int>(request.function));
    return kFailed;
}

}  // namespace rizuz
