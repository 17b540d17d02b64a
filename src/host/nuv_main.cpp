// Where every request of the host enters the driver.
#include "rizuz/nuv_main.hpp"

#include "host/function_table.hpp"
#include "rizuz/host_log.hpp"

using namespace rizuz;

namespace {

bool IsRefusedAfterShutDown(std::uint32_t function) { return function == 5 || function == 6; }

}  // namespace

extern "C" NuvResult RIZUZ_STDCALL NuvMain(DriverRequest* request) {
    if (request == nullptr) return kFailed;  // nothing to answer; the host never does this
    const std::uint32_t function = request->function;

    // %d shows the number as the host's signed word, so -1 reads as -1.
    if (function < kFirstFunction || function > kLastFunction) {
        err(kEvent, "RIZUZ> NuvMain, unrecognized function number %d", static_cast<int>(function));
        return kFailed;
    }
    const Handler handler = FunctionTable[function];
    if (handler == nullptr) {
        err(kEvent, "RIZUZ> NuvMain, function number %d not supported", static_cast<int>(function));
        return kFailed;
    }
    // Only here does the dispatcher look at the context: function 14 arrives before one exists.
    if (IsRefusedAfterShutDown(function) && request->context != nullptr && request->context->shutDown != 0) {
        err(kEvent, "RIZUZ> Call to %d after shut down !", static_cast<int>(function));
        return kRefused;
    }
    return handler(*request);
}
