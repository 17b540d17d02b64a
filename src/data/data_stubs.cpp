// Placeholders until the process data functions are built.
#include "host/handlers.hpp"
#include "host/not_built.hpp"

namespace rizuz {

NuvResult SingleRead(const DriverRequest& request) { return NotBuiltYet(request); }
NuvResult BlockRead(const DriverRequest& request) { return NotBuiltYet(request); }
NuvResult SingleWrite(const DriverRequest& request) { return NotBuiltYet(request); }
NuvResult BlockWrite(const DriverRequest& request) { return NotBuiltYet(request); }
NuvResult RawRead(const DriverRequest& request) { return NotBuiltYet(request); }
NuvResult RawWrite(const DriverRequest& request) { return NotBuiltYet(request); }

}  // namespace rizuz
