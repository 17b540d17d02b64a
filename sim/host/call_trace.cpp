#include "call_trace.hpp"

#include <span>

#include "text.hpp"

namespace nuvhost {

namespace {

// The arguments after the card number, in the order the soft card logs them.
// The log records a buffer only as null or not.
struct Argument {
    const char* name;
    bool buffer;
};

constexpr Argument kBoardInfo[] = {{"size", false}, {"reply", true}};
constexpr Argument kInitBoard[] = {{"reserved", true}};
constexpr Argument kPutMessage[] = {{"message", true}, {"timeout", false}};
constexpr Argument kGetMessage[] = {{"size", false}, {"message", true}, {"timeout", false}};
constexpr Argument kGetInfo[] = {{"kind", false}, {"size", false}, {"reply", true}};
constexpr Argument kExchangeIO[] = {{"sendOffset", false},   {"sendSize", false},    {"sendData", true},
                                    {"receiveOffset", false}, {"receiveSize", false}, {"receiveData", true},
                                    {"timeout", false}};
constexpr Argument kReadSendData[] = {{"offset", false}, {"size", false}, {"buffer", true}};
constexpr Argument kSetHostState[] = {{"mode", false}, {"timeout", false}};

// By call, in ordinal order.
constexpr std::span<const Argument> kArguments[softcard::kCallCount] = {
    {}, {}, kBoardInfo, kInitBoard, {}, kPutMessage, kGetMessage, kGetInfo, kExchangeIO, kReadSendData, kSetHostState,
};

}  // namespace

std::string FormatCardCall(const softcard::CallRecord& record) {
    const std::span<const Argument> arguments = kArguments[static_cast<unsigned>(record.call)];
    std::string line = std::string(softcard::CallName(record.call)) + "(card=" + std::to_string(record.card);
    for (std::size_t i = 0; i < record.args.size() && i < arguments.size(); ++i) {
        const std::uint32_t value = record.args[i];
        line += std::string(", ") + arguments[i].name + "=" +
                (arguments[i].buffer ? (value != 0 ? "buffer" : "null") : std::to_string(value));
    }
    line += ") = " + std::to_string(record.result);
    if (!record.sent.empty()) line += "  sent " + HexBytes(record.sent);
    if (!record.received.empty()) line += "  received " + HexBytes(record.received);
    return line;
}

}  // namespace nuvhost
