// nuvhost diag: reads one DP slave's diagnostic data through the driver, as a
// D block (functions 4 and 6), and decodes the standard diagnosis in words.
#pragma once

#include <ostream>

#include "driver_host.hpp"

namespace nuvhost {

// 0 when the data were read, 1 when the driver could not read them.
// `verbose` prints every driver message, not only those of a failing request.
int Diagnose(DriverHost& host, unsigned slave, bool verbose, std::ostream& out);

}  // namespace nuvhost
