// Blocks of elements between the card's bytes and the host's packed array, in
// either direction. Byte order and float format are the only differences
// between the two sides, so a block that needs neither is one copy; otherwise
// each case is a plain loop with its branches decided once, outside it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "common/host_value.hpp"
#include "data/conversions.hpp"

namespace rizuz {

// 16-bit elements; exchanging the two bytes is its own inverse, so one
// function serves reads and writes.
inline void CopyElements16(std::uint8_t* __restrict to, const std::uint8_t* __restrict from, std::size_t count,
                           bool swap) {
    if (!swap) {
        std::memcpy(to, from, 2 * count);
        return;
    }
    for (std::size_t i = 0; i < 2 * count; i += 2) {
        to[i] = from[i + 1];
        to[i + 1] = from[i];
    }
}

// 32-bit elements reversed byte for byte: Reverse32 of each element, either direction.
inline void ReverseElements32(std::uint8_t* __restrict to, const std::uint8_t* __restrict from, std::size_t count) {
    for (std::size_t i = 0; i < 4 * count; i += 4) {
        to[i] = from[i + 3];
        to[i + 1] = from[i + 2];
        to[i + 2] = from[i + 1];
        to[i + 3] = from[i];
    }
}

// Card to host: each element's byte order is put right first, then a Siemens
// float is converted.
inline void CardToHost32(std::uint8_t* __restrict host, const std::uint8_t* __restrict card, std::size_t count,
                         bool swap, bool siemens) {
    if (!siemens) {
        if (swap) {
            ReverseElements32(host, card, count);
        } else {
            std::memcpy(host, card, 4 * count);
        }
    } else if (swap) {
        for (std::size_t i = 0; i < 4 * count; i += 4)
            host_value::Store32(host + i, SiemensToIeee(Reverse32(card + i)));
    } else {
        for (std::size_t i = 0; i < 4 * count; i += 4)
            host_value::Store32(host + i, SiemensToIeee(host_value::Load32(card + i)));
    }
}

// Host to card: a float is converted first, then the element's bytes are put
// into the card's order.
inline void HostToCard32(std::uint8_t* __restrict card, const std::uint8_t* __restrict host, std::size_t count,
                         bool swap, bool siemens) {
    if (!siemens) {
        if (swap) {
            ReverseElements32(card, host, count);
        } else {
            std::memcpy(card, host, 4 * count);
        }
    } else if (swap) {
        for (std::size_t i = 0; i < 4 * count; i += 4)
            StoreCard32(card + i, IeeeToSiemens(host_value::Load32(host + i)), true);
    } else {
        for (std::size_t i = 0; i < 4 * count; i += 4)
            host_value::Store32(card + i, IeeeToSiemens(host_value::Load32(host + i)));
    }
}

}  // namespace rizuz
