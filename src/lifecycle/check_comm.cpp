// Function 2: whether the card communicates, after making sure of start-up.
#include "host/handlers.hpp"
#include "lifecycle/comm_bit.hpp"
#include "lifecycle/start_board.hpp"

namespace rizuz {

NuvResult CheckComm(const DriverRequest& request) {
    if (!BoardReady(request)) return kFailed;
    const CommBitReading bit = ReadCommBit(request.context->card);
    if (!bit.read || bit.on) return kDone;  // an unreadable bit is reported but does not fail the check
    // The bit may drop after start-up and come back: function 2 reports it as
    // detail and leaves communication marked as running.
    ReportCommBitOff(kDetail);
    return kFailed;
}

}  // namespace rizuz
