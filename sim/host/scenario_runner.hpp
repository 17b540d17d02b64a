// Runs a parsed scenario against the driver and the soft card: every request
// with its function, result and decoded value, every message with its class,
// and every expectation checked.
#pragma once

#include <ostream>
#include <vector>

#include "driver_host.hpp"
#include "scenario.hpp"

namespace nuvhost {

struct RunSummary {
    int requests = 0;
    int expectations = 0;
    std::vector<std::string> failures;  // "file:line: what was expected and what happened"
};

// Output goes to `out` as the scenario runs.
RunSummary RunScenario(const Scenario& scenario, DriverHost& host, std::ostream& out);

// "[32] text": how nuvhost prints a driver message.
std::string FormatMessage(const HostMessage& message);

// The banner of function 14 (code page 437 box characters) as UTF-8 lines.
std::vector<std::string> BannerLines(const char* banner);

}  // namespace nuvhost
