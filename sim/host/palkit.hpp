// The stand-in of the host library PALKIT: the driver's `err` formats each
// message and hands it, with its class, to the one sink the host program set.
// Linked into nuvhost on Linux (the executable exports `err` to the driver);
// built as PALKIT.dll for Windows, where nuvhost.exe sets its sink through the
// DLL's second export.
#pragma once

// PALKIT.dll takes its exports from its .def file (platform/win32).
#if defined(_WIN32)
#define PALKIT_API
#else
#define PALKIT_API __attribute__((visibility("default")))
#endif

extern "C" {

using PalkitSink = void (*)(int msgClass, const char* text, void* user);

// Every later message goes to `sink`; null drops them.
PALKIT_API void PalkitSetSink(PalkitSink sink, void* user);

}  // extern "C"
