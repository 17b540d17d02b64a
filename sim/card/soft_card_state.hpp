// Inside the soft card: the state its calls and its control API share.
#pragma once

#include <array>

#include "soft_card.hpp"

namespace softcard {

struct Fault {
    std::int16_t code = 0;
    unsigned skip = 0;   // matching calls to let through first
    unsigned times = 0;  // calls still to fail; kForever never runs out
};

struct Board {
    std::array<std::uint8_t, kAreaSize> input{};
    std::array<std::uint8_t, kAreaSize> output{};
    bool driverOpen = false;
    bool initialised = false;
    bool hostReady = false;
    bool loopback = false;
    CommBit commBit = CommBit::FollowHostReady;
    Replies replies{};
    std::array<std::array<std::uint8_t, kMessageSize>, kMailboxDepth> mailbox{};
    std::size_t mailboxHead = 0;
    std::size_t mailboxCount = 0;
};

struct State {
    std::array<Board, kBoardCount> boards{};
    std::array<Fault, kCallCount> faults{};
    std::array<unsigned, kCallCount> counts{};
    std::deque<CallRecord> log;
    bool logOn = true;
    std::function<void(const CallRecord&)> trace;
};

State& TheCard();
// The injected fault for this call, if one is due now.
bool ConsumeFault(Call call, std::int16_t& code);
bool TakeMessage(unsigned card, std::array<std::uint8_t, kMessageSize>& out);
void Record(CallRecord&& record);

}  // namespace softcard
