// The message record of a DDLM_Slave_Diag request and of its answer. The card's
// DP master fixes the layout: an 8-byte header, then the message data. The
// request fills the first 16 bytes; the answer comes back in the same record.
#pragma once

#include <cstddef>
#include <cstdint>

namespace rizuz {

struct DiagMessage {
    std::uint8_t receiver;     // 0: 3, the DP master on the card
    std::uint8_t sender;       // 1: 16, the host
    std::uint8_t l;            // 2: message data bytes (8 in the request, at least 40 in an answer)
    std::uint8_t number;       // 3: the request's running number, echoed by the answer
    std::uint8_t a;            // 4: answer code, 66 when the answer is a DDLM_Slave_Diag answer
    std::uint8_t f;            // 5: fault code, 0 when the master had no fault
    std::uint8_t command;      // 6: 66, DDLM_Slave_Diag
    std::uint8_t extension;    // 7
    std::uint8_t slave;        // 8: DP slave address
    std::uint8_t reserved[4];  // 9..12
    std::uint8_t DataCnt;      // 13: diagnostic bytes asked for / delivered
    std::uint8_t byte14;       // 14: 5 in the request
    std::uint8_t byte15;       // 15: 1 in the request
    std::uint8_t data[272];    // 16..287: diagnostic byte i of the slave at data[i]
};

inline constexpr std::size_t kDiagMessageSize = 288;
inline constexpr std::size_t kDiagDataSize = sizeof(DiagMessage::data);

static_assert(sizeof(DiagMessage) == kDiagMessageSize, "the card exchanges 288-byte message records");
static_assert(offsetof(DiagMessage, l) == 2);
static_assert(offsetof(DiagMessage, number) == 3);
static_assert(offsetof(DiagMessage, a) == 4);
static_assert(offsetof(DiagMessage, f) == 5);
static_assert(offsetof(DiagMessage, command) == 6);
static_assert(offsetof(DiagMessage, slave) == 8);
static_assert(offsetof(DiagMessage, DataCnt) == 13);
static_assert(offsetof(DiagMessage, data) == 16);

// The fixed bytes of the request, as the card's DP master expects them.
inline constexpr std::uint8_t kDiagReceiver = 3;
inline constexpr std::uint8_t kDiagSender = 16;
inline constexpr std::uint8_t kDiagRequestLength = 8;
inline constexpr std::uint8_t kSlaveDiag = 66;  // DDLM_Slave_Diag: the command and its answer code
inline constexpr std::uint8_t kDiagRequestDataCnt = 32;
inline constexpr std::uint8_t kDiagRequestByte14 = 5;
inline constexpr std::uint8_t kDiagRequestByte15 = 1;

// An answer must reach the 32nd diagnostic byte (byte 47 of the record).
inline constexpr std::uint8_t kDiagAnswerMinLength = 40;

}  // namespace rizuz
