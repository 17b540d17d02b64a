// Every handler NuvMain can dispatch to, by the subsystem that owns it.
// Handlers find their context in request.context and their parameters in
// request.params; NuvMain returns their result to the host unchanged.
#pragma once

#include "rizuz/records.hpp"

namespace rizuz {

// src/lifecycle
NuvResult GetDriverInfo(const DriverRequest& request);  // 14
NuvResult InitNuv(const DriverRequest& request);        // 1
NuvResult CheckComm(const DriverRequest& request);      // 2
NuvResult EndNuv(const DriverRequest& request);         // 11

// src/address
NuvResult SingleParse(const DriverRequest& request);    // 3
NuvResult BlockParse(const DriverRequest& request);     // 4

// src/data
NuvResult SingleRead(const DriverRequest& request);     // 5
NuvResult BlockRead(const DriverRequest& request);      // 6
NuvResult SingleWrite(const DriverRequest& request);    // 7
NuvResult BlockWrite(const DriverRequest& request);     // 10
NuvResult RawRead(const DriverRequest& request);        // 17
NuvResult RawWrite(const DriverRequest& request);       // 18

}  // namespace rizuz
