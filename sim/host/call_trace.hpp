// One line per card call, as --trace prints it: the call with its arguments,
// the code it answered and the bytes it moved.
#pragma once

#include <string>

#include "soft_card.hpp"

namespace nuvhost {

std::string FormatCardCall(const softcard::CallRecord& record);

}  // namespace nuvhost
