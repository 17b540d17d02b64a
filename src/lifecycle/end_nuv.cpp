// Function 11: the host's last call for a context.
#include "host/handlers.hpp"
#include "rizuz/card_library.hpp"
#include "rizuz/host_log.hpp"

namespace rizuz {

NuvResult EndNuv(const DriverRequest& request) {
    DriverContext& context = *request.context;
    // First, whatever follows: from here on the reads are refused.
    context.shutDown = 1;
    const std::uint16_t card = context.card;

    if (const CardCode rc = DevSetHostState(card, kHostNotReady, kHostStateTimeoutMs); rc != 0) {
        // The card may still be exchanging data for the host: leave it and the
        // device driver as they are.
        err(kEvent, "RIZUZ> Error trying to deactivate application (DevSetHostState) rc=%d", static_cast<int>(rc));
        return kFailed;
    }
    err(kEvent, "RIZUZ> Deactivated application successfuly");

    if (const CardCode rc = DevExitBoard(card); rc == 0) {
        err(kEvent, "RIZUZ> EndNuv exited board succeessfuly");
    } else {
        err(kEvent, "RIZUZ> EndNuv error when exiting board(DevExitBoard), rc=%d", static_cast<int>(rc));
    }
    // Closed in either case: nothing else will release the driver.
    if (const CardCode rc = DevCloseDriver(card); rc == 0) {
        err(kEvent, "RIZUZ> EndNuv closed CIF driver succeessfuly");
    } else {
        err(kEvent, "RIZUZ> EndNuv error when closing CIF driver(DevCloseDriver), rc=%d", static_cast<int>(rc));
    }
    return kDone;
}

}  // namespace rizuz
