// Function 2: whether the card communicates, after making sure of start-up.
#include "host/handlers.hpp"
#include "lifecycle/comm_bit.hpp"
#include "lifecycle/start_board.hpp"

namespace rizuz {

NuvResult CheckComm(const DriverRequest& request) {
    if (!BoardReady(request)) return kFailed;
    const CommBitReading bit = ReadCommBit(request.context->card);
    if (!bit.read || bit.on) return kDone;  // an unreadable bit is reported but does not fail the check
    // Once running, a bit that is off is a passing state worth a detail line:
    // communication stays marked as running.
    ReportCommBitOff(kDetail);
    return kFailed;
}

}  // namespace rizuz
