#include "lifecycle/board_report.hpp"

#include <cstddef>
#include <cstring>

#include "rizuz/card_library.hpp"
#include "rizuz/host_log.hpp"

namespace rizuz {
namespace {

constexpr std::uint16_t kVersionInfoSize = 32;
constexpr std::uint16_t kFirmwareInfoSize = 32;
constexpr std::uint16_t kDeviceInfoSize = 6;

// Board information: the driver version text, then one 10-byte entry per card.
constexpr std::size_t kDriverVersionSize = 16;
constexpr std::size_t kBoardEntriesAt = 16;
constexpr std::size_t kBoardEntrySize = 10;

// A text field of a reply, ended after its last byte: prints as at most
// `Size` characters, fewer when a NUL comes first.
template <std::size_t Size>
struct FieldText {
    char text[Size + 1];
    explicit FieldText(const std::uint8_t* field) {
        std::memcpy(text, field, Size);
        text[Size] = '\0';
    }
};

// Version values come from the card with their first byte most significant.
std::uint32_t MostSignificantFirst(const std::uint8_t* at) {
    return (static_cast<std::uint32_t>(at[0]) << 24) | (static_cast<std::uint32_t>(at[1]) << 16) |
           (static_cast<std::uint32_t>(at[2]) << 8) | static_cast<std::uint32_t>(at[3]);
}

// Board information numbers come from the device driver in the machine's order.
template <typename T>
T MachineOrder(const std::uint8_t* at) {
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

struct BoardEntry {
    std::uint16_t available;
    std::uint32_t physicalAddress;
    std::uint16_t irq;
};

// The card number comes from the context, which lives in the host's memory: a
// number beyond the four entries reads as an empty entry instead of past the reply.
BoardEntry EntryOf(const std::uint8_t (&reply)[kBoardInfoSize], std::uint16_t card) {
    const std::size_t at = kBoardEntriesAt + kBoardEntrySize * card;
    if (at + kBoardEntrySize > sizeof reply) return {0, 0, 0};
    return {MachineOrder<std::uint16_t>(reply + at + 2), MachineOrder<std::uint32_t>(reply + at + 4),
            MachineOrder<std::uint16_t>(reply + at + 8)};
}

void EqualsRule() { err(kEvent, "================================================"); }
void HyphenRule() { err(kEvent, "------------------------------------------------"); }

bool ReportBoardInfo(std::uint16_t card) {
    std::uint8_t reply[kBoardInfoSize] = {};
    if (const CardCode rc = DevGetBoardInfo(card, kBoardInfoSize, reply); rc != 0) {
        err(kEvent, "RIZUZ> Error trying to get board information (DevGetBoardInfo) rc=%d", static_cast<int>(rc));
        return false;
    }
    const FieldText<kDriverVersionSize> driverVersion(reply);
    const BoardEntry entry = EntryOf(reply, card);
    EqualsRule();
    err(kEvent, "RIZUZ> Driver Version: %s", driverVersion.text);
    err(kEvent, "RIZUZ> Board Information for card Number %d:", static_cast<int>(card));
    err(kEvent, "RIZUZ>       Available: %d", static_cast<int>(entry.available));
    err(kEvent, "RIZUZ>       Physical Address: %lx", static_cast<unsigned long>(entry.physicalAddress));
    err(kEvent, "RIZUZ>       IRQ Number: %d", static_cast<int>(entry.irq));
    HyphenRule();
    return true;
}

bool ReportVersion(std::uint16_t card) {
    std::uint8_t reply[kVersionInfoSize] = {};
    if (const CardCode rc = DevGetInfo(card, kVersionInfo, kVersionInfoSize, reply); rc != 0) {
        err(kEvent, "RIZUZ> Error trying to get version information (DevGetInfo) rc=%d", static_cast<int>(rc));
        return false;
    }
    const FieldText<16> operatingSystem(reply + 16);
    err(kEvent, "RIZUZ> Version Information:");
    err(kEvent, "RIZUZ>         Date         : %lx", static_cast<unsigned long>(MostSignificantFirst(reply + 0)));
    err(kEvent, "RIZUZ>         Device Number: %lx", static_cast<unsigned long>(MostSignificantFirst(reply + 4)));
    err(kEvent, "RIZUZ>         Serial Number: %lx", static_cast<unsigned long>(MostSignificantFirst(reply + 8)));
    err(kEvent, "RIZUZ>         Reserved     : %lx", static_cast<unsigned long>(MostSignificantFirst(reply + 12)));
    err(kEvent, "RIZUZ>         Operating System identifier : %s", operatingSystem.text);
    HyphenRule();
    return true;
}

bool ReportFirmware(std::uint16_t card) {
    std::uint8_t reply[kFirmwareInfoSize] = {};
    if (const CardCode rc = DevGetInfo(card, kFirmwareInfo, kFirmwareInfoSize, reply); rc != 0) {
        err(kEvent, "RIZUZ> Error trying to get firmware information (DevGetInfo) rc=%d", static_cast<int>(rc));
        return false;
    }
    const FieldText<16> name(reply + 0);
    const FieldText<16> version(reply + 16);
    err(kEvent, "RIZUZ> Firmware Information:");
    err(kEvent, "RIZUZ>          Name: %s", name.text);
    err(kEvent, "RIZUZ>          Version: %s", version.text);
    HyphenRule();
    return true;
}

bool ReportDevice(std::uint16_t card) {
    std::uint8_t reply[kDeviceInfoSize] = {};
    if (const CardCode rc = DevGetInfo(card, kDeviceInfo, kDeviceInfoSize, reply); rc != 0) {
        err(kEvent, "RIZUZ> Error trying to get device information (DevGetInfo) rc=%d", static_cast<int>(rc));
        return false;
    }
    const FieldText<3> identifier(reply + 3);
    err(kEvent, "RIZUZ> Device Information:");
    err(kEvent, "RIZUZ>        Type: %d", static_cast<int>(reply[1]));
    err(kEvent, "RIZUZ>        Model: %d", static_cast<int>(reply[2]));
    err(kEvent, "RIZUZ>        Identifier: %s", identifier.text);
    EqualsRule();
    return true;
}

}  // namespace

bool ReportBoard(std::uint16_t card) {
    return ReportBoardInfo(card) && ReportVersion(card) && ReportFirmware(card) && ReportDevice(card);
}

}  // namespace rizuz
