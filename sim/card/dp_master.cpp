// Placeholder DP master: takes every request and answers none.
#include "dp_master.hpp"

namespace softcard::dp {

void Reset() {}
std::int16_t OnRequest(unsigned, const std::uint8_t*) { return 0; }

}  // namespace softcard::dp
