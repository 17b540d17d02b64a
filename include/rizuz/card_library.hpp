// Our own declarations of the eleven calls of the card driver library. The DLL
// imports them by ordinal from CIF95DLL.dll (see platform/win32/CIF95DLL.def);
// the shared object leaves them undefined; tests link the soft card.
//
// Every call uses the Win32 standard calling convention on 32-bit x86, takes
// each argument in one 32-bit slot and answers a 16-bit code, 0 for success.
#pragma once

#include <cstdint>

#include "rizuz/platform.hpp"

extern "C" {

using CardCode = std::int16_t;

CardCode RIZUZ_STDCALL DevOpenDriver(std::uint16_t card);                                          // ordinal 1
CardCode RIZUZ_STDCALL DevCloseDriver(std::uint16_t card);                                         // ordinal 2
CardCode RIZUZ_STDCALL DevGetBoardInfo(std::uint16_t card, std::uint16_t size, void* reply);       // ordinal 3
CardCode RIZUZ_STDCALL DevInitBoard(std::uint16_t card, void* reserved);                           // ordinal 4
CardCode RIZUZ_STDCALL DevExitBoard(std::uint16_t card);                                           // ordinal 5
CardCode RIZUZ_STDCALL DevPutMessage(std::uint16_t card, void* message, std::uint32_t timeout);    // ordinal 8
CardCode RIZUZ_STDCALL DevGetMessage(std::uint16_t card, std::uint16_t size, void* message,
                                     std::uint32_t timeout);                                       // ordinal 9
CardCode RIZUZ_STDCALL DevGetInfo(std::uint16_t card, std::uint16_t kind, std::uint16_t size,
                                  void* reply);                                                    // ordinal 12
CardCode RIZUZ_STDCALL DevExchangeIO(std::uint16_t card, std::uint16_t sendOffset, std::uint16_t sendSize,
                                     void* sendData, std::uint16_t receiveOffset,
                                     std::uint16_t receiveSize, void* receiveData,
                                     std::uint32_t timeout);                                       // ordinal 14
CardCode RIZUZ_STDCALL DevReadSendData(std::uint16_t card, std::uint16_t offset, std::uint16_t size,
                                       void* buffer);                                              // ordinal 15
CardCode RIZUZ_STDCALL DevSetHostState(std::uint16_t card, std::uint16_t mode, std::uint32_t timeout); // ordinal 16

}  // extern "C"

namespace rizuz {

// Kinds of DevGetInfo and the reply sizes the driver asks for.
enum CardInfoKind : std::uint16_t {
    kVersionInfo = 2,   // 32 bytes
    kFirmwareInfo = 3,  // 32 bytes
    kDeviceInfo = 6,    // 6 bytes
    kIoInfo = 7,        // 6 bytes; byte 0 is the communication bit
};

inline constexpr std::uint16_t kBoardInfoSize = 56;
inline constexpr std::uint16_t kHostReady = 1;
inline constexpr std::uint16_t kHostNotReady = 0;
inline constexpr std::uint32_t kHostStateTimeoutMs = 5000;

}  // namespace rizuz
