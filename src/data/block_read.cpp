// Function 6: a block of elements into the host's packed array, each in its
// own width, with one exchange.
#include <cstring>

#include "data/conversions.hpp"
#include "data/element_copy.hpp"
#include "data/exchange_image.hpp"
#include "data/transfer_checks.hpp"
#include "diag/read_diags.hpp"
#include "host/handlers.hpp"
#include "lifecycle/start_board.hpp"
#include "rizuz/memory_type.hpp"

namespace rizuz {
namespace {

constexpr const char* kFunction = "BlockRead";

}  // namespace

NuvResult BlockRead(const DriverRequest& request) {
    auto& io = *static_cast<GateIo*>(request.params);
    DriverContext& context = *request.context;
    const bool diagBlock = io.locator.typeWord == kDiagTypeWord;
    const std::uint32_t memoryType = MemoryTypeOf(io.locator.typeWord);
    if (!diagBlock &&
        !(AdmitMemoryType(kFunction, memoryType) && AdmitTransfer(kFunction, io.count, TypeSize[memoryType]))) {
        return kRefused;
    }

    if (!BoardReady(request)) return kFailed;
    if (diagBlock) return ReadDiags(request);

    const NuvResult result = ExchangeImage(0, io, context);
    if (result != kDone) return result;

    // A bit block is read like any other block of its type: whole elements.
    auto* host = static_cast<std::uint8_t*>(io.value);
    const auto count = static_cast<std::size_t>(io.count);
    const bool swap = FlagOn(context.swap);
    switch (TypeSize[memoryType]) {
        case 1: std::memcpy(host, context.receiveBuffer, count); break;
        case 2: CopyElements16(host, context.receiveBuffer, count, swap); break;
        default:
            CardToHost32(host, context.receiveBuffer, count, swap,
                         memoryType == kFloat32 && FlagOn(context.convert));
            break;
    }
    return kDone;
}

}  // namespace rizuz
