// The soft card's DP master: answers the requests the host puts into a board's
// mailbox, and lets tests and tools shape those answers.
//
// Every board has its own configured slaves, each with its diagnostic bytes.
// A DDLM_Slave_Diag request (command 66) for a configured slave is answered in
// the request's own 288-byte record layout:
//   byte 0 receiver (the request's sender), 1 sender (the request's receiver),
//   2 l = 8 + max(32, diagnostic bytes) (so at least 40), 3 the request's number,
//   4 a = 66, 5 f = 0, 6 command 66, 7 extension, 8 slave address,
//   9..12 0, 13 DataCnt = number of diagnostic bytes, 14 and 15 as requested,
//   16 onward the diagnostic bytes (zero beyond DataCnt).
// A request for a slave that is not configured is answered with f = kNoSuchSlave,
// l = 8 and DataCnt 0; any other command with a = the command, f = kUnknownCommand
// and l = 0.
//
// Default slaves after Reset, on every board (DefaultDiagnosis gives the bytes):
//   slave 3: a healthy slave in data exchange, 32 bytes: station status
//            00 0C 00, master address 01, ident number 5A 03, an empty
//            identifier-related block 44 00 00 00, then zeros.
//   slave 5: a slave with an extended diagnosis, 32 bytes: station status
//            08 0C 00 (Ext_Diag), master address 01, ident number 5A 05,
//            identifier-related block 43 04 00 (module 2), channel-related
//            block 82 41 26 (module 2, input channel 1, wire break), then zeros.
//
// Injected faults each last for the next `requests` DDLM_Slave_Diag requests
// that reach the master on any board. A refused request consumes only the
// refusal; every accepted one consumes one from each fault that is active.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace softcard::dp {

inline constexpr std::uint8_t kSlaveDiag = 66;          // DDLM_Slave_Diag: command and answer code
inline constexpr std::size_t kDiagDataAt = 16;          // diagnostic byte i stands at byte 16 + i
inline constexpr std::size_t kMaxDiagnosisSize = 244;   // the most a DP slave reports
inline constexpr std::size_t kMinDiagnosisInAnswer = 32; // every answer carries at least this many bytes
inline constexpr std::uint8_t kMasterAddress = 1;       // the DP address of the soft card's master

// Fault codes (answer byte f) of the master.
enum FaultCode : std::uint8_t {
    kUnknownCommand = 0x01,
    kNoSuchSlave = 0x11,
};

// Back to the default slaves on every board and no injected faults.
void Reset();
// A request the host put with DevPutMessage (kMessageSize bytes, the header
// says how many are meaningful). Answers go to the board's mailbox with
// PostMessage. Returns the code DevPutMessage answers: 0, an injected refusal,
// or kMailboxFull when the answers would not fit (then nothing is posted).
std::int16_t OnRequest(unsigned card, const std::uint8_t* request);

// Slaves. SetDiagnosis configures the slave (keeping at most kMaxDiagnosisSize
// bytes); RemoveSlave makes it unknown to the master.
void SetDiagnosis(unsigned card, std::uint8_t slave, std::span<const std::uint8_t> bytes);
void RemoveSlave(unsigned card, std::uint8_t slave);
bool IsConfigured(unsigned card, std::uint8_t slave);
std::vector<std::uint8_t> Diagnosis(unsigned card, std::uint8_t slave);  // empty when not configured
std::vector<std::uint8_t> DefaultDiagnosis(std::uint8_t slave);          // empty for a slave not configured by default

// Faults the driver must survive, each for the next `requests` requests:
// the answer carries the number of the request before (a late answer).
void AnswerLate(unsigned requests = 1);
// `messages` answers to earlier requests wait in the mailbox ahead of the
// answer, numbered request - messages up to request - 1.
void QueueStaleMessages(unsigned messages, unsigned requests = 1);
// The answer carries this fault code, answer code, length l or DataCnt
// (the diagnostic bytes themselves stay as they are).
void AnswerFault(std::uint8_t f, unsigned requests = 1);
void AnswerCode(std::uint8_t a, unsigned requests = 1);
void AnswerLength(std::uint8_t l, unsigned requests = 1);
void AnswerDataCount(std::uint8_t dataCnt, unsigned requests = 1);
// The request is taken but never answered (DevGetMessage times out).
void DropAnswers(unsigned requests = 1);
// DevPutMessage refuses the request with `code`; the master never sees it.
void RefuseRequests(std::int16_t code, unsigned requests = 1);
void ClearFaults();

}  // namespace softcard::dp
