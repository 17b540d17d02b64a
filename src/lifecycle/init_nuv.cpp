// Function 1: puts one context into its initial state. The card is not
// touched here; the first I/O request starts it.
#include <cstdint>

#include "host/handlers.hpp"
#include "lifecycle/init_file.hpp"
#include "rizuz/host_log.hpp"

namespace rizuz {
namespace {

constexpr std::uint32_t kDefaultTimeoutMs = 1000;
constexpr std::uint32_t kMsPerTick = 10;

// The host counts in ticks of 10 ms. The product is formed in 32 bits, as the
// 32-bit driver always has, so a huge tick count wraps instead of overflowing.
std::uint32_t ExchangeTimeout(std::uint32_t timeoutTicks) {
    if (timeoutTicks == 0) return kDefaultTimeoutMs;
    return static_cast<std::uint32_t>(timeoutTicks * kMsPerTick);
}

}  // namespace

NuvResult InitNuv(const DriverRequest& request) {
    DriverContext& context = *request.context;

    // __DATE__ ("Aug  2 1999") and __TIME__ ("14:44:50") are the stamp's exact
    // format; with SOURCE_DATE_EPOCH set the compiler takes them from there.
    err(kDetail, "RIZUZ> version compiled on %s and time %s", __DATE__, __TIME__);

    ReadInitFile(context, request.instance);

    const auto& params = *static_cast<const InitParams*>(request.params);
    context.timeout = ExchangeTimeout(params.timeoutTicks);
    // Shown as the 32-bit signed number the host's %ld would show.
    err(kEvent, "RIZUZ> Timeout set to %ld msec", static_cast<long>(static_cast<std::int32_t>(context.timeout)));

    context.shutDown = 0;
    context.commRunning = 0;
    context.boardOpened = 0;
    context.diagMessageNumber = 0;

    err(kEvent, "RIZUZ> Palvex Profibus DP driver (Hilscher card) 32 bit");
    return kDone;
}

}  // namespace rizuz
