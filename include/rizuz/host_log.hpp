// The host library's message function. The driver calls it directly; the DLL
// imports it by name from PALKIT.dll, the shared object leaves it undefined for
// the loading process to supply.
#pragma once

extern "C" int err(int msgClass, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 2, 3)))
#endif
    ;

namespace rizuz {

// The host shows class 8 as detail (progress, retries) and class 32 as events.
enum MessageClass : int {
    kDetail = 8,
    kEvent = 32,
};

}  // namespace rizuz
