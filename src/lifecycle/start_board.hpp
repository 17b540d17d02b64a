// The lazy start-up every I/O function runs while communication is not running.
#pragma once

#include "rizuz/records.hpp"

namespace rizuz {

// One-time part (open driver, init board, board report) until it has succeeded
// once for the context; per-call part (host ready, communication bit) until
// commRunning is set. Returns 0 (go on) or 2 (the request fails).
NuvResult StartBoard(const DriverRequest& request);

// What every I/O handler does first.
inline bool BoardReady(const DriverRequest& request) {
    return request.context->commRunning != 0 || (StartBoard(request) & 0xFFFF) == 0;
}

}  // namespace rizuz
