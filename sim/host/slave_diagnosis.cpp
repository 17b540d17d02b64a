#include "slave_diagnosis.hpp"

#include "dp_master.hpp"

namespace nuvhost {

bool SetSlaveDiagnosis(unsigned, unsigned, std::span<const std::uint8_t>, std::string& why) {
    // The soft card's DP master offers no control of its slaves' diagnostic data yet.
    why = "this soft card's DP master cannot set a slave's diagnostic bytes yet";
    return false;
}

}  // namespace nuvhost
