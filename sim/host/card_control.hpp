// The soft card lines of a scenario: put bytes into the areas, loop outputs
// back, switch the communication bit, make a card call fail, set a slave's
// diagnostic bytes, and look at the areas.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "scenario.hpp"

namespace nuvhost {

// The soft card as after power-on: empty areas, the DP master's default slaves.
void PowerOnSoftCard();

// Applies a card line to board `card`. Returns false with the reason in
// `report` when the soft card cannot do it; otherwise `report` says what it did.
bool ApplyCardAction(const Action& action, unsigned card, std::string& report);

// `count` bytes of the input or output area of board `card` from `offset` on.
std::vector<std::uint8_t> AreaBytes(bool input, unsigned card, std::uint32_t offset, std::size_t count);

}  // namespace nuvhost
