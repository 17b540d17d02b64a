#include "recording_sink.hpp"

#include <cstdarg>
#include <cstdio>

namespace rizuz::testing {
namespace {

std::vector<LoggedMessage>& Store() {
    static std::vector<LoggedMessage> messages;
    return messages;
}

}  // namespace

const std::vector<LoggedMessage>& Messages() { return Store(); }
void ClearMessages() { Store().clear(); }

std::vector<std::string> MessageTexts() {
    std::vector<std::string> texts;
    for (const auto& m : Store()) texts.push_back(m.text);
    return texts;
}

}  // namespace rizuz::testing

// Defined here, this err comes before the C library's function of that name.
extern "C" int err(int msgClass, const char* format, ...) {
    char text[2048];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    rizuz::testing::Store().push_back({msgClass, text});
    return 0;
}
