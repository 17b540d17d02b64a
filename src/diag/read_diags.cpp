// The slave diagnostic read: one numbered DDLM_Slave_Diag request per attempt,
// its answer checked, at most three attempts, then the requested byte, bit or
// bytes handed to the host.
#include "diag/read_diags.hpp"

#include <cstring>

#include "common/host_value.hpp"
#include "diag/diag_message.hpp"
#include "rizuz/card_library.hpp"
#include "rizuz/host_log.hpp"

namespace rizuz {
namespace {

constexpr std::uint32_t kMessageTimeoutMs = 500;
constexpr std::uint32_t kEmptyingTimeoutMs = 50;
constexpr unsigned kAttempts = 3;
// A card library that kept answering 0 would hold the host's thread here for
// ever; no card queues this many messages for the host.
constexpr unsigned kMaxEmptyingFetches = 256;
constexpr std::uint16_t kRecordSize = static_cast<std::uint16_t>(sizeof(DiagMessage));
constexpr std::int32_t kDataBytes = static_cast<std::int32_t>(kDiagDataSize);
constexpr std::int32_t kLastDiagOffset = 99;
constexpr std::int32_t kNoBit = -1;
constexpr std::int32_t kLastDiagBit = 7;
constexpr std::uint32_t kSingleRead = 5;

// The host shows a card code as the 16-bit code widened with its sign.
unsigned Printed(CardCode rc) { return static_cast<unsigned>(static_cast<int>(rc)); }

// The locator and count come back from the host, and nothing guarantees they
// still hold what the definition check accepted. Whatever would make the
// delivery reach outside the answer record (or copy a negative count into the
// host's buffer) is refused before a request is sent.
bool DeliverySafe(const DriverRequest& request, const GateIo& io) {
    const GateLocator& at = io.locator;
    if (at.offset < 0 || at.offset > kLastDiagOffset || io.count <= 0 || io.count > kDataBytes - at.offset) {
        err(kEvent, "RIZUZ> ReadDiags() refused: slave %d, DIAG byte offset %d, count %d outside the diagnostic data",
            static_cast<int>(at.slave), static_cast<int>(at.offset), static_cast<int>(io.count));
        return false;
    }
    if (request.function == kSingleRead && (at.bit < kNoBit || at.bit > kLastDiagBit)) {
        err(kEvent, "RIZUZ> ReadDiags() refused: slave %d, DIAG bit number %d not in range 0-7",
            static_cast<int>(at.slave), static_cast<int>(at.bit));
        return false;
    }
    return true;
}

// Drops whatever the card still holds for the host (late answers, stale
// messages) so that it cannot be taken for the next answer.
void EmptyQueue(std::uint16_t card, DiagMessage& message) {
    for (unsigned fetch = 0; fetch < kMaxEmptyingFetches; ++fetch) {
        if (DevGetMessage(card, kRecordSize, &message, kEmptyingTimeoutMs) != 0) return;
    }
}

void BuildRequest(DiagMessage& message, std::int32_t slave, std::uint8_t number) {
    message = DiagMessage{};
    message.receiver = kDiagReceiver;
    message.sender = kDiagSender;
    message.l = kDiagRequestLength;
    message.number = number;
    message.command = kSlaveDiag;
    message.slave = static_cast<std::uint8_t>(slave);  // the slave's low byte
    message.DataCnt = kDiagRequestDataCnt;
    message.byte14 = kDiagRequestByte14;
    message.byte15 = kDiagRequestByte15;
}

// The answer checks in the order the host reports them; the first that fails
// sends its message and rejects the answer.
bool Accepted(const DiagMessage& answer, std::uint8_t sent, std::int32_t needed, unsigned attempt) {
    if (answer.number != sent) {
        err(kDetail, "RIZUZ> ReadDiags() DDLM_Slave_Diag received old answer (%u iso %u), retry %u",
            unsigned{answer.number}, unsigned{sent}, attempt);
        return false;
    }
    if (answer.f != 0) {
        err(kDetail, "RIZUZ> ReadDiags() DDLM_Slave_Diag received msg.f error %02Xh, retry %u", unsigned{answer.f},
            attempt);
        return false;
    }
    if (answer.a != kSlaveDiag) {
        err(kDetail, "RIZUZ> ReadDiags() DDLM_Slave_Diag received ill. message msg.a=%u, retry %u",
            unsigned{answer.a}, attempt);
        return false;
    }
    if (answer.l < kDiagAnswerMinLength) {
        err(kDetail, "RIZUZ> ReadDiags() DDLM_Slave_Diag msg.l illegal length %u, retry %u", unsigned{answer.l},
            attempt);
        return false;
    }
    if (answer.DataCnt < needed) {
        err(kDetail, "RIZUZ> ReadDiags() DDLM_Slave_Diag ill. data count msg.DataCnt= %u, retry %u",
            unsigned{answer.DataCnt}, attempt);
        return false;
    }
    return true;
}

// A single read puts the byte (or its bit) into W1 and leaves W0 alone; a
// block read gets `count` bytes at the start of its buffer.
void Deliver(const DriverRequest& request, const GateIo& io, const DiagMessage& answer) {
    const std::uint8_t* from = answer.data + io.locator.offset;
    if (request.function == kSingleRead) {
        const unsigned byte = *from;
        const auto word = static_cast<std::uint16_t>(io.locator.bit == kNoBit ? byte : (byte >> io.locator.bit) & 1u);
        host_value::StoreWord(io.value, host_value::kW1, word);
        return;
    }
    std::memcpy(io.value, from, static_cast<std::size_t>(io.count));
}

}  // namespace

NuvResult ReadDiags(const DriverRequest& request) {
    DriverContext& context = *request.context;
    const GateIo& io = *static_cast<const GateIo*>(request.params);
    if (!DeliverySafe(request, io)) return kRefused;

    const std::uint16_t card = context.card;
    const std::int32_t needed = io.locator.offset + io.count;  // both bounded above
    DiagMessage message{};
    for (unsigned attempt = 0; attempt < kAttempts; ++attempt) {
        if (attempt > 0) EmptyQueue(card, message);

        // Every attempt is a new request with its own number, so a late answer
        // to an earlier one can be told apart.
        const std::uint8_t number = context.diagMessageNumber;
        context.diagMessageNumber = static_cast<std::uint8_t>(number + 1);
        BuildRequest(message, io.locator.slave, number);

        CardCode rc = DevPutMessage(card, &message, kMessageTimeoutMs);
        if (rc != 0) {
            err(kDetail, "RIZUZ> ReadDiags() DevPutMessage() rc %u, retry %u", Printed(rc), attempt);
            return kFailed;
        }
        rc = DevGetMessage(card, kRecordSize, &message, kMessageTimeoutMs);
        if (rc != 0) {
            err(kDetail, "RIZUZ> ReadDiags() DevGetMessage() rc %u, retry %u", Printed(rc), attempt);
            return kFailed;
        }
        if (Accepted(message, number, needed, attempt)) {
            Deliver(request, io, message);
            return kDone;
        }
    }
    return kDone;  // three answers rejected: the host's value keeps what it had
}

}  // namespace rizuz
