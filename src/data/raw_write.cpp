// Function 18: plain bytes from the host's buffer into the output area.
#include <cstring>

#include "data/exchange_image.hpp"
#include "data/raw_area.hpp"
#include "data/transfer_checks.hpp"
#include "host/handlers.hpp"
#include "lifecycle/start_board.hpp"

namespace rizuz {

NuvResult RawWrite(const DriverRequest& request) {
    auto& io = *static_cast<GateIo*>(request.params);
    DriverContext& context = *request.context;
    // A count of 0 would reach the exchange as write size 0, which is a read.
    if (!AdmitTransfer("RawWrite", io.count, 1)) return kRefused;
    if (!BoardReady(request)) return kFailed;

    io.locator.width = kRawWidth;
    if (io.locator.typeWord == kInputSelector) return kRefused;  // the input area belongs to the fieldbus
    io.locator.typeWord = MakeTypeWord(kRawElementType, 'S');
    std::memcpy(context.sendBuffer, io.value, static_cast<std::size_t>(io.count));
    return ExchangeImage(static_cast<std::uint16_t>(io.count), io, context);
}

}  // namespace rizuz
