// Function 5: the current value of one gate into the host's value buffer.
#include <cstring>

#include "address/string_length.hpp"
#include "common/host_value.hpp"
#include "common/scan.hpp"
#include "data/conversions.hpp"
#include "data/exchange_image.hpp"
#include "data/transfer_checks.hpp"
#include "diag/read_diags.hpp"
#include "host/handlers.hpp"
#include "lifecycle/start_board.hpp"
#include "rizuz/memory_type.hpp"

namespace rizuz {
namespace {

constexpr const char* kFunction = "SingleRead";

// The types whose bit number picks one bit out of the element; the others ignore it.
constexpr bool PicksBit(std::uint32_t memoryType) {
    return memoryType == kSigned8 || memoryType == kUnsigned8 || memoryType == kSigned16 ||
           memoryType == kUnsigned16;
}

// Everything that can be refused before the card is touched. A string gate
// moves its defined length, whatever `count` says.
bool Admit(const GateIo& io, bool stringGate, std::uint32_t& stringLength) {
    const std::uint32_t memoryType = MemoryTypeOf(io.locator.typeWord);
    if (!AdmitMemoryType(kFunction, memoryType)) return false;
    if (stringGate) {
        return AdmitStringLength(kFunction, io.address, stringLength) &&
               AdmitTransfer(kFunction, static_cast<std::int32_t>(stringLength), TypeSize[memoryType], 0);
    }
    return (!PicksBit(memoryType) || AdmitBit(kFunction, memoryType, io.locator.bit)) &&
           AdmitTransfer(kFunction, io.count, TypeSize[memoryType]);
}

// The card's bytes need not hold a NUL: at most `length` characters go over,
// and the host's string is always ended within length + 1 bytes.
void StoreString(void* value, const std::uint8_t* received, std::uint32_t length) {
    const unsigned characters = scan::BoundedLength(reinterpret_cast<const char*>(received), length);
    std::memcpy(value, received, characters);
    static_cast<std::uint8_t*>(value)[characters] = 0;
}

// W0 = 0 and the element, or one picked bit of it, in W1; 32-bit types fill all four bytes.
void StoreElement(void* value, const std::uint8_t* received, std::uint32_t memoryType, std::int32_t bit,
                  const DriverContext& context) {
    using namespace host_value;
    if (TypeSize[memoryType] == 4) {
        std::uint32_t v = LoadCard32(received, FlagOn(context.swap));
        if (memoryType == kFloat32 && FlagOn(context.convert)) v = SiemensToIeee(v);
        Store32(value, v);
        return;
    }
    std::uint16_t word = 0;
    switch (memoryType) {
        case kBool: word = received[0] != 0 ? 1 : 0; break;
        case kSigned8: word = static_cast<std::uint16_t>(static_cast<std::int8_t>(received[0])); break;
        case kUnsigned8: word = received[0]; break;
        default: word = LoadCard16(received, FlagOn(context.swap)); break;  // 16-bit types
    }
    if (bit != -1 && PicksBit(memoryType)) {
        word = static_cast<std::uint16_t>((static_cast<unsigned>(word) >> bit) & 1u);
    }
    StoreWord(value, kW0, 0);
    StoreWord(value, kW1, word);
}

}  // namespace

NuvResult SingleRead(const DriverRequest& request) {
    auto& io = *static_cast<GateIo*>(request.params);
    DriverContext& context = *request.context;
    const bool diagGate = io.locator.typeWord == kDiagTypeWord;
    const bool stringGate = !diagGate && IsStringGateAddress(io.address);
    std::uint32_t stringLength = 0;
    if (!diagGate && !Admit(io, stringGate, stringLength)) return kRefused;

    if (!BoardReady(request)) return kFailed;
    if (diagGate) return ReadDiags(request);

    if (stringGate) io.count = static_cast<std::int32_t>(stringLength);
    const NuvResult result = ExchangeImage(0, io, context);
    if (stringGate) io.count = 1;
    if (result != kDone) return result;

    if (stringGate) {
        StoreString(io.value, context.receiveBuffer, stringLength);
    } else {
        StoreElement(io.value, context.receiveBuffer, MemoryTypeOf(io.locator.typeWord), io.locator.bit, context);
    }
    return kDone;
}

}  // namespace rizuz
