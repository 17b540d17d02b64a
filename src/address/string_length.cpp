#include "address/string_length.hpp"

#include "address/address_text.hpp"
#include "common/scan.hpp"

namespace rizuz {

bool IsStringGateAddress(const char* address) {
    return address != nullptr && address[0] != '\0' && address[1] == 'S';
}

bool StringGateLength(const char* address, std::uint32_t& length) {
    if (address == nullptr) return false;
    constexpr unsigned kShortLengthPosition = 5;
    constexpr unsigned kExtendedOffsetPosition = 3;
    const char* field = nullptr;
    if (IsExtendedAddress(address)) {
        const char* p = address + kExtendedOffsetPosition;
        while (scan::IsDigit(*p)) ++p;
        if (*p != 'L') return false;
        field = p + 1;
    } else {
        if (scan::BoundedLength(address, kShortLengthPosition) < kShortLengthPosition) return false;
        field = address + kShortLengthPosition;
    }
    const scan::Unsigned32 converted = scan::Decimal(field, 2);
    if (!converted.ok) return false;
    length = converted.value;
    return true;
}

}  // namespace rizuz
