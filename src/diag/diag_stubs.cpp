// Placeholder until the slave diagnostic read is built: fails cleanly.
#include "diag/read_diags.hpp"
#include "rizuz/host_log.hpp"

namespace rizuz {

NuvResult ReadDiags(const DriverRequest&) {
    err(kEvent, "RIZUZ> ReadDiags() not available");
    return kFailed;
}

}  // namespace rizuz
