// The soft card's DP master: answers the requests the host puts into a board's
// mailbox.
#pragma once

#include <cstddef>
#include <cstdint>

namespace softcard::dp {

// Back to the default slaves and no injected faults.
void Reset();
// A request the host put with DevPutMessage (kMessageSize bytes, the header
// says how many are meaningful). Answers go to the mailbox with PostMessage.
// Returns the code DevPutMessage answers.
std::int16_t OnRequest(unsigned card, const std::uint8_t* request);

}  // namespace softcard::dp
