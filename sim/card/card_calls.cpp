// The eleven calls of the card driver library, served from the soft card's state.
#include <algorithm>
#include <cstring>
#include <initializer_list>

#include "dp_master.hpp"
#include "rizuz/card_library.hpp"
#include "soft_card_state.hpp"

namespace softcard {
namespace {

std::uint32_t Pointer(const void* p) { return p != nullptr ? 1u : 0u; }

void Keep(std::vector<std::uint8_t>* into, const void* bytes, std::size_t size) {
    if (into == nullptr || bytes == nullptr) return;
    const auto* p = static_cast<const std::uint8_t*>(bytes);
    into->assign(p, p + size);
}

// Counts the call, lets an injected fault answer instead of the card, and logs
// the call with the bytes the body moved. The body sees null record pointers
// when nothing is logged, so it copies nothing for the log then.
template <typename Body>
CardCode Serve(Call call, std::uint16_t card, std::initializer_list<std::uint32_t> args, Body&& body) {
    State& s = TheCard();
    ++s.counts[static_cast<unsigned>(call)];
    const bool logging = s.logOn;
    CallRecord record{call, card, {}, 0, {}, {}};
    std::int16_t code = 0;
    if (!ConsumeFault(call, code)) {
        if (card >= kBoardCount) {
            code = kNoSuchBoard;
        } else {
            code = body(s.boards[card], logging ? &record.sent : nullptr, logging ? &record.received : nullptr);
        }
    }
    if (logging) {
        record.args.assign(args);
        record.result = code;
        Record(std::move(record));
    }
    return code;
}

bool Fits(std::uint32_t offset, std::uint32_t size) { return offset + size <= kAreaSize; }

std::uint8_t CommunicationBit(const Board& b) {
    switch (b.commBit) {
        case CommBit::On: return 1;
        case CommBit::Off: return 0;
        case CommBit::FollowHostReady: break;
    }
    return b.hostReady ? 1 : 0;
}

CardCode CopyReply(const void* reply, std::size_t replySize, std::uint16_t size, void* buffer,
                   std::vector<std::uint8_t>* received) {
    if (buffer == nullptr) return kBadArgument;
    const std::size_t n = std::min<std::size_t>(size, replySize);
    std::memcpy(buffer, reply, n);
    Keep(received, buffer, n);
    return kOk;
}

}  // namespace
}  // namespace softcard

using namespace softcard;

extern "C" {

CardCode RIZUZ_STDCALL DevOpenDriver(std::uint16_t card) {
    return Serve(Call::OpenDriver, card, {}, [](Board& b, auto*, auto*) -> CardCode {
        b.driverOpen = true;  // opening an open driver again is harmless
        return kOk;
    });
}

CardCode RIZUZ_STDCALL DevCloseDriver(std::uint16_t card) {
    return Serve(Call::CloseDriver, card, {}, [](Board& b, auto*, auto*) -> CardCode {
        if (!b.driverOpen) return kDriverNotOpen;
        b.driverOpen = b.initialised = b.hostReady = false;
        return kOk;
    });
}

CardCode RIZUZ_STDCALL DevGetBoardInfo(std::uint16_t card, std::uint16_t size, void* reply) {
    return Serve(Call::GetBoardInfo, card, {size, Pointer(reply)}, [&](Board& b, auto*, auto* received) -> CardCode {
        if (!b.driverOpen) return kDriverNotOpen;
        return CopyReply(b.replies.boardInfo.data(), b.replies.boardInfo.size(), size, reply, received);
    });
}

CardCode RIZUZ_STDCALL DevInitBoard(std::uint16_t card, void* reserved) {
    return Serve(Call::InitBoard, card, {Pointer(reserved)}, [](Board& b, auto*, auto*) -> CardCode {
        if (!b.driverOpen) return kDriverNotOpen;
        b.initialised = true;
        return kOk;
    });
}

CardCode RIZUZ_STDCALL DevExitBoard(std::uint16_t card) {
    return Serve(Call::ExitBoard, card, {}, [](Board& b, auto*, auto*) -> CardCode {
        if (!b.driverOpen) return kDriverNotOpen;
        if (!b.initialised) return kBoardNotInitialised;
        b.initialised = b.hostReady = false;
        return kOk;
    });
}

CardCode RIZUZ_STDCALL DevPutMessage(std::uint16_t card, void* message, std::uint32_t timeout) {
    return Serve(Call::PutMessage, card, {Pointer(message), timeout}, [&](Board& b, auto* sent, auto*) -> CardCode {
        if (!b.driverOpen) return kDriverNotOpen;
        if (!b.initialised) return kBoardNotInitialised;
        if (message == nullptr) return kBadArgument;
        const auto* bytes = static_cast<const std::uint8_t*>(message);
        Keep(sent, bytes, std::min<std::size_t>(kMessageSize, 8u + bytes[2]));
        return dp::OnRequest(card, bytes);
    });
}

CardCode RIZUZ_STDCALL DevGetMessage(std::uint16_t card, std::uint16_t size, void* message, std::uint32_t timeout) {
    return Serve(Call::GetMessage, card, {size, Pointer(message), timeout},
                 [&](Board& b, auto*, auto* received) -> CardCode {
                     if (!b.driverOpen) return kDriverNotOpen;
                     if (!b.initialised) return kBoardNotInitialised;
                     if (message == nullptr) return kBadArgument;
                     std::array<std::uint8_t, kMessageSize> next{};
                     if (!TakeMessage(card, next)) return kNoMessage;  // the time-out "passed"
                     const std::size_t n = std::min<std::size_t>(size, kMessageSize);
                     std::memcpy(message, next.data(), n);
                     Keep(received, next.data(), std::min<std::size_t>(n, 8u + next[2]));
                     return kOk;
                 });
}

CardCode RIZUZ_STDCALL DevGetInfo(std::uint16_t card, std::uint16_t kind, std::uint16_t size, void* reply) {
    return Serve(Call::GetInfo, card, {kind, size, Pointer(reply)}, [&](Board& b, auto*, auto* received) -> CardCode {
        if (!b.driverOpen) return kDriverNotOpen;
        if (!b.initialised) return kBoardNotInitialised;
        switch (kind) {
            case rizuz::kVersionInfo:
                return CopyReply(b.replies.version.data(), b.replies.version.size(), size, reply, received);
            case rizuz::kFirmwareInfo:
                return CopyReply(b.replies.firmware.data(), b.replies.firmware.size(), size, reply, received);
            case rizuz::kDeviceInfo:
                return CopyReply(b.replies.device.data(), b.replies.device.size(), size, reply, received);
            case rizuz::kIoInfo: {
                const std::array<std::uint8_t, 6> io{CommunicationBit(b), 0, 0, 0, 0, 0};
                return CopyReply(io.data(), io.size(), size, reply, received);
            }
            default:
                return kBadArgument;
        }
    });
}

CardCode RIZUZ_STDCALL DevExchangeIO(std::uint16_t card, std::uint16_t sendOffset, std::uint16_t sendSize,
                                     void* sendData, std::uint16_t receiveOffset, std::uint16_t receiveSize,
                                     void* receiveData, std::uint32_t timeout) {
    return Serve(Call::ExchangeIO, card,
                 {sendOffset, sendSize, Pointer(sendData), receiveOffset, receiveSize, Pointer(receiveData), timeout},
                 [&](Board& b, auto* sent, auto* received) -> CardCode {
                     if (!b.driverOpen) return kDriverNotOpen;
                     if (!b.initialised) return kBoardNotInitialised;
                     // Check both stretches before moving a byte.
                     if ((sendSize > 0 && (sendData == nullptr || !Fits(sendOffset, sendSize))) ||
                         (receiveSize > 0 && (receiveData == nullptr || !Fits(receiveOffset, receiveSize)))) {
                         return sendSize > 0 && sendData == nullptr ? kBadArgument : kOutOfArea;
                     }
                     if (sendSize > 0) {
                         std::memcpy(b.output.data() + sendOffset, sendData, sendSize);
                         if (b.loopback) std::memcpy(b.input.data() + sendOffset, sendData, sendSize);
                         Keep(sent, sendData, sendSize);
                     }
                     if (receiveSize > 0) {
                         std::memcpy(receiveData, b.input.data() + receiveOffset, receiveSize);
                         Keep(received, receiveData, receiveSize);
                     }
                     return kOk;
                 });
}

CardCode RIZUZ_STDCALL DevReadSendData(std::uint16_t card, std::uint16_t offset, std::uint16_t size, void* buffer) {
    return Serve(Call::ReadSendData, card, {offset, size, Pointer(buffer)},
                 [&](Board& b, auto*, auto* received) -> CardCode {
                     if (!b.driverOpen) return kDriverNotOpen;
                     if (!b.initialised) return kBoardNotInitialised;
                     if (size > 0 && buffer == nullptr) return kBadArgument;
                     if (!Fits(offset, size)) return kOutOfArea;
                     if (size > 0) std::memcpy(buffer, b.output.data() + offset, size);
                     Keep(received, buffer, size);
                     return kOk;
                 });
}

CardCode RIZUZ_STDCALL DevSetHostState(std::uint16_t card, std::uint16_t mode, std::uint32_t timeout) {
    return Serve(Call::SetHostState, card, {mode, timeout}, [&](Board& b, auto*, auto*) -> CardCode {
        if (!b.driverOpen) return kDriverNotOpen;
        if (!b.initialised) return kBoardNotInitialised;
        if (mode > 1) return kBadArgument;
        b.hostReady = mode == rizuz::kHostReady;
        return kOk;
    });
}

}  // extern "C"
