// The soft card's state and its control API. The eleven library calls that
// work on this state live in card_calls.cpp.
#include "soft_card_state.hpp"

#include <algorithm>
#include <cstring>

#include "dp_master.hpp"

namespace softcard {

namespace {

void PowerOn(State& s);

}  // namespace

State& TheCard() {
    static State state = [] {
        State fresh;
        PowerOn(fresh);
        return fresh;
    }();
    return state;
}

namespace {

constexpr const char* kCallNames[kCallCount] = {
    "DevOpenDriver", "DevCloseDriver", "DevGetBoardInfo", "DevInitBoard", "DevExitBoard", "DevPutMessage",
    "DevGetMessage", "DevGetInfo",     "DevExchangeIO",   "DevReadSendData", "DevSetHostState",
};
constexpr std::uint16_t kOrdinals[kCallCount] = {1, 2, 3, 4, 5, 8, 9, 12, 14, 15, 16};

void PutText(std::uint8_t* field, std::size_t size, const char* text) {
    std::memset(field, 0, size);
    std::memcpy(field, text, std::min(size, std::strlen(text)));
}

void PutBigEndian32(std::uint8_t* at, std::uint32_t value) {
    at[0] = static_cast<std::uint8_t>(value >> 24);
    at[1] = static_cast<std::uint8_t>(value >> 16);
    at[2] = static_cast<std::uint8_t>(value >> 8);
    at[3] = static_cast<std::uint8_t>(value);
}

// Board information numbers are in the machine's byte order.
template <typename T>
void PutNative(std::uint8_t* at, T value) {
    std::memcpy(at, &value, sizeof value);
}

Board& BoardOf(unsigned card) { return TheCard().boards[card % kBoardCount]; }

void PowerOn(State& s) {
    for (unsigned card = 0; card < kBoardCount; ++card) {
        Board& b = s.boards[card];
        b.input.fill(0);
        b.output.fill(0);
        b.driverOpen = b.initialised = b.hostReady = false;
        b.loopback = false;
        b.commBit = CommBit::FollowHostReady;
        b.replies = DefaultReplies(card);
        b.mailboxHead = b.mailboxCount = 0;
    }
    s.faults = {};
    s.counts = {};
    s.log.clear();
    s.logOn = true;
    s.trace = nullptr;
}

}  // namespace

const char* CallName(Call call) { return kCallNames[static_cast<unsigned>(call)]; }
std::uint16_t CallOrdinal(Call call) { return kOrdinals[static_cast<unsigned>(call)]; }

Replies DefaultReplies(unsigned card) {
    Replies r{};
    PutText(r.boardInfo.data(), 16, "SOFTCARD V1.00");
    for (unsigned n = 0; n < kBoardCount; ++n) {
        std::uint8_t* entry = r.boardInfo.data() + 16 + 10 * n;
        PutNative<std::uint16_t>(entry + 0, static_cast<std::uint16_t>(n));       // board number
        PutNative<std::uint16_t>(entry + 2, 1);                                   // available
        PutNative<std::uint32_t>(entry + 4, 0x000CA000u + 0x2000u * n);           // dual-port memory
        PutNative<std::uint16_t>(entry + 8, static_cast<std::uint16_t>(0));       // polled, no IRQ
    }
    PutBigEndian32(r.version.data() + 0, 0x20261211u);                  // date
    PutBigEndian32(r.version.data() + 4, 0x00003030u);                  // device number
    PutBigEndian32(r.version.data() + 8, 0x00010000u + card);           // serial number
    PutBigEndian32(r.version.data() + 12, 0);                           // reserved
    PutText(r.version.data() + 16, 16, "SOFTCARD-OS");
    PutText(r.firmware.data() + 0, 16, "PROFIBUS-DPM");
    PutText(r.firmware.data() + 16, 16, "V1.00 soft");
    r.device[0] = 0;
    r.device[1] = 3;   // type
    r.device[2] = 30;  // model
    PutText(r.device.data() + 3, 3, "SFT");
    return r;
}

void Reset() {
    PowerOn(TheCard());
    dp::Reset();
}

std::span<std::uint8_t, kAreaSize> InputArea(unsigned card) { return BoardOf(card).input; }
std::span<std::uint8_t, kAreaSize> OutputArea(unsigned card) { return BoardOf(card).output; }
void SetLoopback(unsigned card, bool on) { BoardOf(card).loopback = on; }
void SetCommBit(unsigned card, CommBit mode) { BoardOf(card).commBit = mode; }
Replies& RepliesOf(unsigned card) { return BoardOf(card).replies; }

BoardStatus Status(unsigned card) {
    const Board& b = BoardOf(card);
    return {b.driverOpen, b.initialised, b.hostReady};
}

void FailCall(Call call, std::int16_t code, unsigned nth, unsigned times) {
    TheCard().faults[static_cast<unsigned>(call)] = Fault{code, nth == 0 ? 0 : nth - 1, times};
}

void ClearFaults() { TheCard().faults = {}; }

unsigned CallCount(Call call) { return TheCard().counts[static_cast<unsigned>(call)]; }
void SetCallLog(bool on) { TheCard().logOn = on; }
const std::deque<CallRecord>& CallLog() { return TheCard().log; }
void ClearCallLog() { TheCard().log.clear(); }
void SetTraceHook(std::function<void(const CallRecord&)> hook) { TheCard().trace = std::move(hook); }

bool PostMessage(unsigned card, std::span<const std::uint8_t> message) {
    Board& b = BoardOf(card);
    if (b.mailboxCount == kMailboxDepth) return false;
    auto& slot = b.mailbox[(b.mailboxHead + b.mailboxCount) % kMailboxDepth];
    slot.fill(0);
    std::memcpy(slot.data(), message.data(), std::min(message.size(), kMessageSize));
    ++b.mailboxCount;
    return true;
}

std::size_t PendingMessages(unsigned card) { return BoardOf(card).mailboxCount; }

bool TakeMessage(unsigned card, std::array<std::uint8_t, kMessageSize>& out) {
    Board& b = BoardOf(card);
    if (b.mailboxCount == 0) return false;
    out = b.mailbox[b.mailboxHead];
    b.mailboxHead = (b.mailboxHead + 1) % kMailboxDepth;
    --b.mailboxCount;
    return true;
}

bool ConsumeFault(Call call, std::int16_t& code) {
    Fault& f = TheCard().faults[static_cast<unsigned>(call)];
    if (f.times == 0) return false;
    if (f.skip > 0) {
        --f.skip;
        return false;
    }
    if (f.times != kForever) --f.times;
    code = f.code;
    return true;
}

void Record(CallRecord&& record) {
    State& s = TheCard();
    if (s.trace) s.trace(record);
    if (s.log.size() == kCallLogDepth) s.log.pop_front();
    s.log.push_back(std::move(record));
}

}  // namespace softcard
