// Calling-convention and visibility macros shared by the driver and its seams.
#pragma once

// The host and the card library both use the Win32 standard calling convention
// (callee pops its arguments). It only exists on 32-bit x86; elsewhere the
// platform default is the only convention there is.
#if defined(__i386__) || defined(_M_IX86)
#define RIZUZ_STDCALL __attribute__((stdcall))
#else
#define RIZUZ_STDCALL
#endif

// The shared object exports NuvMain and nothing else; the DLL gets the same
// effect from its .def file.
#if defined(_WIN32)
#define RIZUZ_EXPORT
#else
#define RIZUZ_EXPORT __attribute__((visibility("default")))
#endif
