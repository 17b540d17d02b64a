// nuvhost explain: runs the driver's own definition check on one address and
// says in words what it means, or why the driver refuses it.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

#include "driver_host.hpp"

namespace nuvhost {

struct ExplainRequest {
    std::string address;
    std::optional<std::int32_t> gateType;    // function 3 with this type; neither: every type is tried
    std::optional<std::int32_t> blockCount;  // function 4 with this count
};

// 0 when the driver accepts the definition, 1 when it refuses it.
int Explain(DriverHost& host, const ExplainRequest& request, std::ostream& out);

}  // namespace nuvhost
