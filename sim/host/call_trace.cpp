#include "call_trace.hpp"

#include <initializer_list>

#include "text.hpp"

namespace nuvhost {

namespace {

// The names of the arguments after the card number, in the order the soft
// card logs them; the ones naming a buffer are logged as null or not.
struct Signature {
    std::initializer_list<const char*> names;
    std::initializer_list<unsigned> buffers;  // positions in `names`
};

Signature SignatureOf(softcard::Call call) {
    using softcard::Call;
    switch (call) {
        case Call::GetBoardInfo: return {{"size", "reply"}, {1}};
        case Call::InitBoard: return {{"reserved"}, {0}};
        case Call::PutMessage: return {{"message", "timeout"}, {0}};
        case Call::GetMessage: return {{"size", "message", "timeout"}, {1}};
        case Call::GetInfo: return {{"kind", "size", "reply"}, {2}};
        case Call::ExchangeIO:
            return {{"sendOffset", "sendSize", "sendData", "receiveOffset", "receiveSize", "receiveData", "timeout"},
                    {2, 5}};
        case Call::ReadSendData: return {{"offset", "size", "buffer"}, {2}};
        case Call::SetHostState: return {{"mode", "timeout"}, {}};
        default: return {{}, {}};
    }
}

bool IsBuffer(const Signature& signature, unsigned position) {
    for (const unsigned b : signature.buffers) {
        if (b == position) return true;
    }
    return false;
}

}  // namespace

std::string FormatCardCall(const softcard::CallRecord& record) {
    const Signature signature = SignatureOf(record.call);
    std::string line = std::string(softcard::CallName(record.call)) + "(card=" + std::to_string(record.card);
    unsigned position = 0;
    for (const char* name : signature.names) {
        if (position >= record.args.size()) break;
        const std::uint32_t arg = record.args[position];
        line += std::string(", ") + name + "=" +
                (IsBuffer(signature, position) ? (arg != 0 ? "buffer" : "null") : std::to_string(arg));
        ++position;
    }
    line += ") = " + std::to_string(record.result);
    if (!record.sent.empty()) line += "  sent " + HexBytes(record.sent);
    if (!record.received.empty()) line += "  received " + HexBytes(record.received);
    return line;
}

}  // namespace nuvhost
