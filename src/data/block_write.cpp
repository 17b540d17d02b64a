// Function 10: a block of elements from the host's packed array into the
// output area, staged whole and written with one exchange.
#include <cstring>

#include "address/string_length.hpp"
#include "data/conversions.hpp"
#include "data/element_copy.hpp"
#include "data/exchange_image.hpp"
#include "data/transfer_checks.hpp"
#include "host/handlers.hpp"
#include "lifecycle/start_board.hpp"
#include "rizuz/host_log.hpp"
#include "rizuz/memory_type.hpp"

namespace rizuz {
namespace {

constexpr const char* kFunction = "BlockWrite";
constexpr std::int32_t kBitsPerWord = 16;

}  // namespace

NuvResult BlockWrite(const DriverRequest& request) {
    auto& io = *static_cast<GateIo*>(request.params);
    DriverContext& context = *request.context;
    // These refusals never start the board.
    if (io.locator.typeWord == kDiagTypeWord) {
        err(kDetail, "RIZUZ> BlockWrite() DIAG gates, no write supported");
        return kRefused;
    }
    if (AreaOf(io.locator.typeWord) == 'R') return kRefused;
    if (IsStringGateAddress(io.address)) {
        err(kEvent, "RIZUZ> No block write allowed for string gates!");
        return kRefused;
    }
    const std::uint32_t memoryType = MemoryTypeOf(io.locator.typeWord);
    // A count of 0 would reach the exchange as write size 0, which is a read.
    if (!AdmitMemoryType(kFunction, memoryType) || !AdmitTransfer(kFunction, io.count, TypeSize[memoryType])) {
        return kRefused;
    }

    if (!BoardReady(request)) return kFailed;

    const unsigned elementSize = TypeSize[memoryType];
    auto elements = static_cast<std::size_t>(io.count);
    // A 16-bit block with a bit number holds its digital values packed 16 to a
    // word, and the words go out like those of any 16-bit block.
    if (elementSize == 2 && io.locator.bit != -1) {
        if (io.count % kBitsPerWord != 0) {
            err(kEvent, "RIZUZ> Bit BW wrong Block size = %d", static_cast<int>(io.count));
            return kRefused;
        }
        elements /= kBitsPerWord;
    }

    const auto* host = static_cast<const std::uint8_t*>(io.value);
    const bool swap = FlagOn(context.swap);
    switch (elementSize) {
        case 1: std::memcpy(context.sendBuffer, host, elements); break;  // BOOL bytes too, as they stand
        case 2: CopyElements16(context.sendBuffer, host, elements, swap); break;
        default:
            HostToCard32(context.sendBuffer, host, elements, swap, memoryType == kFloat32 && FlagOn(context.convert));
            break;
    }
    return ExchangeImage(static_cast<std::uint16_t>(elements * elementSize), io, context);
}

}  // namespace rizuz
