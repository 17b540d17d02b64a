// The soft card: a simulated CIF card library that answers the driver's eleven
// calls (declared in rizuz/card_library.hpp) so that the driver runs without
// hardware, plus the control API that tests and tools use to set it up, look
// into it and make its calls fail.
//
// Four boards (0 to 3), each with a send (output) and a receive (input)
// process data area of kAreaSize bytes, canned information replies, a
// host-ready state, a communication bit and a message mailbox served by a DP
// master (dp_master.hpp). Time-outs are accepted and never waited out.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <span>
#include <vector>

namespace softcard {

inline constexpr unsigned kBoardCount = 4;
inline constexpr std::size_t kAreaSize = 4096;     // bytes in each process data area
inline constexpr std::size_t kMessageSize = 288;   // one mailbox message record
inline constexpr std::size_t kMailboxDepth = 32;   // messages waiting for the host, per board
inline constexpr std::size_t kCallLogDepth = 4096; // newest calls kept in the log

// What the soft card answers besides 0. Tests may force any other code.
enum Code : std::int16_t {
    kOk = 0,
    kNoSuchBoard = -1,         // card number above 3
    kDriverNotOpen = -10,      // DevOpenDriver was not called for this card
    kBoardNotInitialised = -11,// DevInitBoard was not called (or DevExitBoard since)
    kOutOfArea = -20,          // offset + size beyond the process data area
    kBadArgument = -21,        // null buffer, unknown information kind, bad mode
    kNoMessage = -30,          // DevGetMessage found nothing within its time-out
    kMailboxFull = -31,        // DevPutMessage could not queue the request
};

// The eleven calls, in ordinal order.
enum class Call : std::uint8_t {
    OpenDriver, CloseDriver, GetBoardInfo, InitBoard, ExitBoard, PutMessage,
    GetMessage, GetInfo, ExchangeIO, ReadSendData, SetHostState,
};
inline constexpr unsigned kCallCount = 11;
const char* CallName(Call call);         // "DevOpenDriver", ...
std::uint16_t CallOrdinal(Call call);    // 1, 2, 3, 4, 5, 8, 9, 12, 14, 15, 16

// Communication bit of the IO information (DevGetInfo kind 7).
enum class CommBit {
    FollowHostReady,  // on while host ready is signalled (the default)
    On,
    Off,
};

// One call as the card saw it.
struct CallRecord {
    Call call;
    std::uint16_t card;
    std::vector<std::uint32_t> args;   // the arguments after the card number; buffers as 0 (null) or 1
    std::int16_t result;
    std::vector<std::uint8_t> sent;     // bytes the caller handed in (write data, request message)
    std::vector<std::uint8_t> received; // bytes handed back (replies, read data, answer message)
};

// Canned information replies of one board, laid out as the driver reads them.
struct Replies {
    std::array<std::uint8_t, 56> boardInfo;  // version text, then four 10-byte board entries
    std::array<std::uint8_t, 32> version;    // four big-endian 32-bit values, OS identifier text
    std::array<std::uint8_t, 32> firmware;   // name text, version text
    std::array<std::uint8_t, 6> device;      // -, type, model, 3-character identifier
};

struct BoardStatus {
    bool driverOpen;
    bool initialised;
    bool hostReady;
};

// Back to power-on: areas zeroed, default replies, no faults, empty mailbox and
// log, call counts zero, loopback off, communication bit following host ready,
// the DP master's default slaves.
void Reset();

// Process data areas, to set up inputs and check outputs.
std::span<std::uint8_t, kAreaSize> InputArea(unsigned card);
std::span<std::uint8_t, kAreaSize> OutputArea(unsigned card);
// Every write to the output area also lands at the same offset of the input area.
void SetLoopback(unsigned card, bool on);
void SetCommBit(unsigned card, CommBit mode);
BoardStatus Status(unsigned card);
Replies& RepliesOf(unsigned card);
Replies DefaultReplies(unsigned card);

// Fault injection: the nth next call of `call` (1 = the very next) and the
// `times` - 1 calls after it return `code` without doing anything else.
inline constexpr unsigned kForever = ~0u;
void FailCall(Call call, std::int16_t code, unsigned nth = 1, unsigned times = 1);
void ClearFaults();

// Counts of every call since the last Reset (kept even with the log off).
unsigned CallCount(Call call);
// The newest kCallLogDepth calls. Off makes the card cheaper (benchmarks).
void SetCallLog(bool on);
const std::deque<CallRecord>& CallLog();
void ClearCallLog();
// Called for every call while the log is on (nuvhost --trace).
void SetTraceHook(std::function<void(const CallRecord&)> hook);

// Mailbox: messages waiting for the host, oldest first. DevGetMessage takes them.
bool PostMessage(unsigned card, std::span<const std::uint8_t> message);
std::size_t PendingMessages(unsigned card);

}  // namespace softcard
