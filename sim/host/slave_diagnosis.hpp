// The soft card's DP master as a scenario drives it: the diagnostic bytes a
// slave answers with, or no slave at that address at all.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace nuvhost {

// False with a reason when the DP master cannot take them.
bool SetSlaveDiagnosis(unsigned card, unsigned slave, std::span<const std::uint8_t> bytes, std::string& why);
void RemoveSlave(unsigned card, unsigned slave);

}  // namespace nuvhost
