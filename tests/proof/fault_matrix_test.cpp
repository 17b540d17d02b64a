// Every I/O function against a failure of every card call it can make: the
// request's result and message, where the start-up is left, that nothing
// reaches the host's buffer or the card, and that the next request, with the
// fault gone, recovers the way the start-up state table says.
//
// Start-up state table: not started (after function 1) -> board opened (the
// one-time part succeeded) -> running (host ready and communication bit seen).
// A failure in the one-time part leaves "not started": the next request opens
// the driver again and logs the board report again. A failure in the per-call
// part leaves "board opened": the next request signals host ready and reads
// the communication bit again, without the report. Once running, a failing
// transfer leaves it running: the next request makes no start-up call.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "proof_host.hpp"

namespace rizuz::testing {
namespace {

using softcard::Call;

constexpr std::int16_t kCode = -42;
constexpr unsigned kCard = 2;  // not 0, so a message that names the card shows a wrong one
constexpr const char* kInitFile = "CARD = 2\n";

enum class Stage { NotStarted, BoardOpened, Running };

// What an I/O function is asked to do in a row.
enum class Target {
    CommCheck,     // function 2
    RGate,         // 5 or 7 with an R/S single gate of 16 bits
    SGate,
    SBitGate,      // 7: read-modify-write of bit 3
    DGate,         // 5 or 6 on a slave's diagnostic data
    RBlock,
    SBlock,
    RawInput,      // 17/18 with selector 'I'
    RawOutput,
};

struct Row {
    std::string name;
    std::uint32_t function;
    Target target;
    Call call;            // the card call made to fail
    unsigned nth;         // which call of that kind in the request (1 = first)
    bool commBitOff;      // instead of a failing call: the card reports no communication
    Stage before;         // where the start-up stands when the request comes
    NuvResult result;     // the request's result
    int msgClass;         // class of its last message
    const char* message;  // its last message; {code} stands for the failure code
    Stage after;          // where the start-up is left
    // What the recovering request says, when it is not silent (class 8).
    const char* recoveryMessage = nullptr;
};

void PrintTo(const Row& row, std::ostream* out) { *out << row.name; }

// The start-up's own faults, met by every I/O function on its first request.
struct StartUpFault {
    const char* name;
    Call call;
    unsigned nth;
    bool commBitOff;
    bool requestGoesOn;  // the failure ends the start-up with 0
    const char* message;
    Stage after;
};

const StartUpFault kStartUpFaults[] = {
    {"OpenDriver", Call::OpenDriver, 1, false, false,
     "RIZUZ> Error trying to open device driver (DevOpenDriver) rc={code}", Stage::NotStarted},
    {"InitBoard", Call::InitBoard, 1, false, false,
     "RIZUZ> Error trying init board (DevInitBoard) for card 2, rc={code}", Stage::NotStarted},
    {"GetBoardInfo", Call::GetBoardInfo, 1, false, false,
     "RIZUZ> Error trying to get board information (DevGetBoardInfo) rc={code}", Stage::NotStarted},
    {"GetInfoVersion", Call::GetInfo, 1, false, false,
     "RIZUZ> Error trying to get version information (DevGetInfo) rc={code}", Stage::NotStarted},
    {"GetInfoFirmware", Call::GetInfo, 2, false, false,
     "RIZUZ> Error trying to get firmware information (DevGetInfo) rc={code}", Stage::NotStarted},
    {"GetInfoDevice", Call::GetInfo, 3, false, false,
     "RIZUZ> Error trying to get device information (DevGetInfo) rc={code}", Stage::NotStarted},
    {"SetHostState", Call::SetHostState, 1, false, false,
     "RIZUZ> Error trying to activate application (DevSetHostState) rc={code}", Stage::BoardOpened},
    {"GetInfoIo", Call::GetInfo, 4, false, true, "RIZUZ> Error trying to get IO information (DevGetInfo) rc={code}",
     Stage::BoardOpened},
    {"CommBitOff", Call::GetInfo, 0, true, false, "RIZUZ> Communication bit if off - DPS Card can not run!",
     Stage::BoardOpened},
};

// The I/O functions with the gate each uses for its start-up rows.
struct IoFunction {
    std::uint32_t function;
    Target target;
};
const IoFunction kIoFunctions[] = {
    {2, Target::CommCheck}, {5, Target::RGate},  {6, Target::RBlock},    {7, Target::SGate},
    {10, Target::SBlock},   {17, Target::RawInput}, {18, Target::RawOutput},
};

constexpr const char* kExchangeFailed = "RIZUZ> DevExchangeIO in send request failed rc = {code}";
constexpr const char* kPutFailed = "RIZUZ> ReadDiags() DevPutMessage() rc {code}, retry 0";
constexpr const char* kGetFailed = "RIZUZ> ReadDiags() DevGetMessage() rc {code}, retry 0";
// The answer to the request whose fetch failed still waits in the mailbox: the
// next read (request number 2, after 0 to reach running and 1 that failed)
// rejects it by its number, empties the queue and asks again.
constexpr const char* kLeftoverAnswer = "RIZUZ> ReadDiags() DDLM_Slave_Diag received old answer (1 iso 2), retry 0";

// The card calls each I/O function makes once running.
const Row kTransferFaults[] = {
    {"F2_GetInfoIo", 2, Target::CommCheck, Call::GetInfo, 1, false, Stage::Running, kDone, kEvent,
     "RIZUZ> Error trying to get IO information (DevGetInfo) rc={code}", Stage::Running},
    {"F2_CommBitOff", 2, Target::CommCheck, Call::GetInfo, 0, true, Stage::Running, kFailed, kDetail,
     "RIZUZ> Communication bit if off - DPS Card can not run!", Stage::Running},
    {"F5_RGate_ExchangeIO", 5, Target::RGate, Call::ExchangeIO, 1, false, Stage::Running, kFailed, kEvent,
     kExchangeFailed, Stage::Running},
    {"F5_SGate_ReadSendData", 5, Target::SGate, Call::ReadSendData, 1, false, Stage::Running, kFailed, kEvent,
     kExchangeFailed, Stage::Running},
    {"F5_DGate_PutMessage", 5, Target::DGate, Call::PutMessage, 1, false, Stage::Running, kFailed, kDetail,
     kPutFailed, Stage::Running},
    {"F5_DGate_GetMessage", 5, Target::DGate, Call::GetMessage, 1, false, Stage::Running, kFailed, kDetail,
     kGetFailed, Stage::Running, kLeftoverAnswer},
    {"F6_RBlock_ExchangeIO", 6, Target::RBlock, Call::ExchangeIO, 1, false, Stage::Running, kFailed, kEvent,
     kExchangeFailed, Stage::Running},
    {"F6_SBlock_ReadSendData", 6, Target::SBlock, Call::ReadSendData, 1, false, Stage::Running, kFailed, kEvent,
     kExchangeFailed, Stage::Running},
    {"F6_DBlock_PutMessage", 6, Target::DGate, Call::PutMessage, 1, false, Stage::Running, kFailed, kDetail,
     kPutFailed, Stage::Running},
    {"F6_DBlock_GetMessage", 6, Target::DGate, Call::GetMessage, 1, false, Stage::Running, kFailed, kDetail,
     kGetFailed, Stage::Running, kLeftoverAnswer},
    {"F7_SGate_ExchangeIO", 7, Target::SGate, Call::ExchangeIO, 1, false, Stage::Running, kFailed, kEvent,
     kExchangeFailed, Stage::Running},
    {"F7_SBitGate_ReadSendData", 7, Target::SBitGate, Call::ReadSendData, 1, false, Stage::Running, kFailed,
     kEvent, kExchangeFailed, Stage::Running},
    {"F7_SBitGate_ExchangeIO", 7, Target::SBitGate, Call::ExchangeIO, 1, false, Stage::Running, kFailed, kEvent,
     kExchangeFailed, Stage::Running},
    {"F10_SBlock_ExchangeIO", 10, Target::SBlock, Call::ExchangeIO, 1, false, Stage::Running, kFailed, kEvent,
     kExchangeFailed, Stage::Running},
    {"F17_Input_ExchangeIO", 17, Target::RawInput, Call::ExchangeIO, 1, false, Stage::Running, kFailed, kEvent,
     kExchangeFailed, Stage::Running},
    {"F17_Output_ReadSendData", 17, Target::RawOutput, Call::ReadSendData, 1, false, Stage::Running, kFailed,
     kEvent, kExchangeFailed, Stage::Running},
    {"F18_Output_ExchangeIO", 18, Target::RawOutput, Call::ExchangeIO, 1, false, Stage::Running, kFailed, kEvent,
     kExchangeFailed, Stage::Running},
};

// The whole matrix: every start-up fault for every I/O function, then the
// transfer faults.
std::vector<Row> Matrix() {
    std::vector<Row> rows;
    for (const IoFunction& f : kIoFunctions) {
        for (const StartUpFault& s : kStartUpFaults) {
            const NuvResult result = s.requestGoesOn ? kDone : kFailed;
            const std::string name = "F" + std::to_string(f.function) + "_StartUp_" + s.name;
            rows.push_back({name, f.function, f.target, s.call, s.nth, s.commBitOff, Stage::NotStarted, result, kEvent,
                            s.message, s.after});
        }
    }
    rows.insert(rows.end(), std::begin(kTransferFaults), std::end(kTransferFaults));
    return rows;
}

// The diagnostic read shows the code as unsigned (%u of the code widened with
// its sign), everything else as a signed decimal.
std::string Expand(const char* message) {
    std::string text = message;
    const bool unsignedCode = text.find("ReadDiags()") != std::string::npos;
    const std::string code = unsignedCode ? std::to_string(static_cast<std::uint32_t>(std::int32_t{kCode}))
                                          : std::to_string(kCode);
    const auto at = text.find("{code}");
    if (at != std::string::npos) text.replace(at, 6, code);
    return text;
}

class FaultMatrix : public ProofTest, public ::testing::WithParamInterface<Row> {
protected:
    void SetUp() override {
        ProofTest::SetUp();
        InitWith(kInitFile);
        ASSERT_EQ(context().card, kCard);
        // What the host defines once, before any I/O request.
        gates_.push_back(DefineGate("R6010", 0));           // RGate
        gates_.push_back(DefineGate("S6020", 0));           // SGate
        gates_.push_back(DefineGate("S60303", 6));          // SBitGate: bit 3 of the word at byte 30
        gates_.push_back(DefineBlock("R3040", 4));          // RBlock
        gates_.push_back(DefineBlock("S3060", 4));          // SBlock
        gates_.push_back(DefineGate("D00310", 0));          // DGate, single
        gates_.push_back(DefineBlock("D00302", 4));         // DGate, block
        for (unsigned i = 0; i < softcard::kAreaSize; ++i) {
            softcard::InputArea(kCard)[i] = static_cast<std::uint8_t>(i * 7 + 1);
            softcard::OutputArea(kCard)[i] = static_cast<std::uint8_t>(i * 5 + 3);
        }
    }

    HostGate& GateFor(Target target, std::uint32_t function) {
        switch (target) {
            case Target::RGate: return gates_[0];
            case Target::SGate: return gates_[1];
            case Target::SBitGate: return gates_[2];
            case Target::RBlock: return gates_[3];
            case Target::SBlock: return gates_[4];
            case Target::DGate: return function == 6 ? gates_[6] : gates_[5];
            default: return gates_[0];
        }
    }

    // One request of the row's function, with a host value buffer that is
    // checked afterwards for what the function may do to it.
    NuvResult Request(const Row& row) {
        value_.assign(16, 0xEE);
        if (row.target == Target::SBitGate) value_[2] = 1;  // set the bit
        if (row.target == Target::CommCheck) return Call(2, nullptr);
        GateIo io{};
        switch (row.target) {
            case Target::RawInput: io = RawIo('I', 8, 8, value_.data()); break;
            case Target::RawOutput: io = RawIo(0, 8, 8, value_.data()); break;
            default: io = IoFor(GateFor(row.target, row.function), value_.data()); break;
        }
        return Call(row.function, &io);
    }

    void Reach(Stage stage, const Row& row) {
        if (stage == Stage::NotStarted) return;
        ASSERT_EQ(Request(row), kDone) << "a request without a fault must succeed";
        ASSERT_NE(context().commRunning, 0);
    }

    static Stage StageOf(const DriverContext& c) {
        if (c.commRunning != 0) return Stage::Running;
        return c.boardOpened != 0 ? Stage::BoardOpened : Stage::NotStarted;
    }

    static unsigned RuleLines() {
        return static_cast<unsigned>(std::count_if(Messages().begin(), Messages().end(), [](const LoggedMessage& m) {
            return m.text == "================================================";
        }));
    }

    std::vector<HostGate> gates_;
    std::vector<std::uint8_t> value_;
};

TEST_P(FaultMatrix, FailsAsDocumentedAndTheNextRequestRecovers) {
    const Row& row = GetParam();
    Reach(row.before, row);
    ASSERT_EQ(StageOf(context()), row.before);

    // The fault.
    if (row.commBitOff) {
        softcard::SetCommBit(kCard, softcard::CommBit::Off);
    } else {
        softcard::FailCall(row.call, kCode, row.nth, 1);
    }
    const std::vector<std::uint8_t> outputBefore(softcard::OutputArea(kCard).begin(),
                                                 softcard::OutputArea(kCard).end());
    ClearMessages();
    const NuvResult result = Request(row);

    EXPECT_EQ(result, row.result);
    ASSERT_FALSE(Messages().empty());
    const std::string expected = Expand(row.message);
    EXPECT_EQ(Messages().back(), (LoggedMessage{row.msgClass, expected}));
    EXPECT_EQ(std::count_if(Messages().begin(), Messages().end(),
                            [&](const LoggedMessage& m) { return m.text == expected; }),
              1);
    if (row.before == Stage::Running) {
        EXPECT_EQ(Messages().size(), 1u) << "once running, only the failure speaks";
    }
    EXPECT_EQ(StageOf(context()), row.after);
    if (result != kDone) {
        const bool reads = row.function == 5 || row.function == 6 || row.function == 17;
        if (reads) {
            EXPECT_EQ(value_, std::vector<std::uint8_t>(16, 0xEE)) << "a failed read left a value";
        }
        EXPECT_TRUE(std::equal(outputBefore.begin(), outputBefore.end(), softcard::OutputArea(kCard).begin()))
            << "a failed request changed the card's output area";
    }

    // The fault is gone: the next request recovers from where the start-up stands.
    softcard::ClearFaults();
    softcard::SetCommBit(kCard, softcard::CommBit::FollowHostReady);
    const unsigned opens = softcard::CallCount(Call::OpenDriver);
    const unsigned hostReady = softcard::CallCount(Call::SetHostState);
    ClearMessages();
    EXPECT_EQ(Request(row), kDone);
    EXPECT_EQ(StageOf(context()), Stage::Running);
    const Stage left = row.after;
    EXPECT_EQ(softcard::CallCount(Call::OpenDriver) - opens, left == Stage::NotStarted ? 1u : 0u);
    EXPECT_EQ(softcard::CallCount(Call::SetHostState) - hostReady, left == Stage::Running ? 0u : 1u);
    EXPECT_EQ(RuleLines(), left == Stage::NotStarted ? 2u : 0u) << "the board report is logged once per open";
    if (row.recoveryMessage != nullptr) {
        EXPECT_EQ(Messages(), (std::vector<LoggedMessage>{{kDetail, row.recoveryMessage}}));
    } else if (left != Stage::NotStarted) {
        EXPECT_TRUE(Messages().empty()) << "a recovery without the report is silent";
    }
}

INSTANTIATE_TEST_SUITE_P(EveryIoFunctionAndCardCall, FaultMatrix, ::testing::ValuesIn(Matrix()),
                         [](const ::testing::TestParamInfo<Row>& row) { return row.param.name; });

}  // namespace
}  // namespace rizuz::testing
