// The handler of each function number; an empty slot is a number the host may
// send but the driver does not support.
#pragma once

#include <array>
#include <cstdint>

#include "host/handlers.hpp"

namespace rizuz {

using Handler = NuvResult (*)(const DriverRequest&);

inline constexpr std::uint32_t kFirstFunction = 1;
inline constexpr std::uint32_t kLastFunction = 18;

// Indexed by function number; slot 0 is never used.
inline constexpr std::array<Handler, kLastFunction + 1> FunctionTable = {
    nullptr,        //  0: out of range
    InitNuv,        //  1
    CheckComm,      //  2
    SingleParse,    //  3
    BlockParse,     //  4
    SingleRead,     //  5: refused after shut down
    BlockRead,      //  6: refused after shut down
    SingleWrite,    //  7
    nullptr,        //  8
    nullptr,        //  9
    BlockWrite,     // 10
    EndNuv,         // 11
    nullptr,        // 12
    nullptr,        // 13
    GetDriverInfo,  // 14
    nullptr,        // 15
    nullptr,        // 16
    RawRead,        // 17
    RawWrite,       // 18
};

}  // namespace rizuz
