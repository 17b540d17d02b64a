// The card's communication bit, read from its IO information. Both the
// start-up and function 2 read it and word its failures alike.
#pragma once

#include <cstdint>

#include "rizuz/host_log.hpp"

namespace rizuz {

struct CommBitReading {
    bool read;  // false: the IO information could not be read (already reported)
    bool on;    // the card communicates
};

CommBitReading ReadCommBit(std::uint16_t card);

// The start-up reports a bit that is off as an event, function 2 as detail.
void ReportCommBitOff(MessageClass msgClass);

}  // namespace rizuz
