// The host's message function for tests: keeps every message the driver sends,
// with its class and its formatted text, in order.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace rizuz::testing {

struct LoggedMessage {
    int msgClass;
    std::string text;
    bool operator==(const LoggedMessage&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const LoggedMessage& m) {
    return out << "[" << m.msgClass << "] " << m.text;
}

const std::vector<LoggedMessage>& Messages();
void ClearMessages();
// Texts only, for tests that do not care about classes.
std::vector<std::string> MessageTexts();

}  // namespace rizuz::testing
