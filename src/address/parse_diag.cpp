// D addresses: "D" + slave (3 digits) + byte offset (2 digits) + optional bit
// (1 digit). The fields are found by position alone; only their conversions
// test the characters.
#include "address/parse_forms.hpp"
#include "common/scan.hpp"
#include "rizuz/host_log.hpp"

namespace rizuz {
namespace {

constexpr unsigned kSlavePosition = 1;
constexpr unsigned kSlaveDigits = 3;
constexpr std::uint32_t kHighestSlave = 255;
constexpr unsigned kOffsetPosition = 4;
constexpr unsigned kOffsetDigits = 2;
constexpr std::uint32_t kHighestOffset = 99;
constexpr unsigned kBitPosition = 6;
constexpr std::uint32_t kHighestBit = 7;
constexpr unsigned kLengthWithoutBit = 6;
constexpr unsigned kLengthWithBit = 7;

}  // namespace

NuvResult ParseDiagAddress(const char* address, GateLocator& locator) {
    // Range tests take the converted values unsigned, so a minus sign puts them out of range.
    const scan::Unsigned32 slave = scan::Decimal(address + kSlavePosition, kSlaveDigits);
    if (!slave.ok || slave.value > kHighestSlave) {
        err(kEvent, "RIZUZ> Illegal plc address of DIAG gate '%s'", address);
        return kRefused;
    }
    // Looks no further than one character past the longest D address.
    const unsigned length = scan::BoundedLength(address, kLengthWithBit + 1);
    const scan::Unsigned32 offset =
        length > kOffsetPosition ? scan::Decimal(address + kOffsetPosition, kOffsetDigits) : scan::Unsigned32{};
    if (!offset.ok || offset.value > kHighestOffset) {
        err(kEvent, "RIZUZ> Illegal DIAG byte offset in gate '%s'", address);
        return kRefused;
    }
    std::int32_t bit = kNoBit;
    if (length == kLengthWithBit) {
        const scan::Unsigned32 converted = scan::Decimal(address + kBitPosition, 1);
        if (!converted.ok || converted.value > kHighestBit) {
            err(kEvent, "RIZUZ> Illegal bit number in DIAG gate '%s'", address);
            return kRefused;
        }
        bit = static_cast<std::int32_t>(converted.value);
    } else if (length != kLengthWithoutBit) {
        err(kEvent, "RIZUZ> Illegal length of in DIAG gate address string '%s'", address);
        return kRefused;
    }
    // `width` is left as it was: the diagnostic read counts in bytes without it.
    locator.slave = static_cast<std::int32_t>(slave.value);
    locator.typeWord = kDiagTypeWord;
    locator.offset = static_cast<std::int32_t>(offset.value);
    locator.bit = bit;
    return kDone;
}

}  // namespace rizuz
