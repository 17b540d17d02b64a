// Sets the diagnostic bytes the soft card's DP master answers for one slave:
// the one piece of card control that lives in the DP master rather than in the
// soft card itself, kept behind this adapter.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace nuvhost {

// False with a reason when the soft card cannot take them.
bool SetSlaveDiagnosis(unsigned card, unsigned slave, std::span<const std::uint8_t> bytes, std::string& why);

}  // namespace nuvhost
