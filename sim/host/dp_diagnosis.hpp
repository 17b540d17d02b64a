// The standard diagnosis of a Profibus DP slave in words: the three station
// status bytes bit by bit, the master address, the ident number, and the
// extended diagnostic bytes in hex.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace nuvhost {

inline constexpr std::size_t kStandardDiagnosisSize = 6;

// One line per item; fewer than six bytes are decoded as far as they go.
std::vector<std::string> DecodeDpDiagnosis(std::span<const std::uint8_t> bytes);

}  // namespace nuvhost
