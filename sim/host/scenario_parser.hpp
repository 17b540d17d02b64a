// Reads a scenario text into steps, checking every line before anything runs:
// a scenario with a syntax error runs no request at all.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "scenario.hpp"

namespace nuvhost {

struct SyntaxError {
    int line;
    std::string message;
};

// False when any line is wrong; `errors` then names each (up to a limit).
bool ParseScenario(std::string_view text, const std::string& file, Scenario& scenario,
                   std::vector<SyntaxError>& errors);

}  // namespace nuvhost
