#include "driver_loader.hpp"

#include <filesystem>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace nuvhost {

namespace {

#if defined(_WIN32)
constexpr const char* kDriverFile = "rizuz.dll";

std::filesystem::path RunningBinary() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::filesystem::path(std::string(path, length));
}
#else
constexpr const char* kDriverFile = "librizuz.so";

std::filesystem::path RunningBinary() {
    std::error_code ignored;
    return std::filesystem::read_symlink("/proc/self/exe", ignored);
}
#endif

}  // namespace

std::string DefaultDriverPath() {
    const std::filesystem::path binary = RunningBinary();
    if (binary.empty()) return kDriverFile;
    return (binary.parent_path() / kDriverFile).string();
}

std::optional<LoadedDriver> LoadDriver(const std::string& path, std::string& error) {
#if defined(_WIN32)
    HMODULE library = LoadLibraryA(path.c_str());
    if (library == nullptr) {
        error = "cannot load " + path + " (Windows error " + std::to_string(GetLastError()) + ")";
        return std::nullopt;
    }
    FARPROC symbol = GetProcAddress(library, "NuvMain");
    if (symbol == nullptr) {
        error = path + " has no export NuvMain";
        return std::nullopt;
    }
    return LoadedDriver{path, reinterpret_cast<NuvMainEntry>(reinterpret_cast<void*>(symbol))};
#else
    // A path without a slash would make dlopen search the library path instead.
    const std::string file = path.find('/') == std::string::npos ? "./" + path : path;
    void* library = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char* reason = dlerror();
        error = "cannot load " + path + ": " + (reason != nullptr ? reason : "unknown reason");
        return std::nullopt;
    }
    void* symbol = dlsym(library, "NuvMain");
    if (symbol == nullptr) {
        error = path + " has no export NuvMain";
        return std::nullopt;
    }
    return LoadedDriver{path, reinterpret_cast<NuvMainEntry>(symbol)};
#endif
}

}  // namespace nuvhost
