// The soft card's DP master: configured slaves with their diagnostic bytes,
// answers to DDLM_Slave_Diag requests, and the faults tests inject into them.
#include "dp_master.hpp"

#include <algorithm>
#include <array>
#include <optional>

#include "soft_card.hpp"

namespace softcard::dp {
namespace {

// Where the fields of a request and of its answer stand in the record.
enum MessageByte : std::size_t {
    kReceiver = 0,
    kSender = 1,
    kLength = 2,
    kNumber = 3,
    kAnswerCode = 4,
    kFault = 5,
    kCommand = 6,
    kExtension = 7,
    kSlave = 8,
    kDataCnt = 13,
    kRequestByte14 = 14,
    kRequestByte15 = 15,
};
constexpr std::uint8_t kBareLength = 8;  // message data without diagnostic bytes

using Message = std::array<std::uint8_t, kMessageSize>;

struct Slave {
    bool configured = false;
    std::vector<std::uint8_t> diagnosis;
};

// An injected fault: its value and the requests it still applies to.
struct Injected {
    std::int32_t value = 0;
    unsigned remaining = 0;

    bool Active() const { return remaining > 0; }
    // The value when the fault applies to this request, and one request less.
    std::optional<std::int32_t> Take() {
        if (remaining == 0) return std::nullopt;
        --remaining;
        return value;
    }
};

struct Faults {
    Injected late, stale, fault, answerCode, length, dataCount, drop, refuse;
};

struct Master {
    std::array<std::array<Slave, 256>, kBoardCount> slaves{};
    Faults faults{};
};

void PowerOn(Master& master);

// The master powers on with its default slaves, so a process that never calls
// Reset still finds them.
Master& TheMaster() {
    static Master master = [] {
        Master fresh;
        PowerOn(fresh);
        return fresh;
    }();
    return master;
}

Slave& SlaveOf(unsigned card, std::uint8_t slave) { return TheMaster().slaves[card % kBoardCount][slave]; }

Injected Arm(std::int32_t value, unsigned requests) { return Injected{value, requests}; }

// The answer to a DDLM_Slave_Diag request for `slave`, carrying `number`.
Message Answer(unsigned card, const std::uint8_t* request, std::uint8_t number) {
    Message answer{};
    answer[kReceiver] = request[kSender];
    answer[kSender] = request[kReceiver];
    answer[kNumber] = number;
    answer[kCommand] = request[kCommand];
    answer[kExtension] = request[kExtension];
    answer[kSlave] = request[kSlave];
    answer[kRequestByte14] = request[kRequestByte14];
    answer[kRequestByte15] = request[kRequestByte15];
    answer[kAnswerCode] = kSlaveDiag;

    const Slave& slave = SlaveOf(card, request[kSlave]);
    if (!slave.configured) {
        answer[kFault] = kNoSuchSlave;
        answer[kLength] = kBareLength;
        return answer;
    }
    const std::size_t count = slave.diagnosis.size();
    answer[kLength] = static_cast<std::uint8_t>(kBareLength + std::max(count, kMinDiagnosisInAnswer));
    answer[kDataCnt] = static_cast<std::uint8_t>(count);
    std::copy(slave.diagnosis.begin(), slave.diagnosis.end(), answer.begin() + kDiagDataAt);
    return answer;
}

Message UnknownCommand(const std::uint8_t* request) {
    Message answer{};
    answer[kReceiver] = request[kSender];
    answer[kSender] = request[kReceiver];
    answer[kNumber] = request[kNumber];
    answer[kAnswerCode] = request[kCommand];
    answer[kFault] = kUnknownCommand;
    answer[kCommand] = request[kCommand];
    answer[kExtension] = request[kExtension];
    return answer;
}

std::uint8_t Byte(std::int32_t value) { return static_cast<std::uint8_t>(value); }

}  // namespace

std::vector<std::uint8_t> DefaultDiagnosis(std::uint8_t slave) {
    std::vector<std::uint8_t> bytes;
    switch (slave) {
        case 3:
            bytes = {0x00, 0x0C, 0x00, kMasterAddress, 0x5A, 0x03,  // station status 1-3, master, ident
                     0x44, 0x00, 0x00, 0x00};                       // identifier-related: no module faulty
            break;
        case 5:
            bytes = {0x08, 0x0C, 0x00, kMasterAddress, 0x5A, 0x05,  // Ext_Diag set
                     0x43, 0x04, 0x00,                              // identifier-related: module 2
                     0x82, 0x41, 0x26};                             // channel-related: module 2, input 1, wire break
            break;
        default:
            return bytes;
    }
    bytes.resize(kMinDiagnosisInAnswer, 0);
    return bytes;
}

void Reset() { PowerOn(TheMaster()); }

namespace {

void PowerOn(Master& master) {
    for (auto& board : master.slaves) {
        for (unsigned address = 0; address < board.size(); ++address) {
            Slave& slave = board[address];
            slave.diagnosis = DefaultDiagnosis(static_cast<std::uint8_t>(address));
            slave.configured = !slave.diagnosis.empty();
        }
    }
    master.faults = {};
}

}  // namespace

void SetDiagnosis(unsigned card, std::uint8_t slave, std::span<const std::uint8_t> bytes) {
    Slave& s = SlaveOf(card, slave);
    s.configured = true;
    s.diagnosis.assign(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(
                                                          std::min(bytes.size(), kMaxDiagnosisSize)));
}

void RemoveSlave(unsigned card, std::uint8_t slave) { SlaveOf(card, slave) = Slave{}; }
bool IsConfigured(unsigned card, std::uint8_t slave) { return SlaveOf(card, slave).configured; }
std::vector<std::uint8_t> Diagnosis(unsigned card, std::uint8_t slave) { return SlaveOf(card, slave).diagnosis; }

void AnswerLate(unsigned requests) { TheMaster().faults.late = Arm(1, requests); }
void QueueStaleMessages(unsigned messages, unsigned requests) {
    TheMaster().faults.stale = Arm(static_cast<std::int32_t>(std::min<std::size_t>(messages, kMailboxDepth)), requests);
}
void AnswerFault(std::uint8_t f, unsigned requests) { TheMaster().faults.fault = Arm(f, requests); }
void AnswerCode(std::uint8_t a, unsigned requests) { TheMaster().faults.answerCode = Arm(a, requests); }
void AnswerLength(std::uint8_t l, unsigned requests) { TheMaster().faults.length = Arm(l, requests); }
void AnswerDataCount(std::uint8_t dataCnt, unsigned requests) { TheMaster().faults.dataCount = Arm(dataCnt, requests); }
void DropAnswers(unsigned requests) { TheMaster().faults.drop = Arm(1, requests); }
void RefuseRequests(std::int16_t code, unsigned requests) { TheMaster().faults.refuse = Arm(code, requests); }
void ClearFaults() { TheMaster().faults = {}; }

std::int16_t OnRequest(unsigned card, const std::uint8_t* request) {
    Faults& f = TheMaster().faults;
    if (auto code = f.refuse.Take()) return static_cast<std::int16_t>(*code);

    if (request[kCommand] != kSlaveDiag) {
        if (PendingMessages(card) == kMailboxDepth) return kMailboxFull;
        const Message answer = UnknownCommand(request);
        PostMessage(card, answer);
        return kOk;
    }

    // Everything this request puts into the mailbox must fit, or nothing goes in.
    const std::size_t stale = f.stale.Active() ? static_cast<std::size_t>(f.stale.value) : 0;
    const std::size_t answers = f.drop.Active() ? 0 : 1;
    if (PendingMessages(card) + stale + answers > kMailboxDepth) return kMailboxFull;

    const std::uint8_t number = request[kNumber];
    if (auto messages = f.stale.Take()) {
        for (std::int32_t back = *messages; back > 0; --back) {
            PostMessage(card, Answer(card, request, Byte(number - back)));
        }
    }

    Message answer = Answer(card, request, number);
    if (auto late = f.late.Take()) answer[kNumber] = Byte(number - *late);
    if (auto fault = f.fault.Take()) answer[kFault] = Byte(*fault);
    if (auto code = f.answerCode.Take()) answer[kAnswerCode] = Byte(*code);
    if (auto length = f.length.Take()) answer[kLength] = Byte(*length);
    if (auto dataCount = f.dataCount.Take()) answer[kDataCnt] = Byte(*dataCount);
    if (f.drop.Take()) return kOk;
    PostMessage(card, answer);
    return kOk;
}

}  // namespace softcard::dp
