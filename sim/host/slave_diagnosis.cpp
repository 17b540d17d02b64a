#include "slave_diagnosis.hpp"

#include "dp_master.hpp"

namespace nuvhost {

bool SetSlaveDiagnosis(unsigned card, unsigned slave, std::span<const std::uint8_t> bytes, std::string& why) {
    if (slave > 255) {
        why = "DP slave addresses end at 255";
        return false;
    }
    if (bytes.size() > softcard::dp::kMaxDiagnosisSize) {
        why = "a DP slave reports at most " + std::to_string(softcard::dp::kMaxDiagnosisSize) + " diagnostic bytes, not " +
              std::to_string(bytes.size());
        return false;
    }
    softcard::dp::SetDiagnosis(card, static_cast<std::uint8_t>(slave), bytes);
    return true;
}

void RemoveSlave(unsigned card, unsigned slave) {
    softcard::dp::RemoveSlave(card, static_cast<std::uint8_t>(slave));
}

}  // namespace nuvhost
