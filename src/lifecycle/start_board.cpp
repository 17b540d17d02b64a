// The lazy start-up of the card, run by every I/O function while
// communication is not running.
#include "lifecycle/start_board.hpp"

#include "lifecycle/board_report.hpp"
#include "lifecycle/comm_bit.hpp"
#include "rizuz/card_library.hpp"
#include "rizuz/host_log.hpp"

namespace rizuz {
namespace {

// Once per context until it succeeds: open the device driver, initialise the
// board and log its report. A failure leaves boardOpened at 0, so the next
// request starts again at DevOpenDriver.
NuvResult OpenBoard(DriverContext& context) {
    const std::uint16_t card = context.card;
    err(kDetail, "RIZUZ> Info: About to open device driver");
    if (const CardCode rc = DevOpenDriver(card); rc != 0) {
        err(kEvent, "RIZUZ> Error trying to open device driver (DevOpenDriver) rc=%d", static_cast<int>(rc));
        return kFailed;
    }
    err(kDetail, "RIZUZ> Info: Opening device driver, successful (DevOpenDriver)");
    if (const CardCode rc = DevInitBoard(card, nullptr); rc != 0) {
        err(kEvent, "RIZUZ> Error trying init board (DevInitBoard) for card %d, rc=%d", static_cast<int>(card),
            static_cast<int>(rc));
        return kFailed;
    }
    err(kDetail, "RIZUZ> Info: CIF board initialisation, successful (DevInitBoard)");
    if (!ReportBoard(card)) return kFailed;
    context.boardOpened = 1;
    return kDone;
}

// On every request until it succeeds: signal host ready and see the
// communication bit on.
NuvResult StartCommunication(DriverContext& context) {
    const std::uint16_t card = context.card;
    if (const CardCode rc = DevSetHostState(card, kHostReady, kHostStateTimeoutMs); rc != 0) {
        err(kEvent, "RIZUZ> Error trying to activate application (DevSetHostState) rc=%d", static_cast<int>(rc));
        return kFailed;
    }
    const CommBitReading bit = ReadCommBit(card);
    // An unreadable bit lets the request go on; communication counts as not
    // running, so the next request looks again.
    if (!bit.read) return kDone;
    if (!bit.on) {
        ReportCommBitOff(kEvent);
        return kFailed;
    }
    context.commRunning = 1;
    return kDone;
}

}  // namespace

NuvResult StartBoard(const DriverRequest& request) {
    DriverContext& context = *request.context;
    if (context.boardOpened == 0 && OpenBoard(context) != kDone) return kFailed;
    return StartCommunication(context);
}

}  // namespace rizuz
