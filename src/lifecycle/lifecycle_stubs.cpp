// Placeholders until the lifecycle functions are built.
#include "host/handlers.hpp"
#include "host/not_built.hpp"
#include "lifecycle/start_board.hpp"

namespace rizuz {

NuvResult GetDriverInfo(const DriverRequest& request) { return NotBuiltYet(request); }
NuvResult InitNuv(const DriverRequest& request) { return NotBuiltYet(request); }
NuvResult CheckComm(const DriverRequest& request) { return NotBuiltYet(request); }
NuvResult EndNuv(const DriverRequest& request) { return NotBuiltYet(request); }
NuvResult StartBoard(const DriverRequest&) { return kFailed; }

}  // namespace rizuz
