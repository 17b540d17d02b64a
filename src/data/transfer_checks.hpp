// What a request must satisfy before its transfer may touch the card or a
// staging buffer. The host hands the locator, the count and the address back
// on every I/O call, and nothing guarantees they still hold what the definition
// check saw. Each check reports its refusal once (class 32), naming the
// function; the caller then returns 1 with nothing touched.
#pragma once

#include <cstdint>

#include "rizuz/records.hpp"

namespace rizuz {

// The one bound on the size of every transfer: at least `least` elements, and
// `count` elements of `elementSize` bytes within the 512-byte staging buffers.
bool AdmitTransfer(const char* function, std::int32_t count, unsigned elementSize, std::int32_t least = 1);

// A memory type the size tables know, 1 to 8.
bool AdmitMemoryType(const char* function, std::uint32_t memoryType);

// A bit number, -1 for none, that names a bit of the element as the parser
// allows it: 0 to 15 for types 1, 3 and 6, 0 to 7 for types 2 and 5, none for
// the 32-bit types and for string gates.
bool AdmitBit(const char* function, std::uint32_t memoryType, std::int32_t bit, bool stringGate = false);

// The defined length of a string gate, read from its address.
bool AdmitStringLength(const char* function, const char* address, std::uint32_t& length);

}  // namespace rizuz
