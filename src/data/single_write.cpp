// Function 7: one gate from the host's value buffer into the output area. A
// gate that names one bit is written by read-modify-write of its element.
#include <cstring>

#include "address/string_length.hpp"
#include "common/host_value.hpp"
#include "common/scan.hpp"
#include "data/conversions.hpp"
#include "data/exchange_image.hpp"
#include "data/transfer_checks.hpp"
#include "host/handlers.hpp"
#include "lifecycle/start_board.hpp"
#include "rizuz/host_log.hpp"
#include "rizuz/memory_type.hpp"

namespace rizuz {
namespace {

constexpr const char* kFunction = "SingleWrite";

// Everything that can be refused before the card is touched.
bool Admit(const GateIo& io, bool stringGate, std::uint32_t& stringLength) {
    const std::uint32_t memoryType = MemoryTypeOf(io.locator.typeWord);
    if (!AdmitMemoryType(kFunction, memoryType) || !AdmitBit(kFunction, memoryType, io.locator.bit, stringGate)) {
        return false;
    }
    return !stringGate || (AdmitStringLength(kFunction, io.address, stringLength) &&
                           AdmitTransfer(kFunction, static_cast<std::int32_t>(stringLength), 1, 0));
}

// The string and its NUL, then zeros up to the defined length. The host's
// string is measured within that length only. False when it does not fit.
bool StageString(std::uint8_t* staged, const void* value, std::uint32_t length) {
    const unsigned characters = scan::BoundedLength(static_cast<const char*>(value), length);
    if (characters + 1 > length) return false;
    std::memset(staged, 0, length);
    std::memcpy(staged, value, characters);
    return true;
}

template <typename Word>
Word WithBit(Word element, std::int32_t bit, bool on) {
    const auto mask = static_cast<Word>(1u << bit);
    return static_cast<Word>(on ? element | mask : element & ~mask);
}

// Lays out one element in the card's order; returns the bytes to write. For a
// bit gate W1 holds the element as read back, `requested` the host's bit value.
std::uint16_t StageElement(std::uint8_t* staged, const void* value, std::uint32_t memoryType, std::int32_t bit,
                           std::uint16_t requested, const DriverContext& context) {
    using namespace host_value;
    const bool swap = FlagOn(context.swap);
    const bool bitGate = bit != -1;
    const std::uint16_t w1 = LoadWord(value, kW1);
    switch (memoryType) {
        case kBool:
            staged[0] = requested != 0 ? 0xFF : 0x00;
            break;
        case kSigned8:
        case kUnsigned8: {
            const auto byte = static_cast<std::uint8_t>(w1);
            staged[0] = bitGate ? WithBit(byte, bit, requested != 0) : byte;
            break;
        }
        case kSigned16:
        case kUnsigned16:
            StoreCard16(staged, bitGate ? WithBit(w1, bit, requested != 0) : w1, swap);
            break;
        default: {  // the 32-bit types
            std::uint32_t v = Load32(value);
            if (memoryType == kFloat32 && FlagOn(context.convert)) v = IeeeToSiemens(v);
            StoreCard32(staged, v, swap);
            break;
        }
    }
    return TypeSize[memoryType];
}

}  // namespace

NuvResult SingleWrite(const DriverRequest& request) {
    auto& io = *static_cast<GateIo*>(request.params);
    DriverContext& context = *request.context;
    if (io.locator.typeWord == kDiagTypeWord) {
        err(kDetail, "RIZUZ> SingleWrite() DIAG gates, no write supported");
        return kRefused;
    }
    const bool stringGate = IsStringGateAddress(io.address);
    std::uint32_t stringLength = 0;
    if (!Admit(io, stringGate, stringLength)) return kRefused;

    if (!BoardReady(request)) return kFailed;
    if (AreaOf(io.locator.typeWord) == 'R') return kRefused;  // the input area belongs to the fieldbus

    // A string gate's buffer may be shorter than four bytes: no W1 there.
    const std::int32_t bit = io.locator.bit;
    const std::uint16_t requested = stringGate ? 0 : host_value::LoadWord(io.value, host_value::kW1);
    if (bit != -1) {
        io.locator.bit = -1;
        const NuvResult readBack = SingleRead(request);
        io.locator.bit = bit;
        if (readBack != kDone) return readBack;
    }

    std::uint16_t writeSize = 0;
    if (stringGate) {
        if (!StageString(context.sendBuffer, io.value, stringLength)) {
            err(kEvent, "RIZUZ> Attempt to write a string longer than defined!");
            return kRefused;
        }
        writeSize = static_cast<std::uint16_t>(stringLength);
    } else {
        writeSize = StageElement(context.sendBuffer, io.value, MemoryTypeOf(io.locator.typeWord), bit, requested,
                                 context);
    }

    const NuvResult result = ExchangeImage(writeSize, io, context);
    if (bit != -1) host_value::StoreWord(io.value, host_value::kW1, requested != 0 ? 1 : 0);
    io.count = 1;
    return result;
}

}  // namespace rizuz
