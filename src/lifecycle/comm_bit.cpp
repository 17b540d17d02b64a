#include "lifecycle/comm_bit.hpp"

#include "rizuz/card_library.hpp"

namespace rizuz {
namespace {

constexpr std::uint16_t kIoInfoSize = 6;  // byte 0 is the communication bit

}  // namespace

CommBitReading ReadCommBit(std::uint16_t card) {
    std::uint8_t reply[kIoInfoSize] = {};
    const CardCode rc = DevGetInfo(card, kIoInfo, kIoInfoSize, reply);
    if (rc != 0) {
        err(kEvent, "RIZUZ> Error trying to get IO information (DevGetInfo) rc=%d", static_cast<int>(rc));
        return {false, false};
    }
    return {true, reply[0] != 0};
}

void ReportCommBitOff(MessageClass msgClass) {
    err(msgClass, "RIZUZ> Communication bit if off - DPS Card can not run!");
}

}  // namespace rizuz
