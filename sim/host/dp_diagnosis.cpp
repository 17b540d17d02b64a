#include "dp_diagnosis.hpp"

#include <cstdio>

#include "text.hpp"

namespace nuvhost {

namespace {

// What each bit of the three station status bytes says when it is set, as the
// DP standard defines them.
constexpr const char* kStationStatus[3][8] = {
    {
        "Station_Non_Existent: the slave does not answer",
        "Station_Not_Ready: the slave is not ready for data exchange",
        "Cfg_Fault: the configuration the master sent does not match the slave",
        "Ext_Diag: extended diagnostic data follow",
        "Not_Supported: the slave does not support a requested function",
        "Invalid_Slave_Response: the slave's answer was not valid",
        "Prm_Fault: wrong parameters (ident number or the like)",
        "Master_Lock: the slave is parameterised by another master",
    },
    {
        "Prm_Req: the slave must be parameterised again",
        "Stat_Diag: static diagnosis, the master must fetch diagnosis until it clears",
        "(always 1)",
        "WD_On: the response watchdog is on",
        "Freeze_Mode: the slave has received the freeze command",
        "Sync_Mode: the slave has received the sync command",
        "(reserved)",
        "Deactivated: the master has taken the slave out of its cyclic processing",
    },
    {
        "(reserved)", "(reserved)", "(reserved)", "(reserved)", "(reserved)", "(reserved)", "(reserved)",
        "Ext_Diag_Overflow: there is more diagnosis than the slave could send",
    },
};

std::string Bit(unsigned bit, bool set, const char* meaning) {
    char head[32];
    std::snprintf(head, sizeof head, "      bit %u = %u  ", bit, set ? 1u : 0u);
    return head + std::string(meaning);
}

}  // namespace

std::vector<std::string> DecodeDpDiagnosis(std::span<const std::uint8_t> bytes) {
    std::vector<std::string> lines;
    for (std::size_t status = 0; status < 3 && status < bytes.size(); ++status) {
        lines.push_back("byte " + std::to_string(status) + "  station status " + std::to_string(status + 1) + " = " +
                        Hex(bytes[status], 2));
        for (unsigned bit = 0; bit < 8; ++bit) {
            const bool set = ((static_cast<unsigned>(bytes[status]) >> bit) & 1u) != 0;
            lines.push_back(Bit(bit, set, kStationStatus[status][bit]));
        }
    }
    if (bytes.size() > 3) {
        const unsigned master = bytes[3];
        lines.push_back("byte 3  master address = " + std::to_string(master) +
                        (master == 255 ? " (not parameterised by any master)" : ""));
    }
    if (bytes.size() > 5) {
        lines.push_back("bytes 4-5  ident number = " + Hex(static_cast<std::uint32_t>(bytes[4] << 8 | bytes[5]), 4));
    }
    if (bytes.size() > kStandardDiagnosisSize) {
        lines.push_back("bytes 6-" + std::to_string(bytes.size() - 1) + "  extended diagnosis = " +
                        HexBytes(bytes.subspan(kStandardDiagnosisSize)));
    } else if (bytes.size() == kStandardDiagnosisSize) {
        lines.push_back("no extended diagnosis");
    } else {
        lines.push_back("(only " + std::to_string(bytes.size()) + " of the 6 standard bytes)");
    }
    return lines;
}

}  // namespace nuvhost
