// Function 17: plain bytes of the input area, or read back from the output
// area, into the host's byte buffer.
#include <cstring>

#include "data/exchange_image.hpp"
#include "data/raw_area.hpp"
#include "data/transfer_checks.hpp"
#include "host/handlers.hpp"
#include "lifecycle/start_board.hpp"

namespace rizuz {

NuvResult RawRead(const DriverRequest& request) {
    auto& io = *static_cast<GateIo*>(request.params);
    DriverContext& context = *request.context;
    if (!AdmitTransfer("RawRead", io.count, 1)) return kRefused;
    if (!BoardReady(request)) return kFailed;

    // The host's selector is replaced for good: a second call with the same
    // record reads the output area unless the host sets 'I' again.
    io.locator.typeWord = MakeTypeWord(kRawElementType, io.locator.typeWord == kInputSelector ? 'R' : 'S');
    io.locator.width = kRawWidth;
    const NuvResult result = ExchangeImage(0, io, context);
    if (result != kDone) return result;
    std::memcpy(io.value, context.receiveBuffer, static_cast<std::size_t>(io.count));
    return kDone;
}

}  // namespace rizuz
