// Runs PARSE or ParseE the way SingleParse and BlockParse do, on a guarded copy
// of the address, and keeps everything the call left behind.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "address/parse.hpp"
#include "guarded_text.hpp"
#include "recording_sink.hpp"
#include "rizuz/host_log.hpp"

namespace rizuz::testing {

using LocatorWords = std::array<std::int32_t, 5>;  // slave, typeWord, offset, bit, width

// What the host's record holds before the parser runs; a word that still
// holds it afterwards was not written.
inline constexpr std::int32_t kUntouched = 0x7E57;
inline constexpr GateLocator kUntouchedLocator{kUntouched, kUntouched, kUntouched, kUntouched, kUntouched};

inline LocatorWords Words(const GateLocator& l) { return {l.slave, l.typeWord, l.offset, l.bit, l.width}; }

struct ParseOutcome {
    NuvResult result;
    LocatorWords locator;
    std::string hostText;  // the host's address text after the call
    std::vector<LoggedMessage> messages;
};

inline ParseOutcome RunParser(NuvResult (*parser)(const DriverRequest&), const std::string& address) {
    GuardedText text(address);
    GateDefinition definition{};
    definition.address = text.data();
    definition.locator = kUntouchedLocator;
    DriverRequest request{nullptr, 3, 1, 0, &definition};  // the parsers never look at the context
    ClearMessages();
    const NuvResult result = parser(request);
    return {result, Words(definition.locator), text.data(), Messages()};
}

// One row of a parser table: an accepted address with its locator, or a
// refused one with its message.
struct ParseCase {
    const char* address;
    LocatorWords locator;
    const char* message;  // null when accepted
};

inline ParseCase Accepts(const char* address, LocatorWords locator) { return {address, locator, nullptr}; }
inline ParseCase Refuses(const char* address, const char* message) { return {address, {}, message}; }

inline std::string UpperCased(std::string text) {
    for (char& c : text) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    return text;
}

inline void ExpectParses(NuvResult (*parser)(const DriverRequest&), const ParseCase& c) {
    SCOPED_TRACE(c.address);
    const ParseOutcome outcome = RunParser(parser, c.address);
    EXPECT_EQ(outcome.hostText, UpperCased(c.address));
    if (c.message == nullptr) {
        EXPECT_EQ(outcome.result, kDone);
        EXPECT_EQ(outcome.locator, c.locator);
        EXPECT_EQ(outcome.messages, std::vector<LoggedMessage>{});
    } else {
        EXPECT_EQ(outcome.result, kRefused);
        // A refused address leaves no half-written locator behind.
        EXPECT_EQ(outcome.locator, Words(kUntouchedLocator));
        EXPECT_EQ(outcome.messages, (std::vector<LoggedMessage>{{kEvent, c.message}}));
    }
}

}  // namespace rizuz::testing
