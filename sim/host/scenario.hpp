// A scenario as nuvhost runs it: one step per request line, each with the
// expectations written on it or on the lines after it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include "soft_card.hpp"
#include "value_format.hpp"

namespace nuvhost {

// --- requests to the driver ------------------------------------------------
struct InfoRequest {};                                  // function 14
struct InitRequest { std::uint32_t timeoutTicks = 0; }; // function 1
struct DefineGate {                                     // function 3
    std::string name;
    std::string address;
    std::int32_t gateType;
};
struct DefineBlock {                                    // function 4
    std::string name;
    std::string address;
    std::int32_t count;
};
struct ReadRequest { std::string name; };               // function 5 or 6
struct WriteRequest {                                   // function 7 or 10
    std::string name;
    Value value;
};
struct RawReadRequest {                                 // function 17
    bool input;
    std::uint32_t offset;
    std::uint32_t count;
};
struct RawWriteRequest {                                // function 18
    bool input;
    std::uint32_t offset;
    std::vector<std::uint8_t> bytes;
};
struct CheckRequest {};                                 // function 2
struct ShutdownRequest {};                              // function 11
struct AnyFunction { std::uint32_t function; };         // any number, for the empty slots

// --- soft card control ------------------------------------------------------
struct CardPut {
    bool input;
    std::uint32_t offset;
    std::vector<std::uint8_t> bytes;
};
struct CardLoopback { bool on; };
struct CardComm { softcard::CommBit mode; };
struct CardFail {
    softcard::Call call;
    std::int16_t code;
    unsigned nth;    // 1 = the very next call
    unsigned times;  // softcard::kForever for always
};
struct CardHeal {};
struct CardSlaveDiag {
    unsigned slave;
    bool absent;  // no slave at this address
    std::vector<std::uint8_t> bytes;
};
struct CardCheck {};  // a line that only checks the card ("expect card ...")

using Action = std::variant<InfoRequest, InitRequest, DefineGate, DefineBlock, ReadRequest, WriteRequest,
                            RawReadRequest, RawWriteRequest, CheckRequest, ShutdownRequest, AnyFunction, CardPut,
                            CardLoopback, CardComm, CardFail, CardHeal, CardSlaveDiag, CardCheck>;

template <typename T>
inline constexpr bool kIsCardAction =
    std::is_same_v<T, CardPut> || std::is_same_v<T, CardLoopback> || std::is_same_v<T, CardComm> ||
    std::is_same_v<T, CardFail> || std::is_same_v<T, CardHeal> || std::is_same_v<T, CardSlaveDiag> ||
    std::is_same_v<T, CardCheck>;

// Card lines act on the soft card; every other line is a request to the driver.
inline bool IsCardAction(const Action& action) {
    return std::visit([](const auto& a) { return kIsCardAction<std::decay_t<decltype(a)>>; }, action);
}

struct Expectation {
    enum class Kind {
        Result,     // expect done | refused | failed | result N
        AnyResult,  // expect any
        Value,      // expect VALUE [within TOLERANCE]
        Log,        // expect log CLASS "text" | expect log CLASS like "pattern"
        NoLog,      // expect no log
        CardBytes,  // expect card input|output OFFSET BYTES
    };
    Kind kind;
    int line;
    std::string source;  // the expectation as written, for reports
    std::int32_t result = 0;
    Value value;
    double tolerance = 0;
    int msgClass = 0;
    std::string text;
    bool pattern = false;
    bool input = false;
    std::uint32_t offset = 0;
    std::vector<std::uint8_t> bytes;
};

struct Step {
    int line;
    std::string source;  // the request as written
    Action action;
    ValueShape shape;    // of the value a read, write or info shows
    std::vector<Expectation> expectations;
};

struct Scenario {
    std::string file;
    std::vector<Step> steps;
};

}  // namespace nuvhost
