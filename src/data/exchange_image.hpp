// The one place the driver moves process image bytes to or from the card.
#pragma once

#include <cstdint>

#include "rizuz/records.hpp"

namespace rizuz {

// writeSize 0 reads TypeSize x count bytes of the locator's area into the
// start of receiveBuffer; otherwise writes writeSize bytes from the start of
// sendBuffer to the send area. One card call; 0 done, 2 failed.
NuvResult ExchangeImage(std::uint16_t writeSize, GateIo& io, DriverContext& context);

}  // namespace rizuz
