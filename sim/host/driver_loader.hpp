// Loads the driver the way the host does: at run time, from a file, and finds
// its one export. dlopen of librizuz.so on Linux, LoadLibrary of rizuz.dll on
// Windows. The library stays loaded until the program ends.
#pragma once

#include <optional>
#include <string>

#include "rizuz/platform.hpp"
#include "rizuz/records.hpp"

namespace nuvhost {

using NuvMainEntry = rizuz::NuvResult(RIZUZ_STDCALL*)(rizuz::DriverRequest*);

struct LoadedDriver {
    std::string path;
    NuvMainEntry entry;
};

// The driver file next to the running nuvhost binary.
std::string DefaultDriverPath();

// The driver's NuvMain, or nothing with the loader's reason in `error`.
std::optional<LoadedDriver> LoadDriver(const std::string& path, std::string& error);

}  // namespace nuvhost
