// The start-up's report of the board to the host's log: board, version,
// firmware and device information, read from the card one reply at a time.
#pragma once

#include <cstdint>

namespace rizuz {

// Reads and logs the four replies in turn. On the first failing call it reports
// that call's code and returns false; what was logged before stays logged.
bool ReportBoard(std::uint16_t card);

}  // namespace rizuz
