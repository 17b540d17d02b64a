// Placeholders until the definition checks are built.
#include "host/handlers.hpp"
#include "host/not_built.hpp"

namespace rizuz {

NuvResult SingleParse(const DriverRequest& request) { return NotBuiltYet(request); }
NuvResult BlockParse(const DriverRequest& request) { return NotBuiltYet(request); }

}  // namespace rizuz
