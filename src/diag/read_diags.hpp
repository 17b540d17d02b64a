// The slave diagnostic read that single and block reads hand D gates to.
#pragma once

#include "rizuz/records.hpp"

namespace rizuz {

// Fetches the slave's diagnostic data with a DDLM_Slave_Diag request (up to
// three attempts) and delivers a byte, a bit or `count` bytes.
// 0 done (also after three rejected answers), 1 refused (a locator or count
// that reaches outside the diagnostic data; nothing is sent), 2 the card
// library failed.
NuvResult ReadDiags(const DriverRequest& request);

}  // namespace rizuz
