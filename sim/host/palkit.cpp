#include "palkit.hpp"

#include <cstdarg>
#include <cstdio>
#include <string>

#include "rizuz/host_log.hpp"

namespace {

// The one piece of state the stand-in needs: where messages go. The driver
// calls err on the host's thread only.
struct Sink {
    PalkitSink function = nullptr;
    void* user = nullptr;
};

Sink& TheSink() {
    static Sink sink;
    return sink;
}

}  // namespace

extern "C" PALKIT_API void PalkitSetSink(PalkitSink sink, void* user) { TheSink() = Sink{sink, user}; }

// Defined in the executable, this err comes before the C library's function
// of that name when the driver's undefined err is bound.
extern "C" PALKIT_API int err(int msgClass, const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    std::string text(length > 0 ? static_cast<std::size_t>(length) : 0u, '\0');
    if (length > 0) std::vsnprintf(text.data(), text.size() + 1, format, args);
    va_end(args);
    const Sink& sink = TheSink();
    if (sink.function != nullptr) sink.function(msgClass, text.c_str(), sink.user);
    return 0;
}
