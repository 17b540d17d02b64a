// Sequences of requests of every kind against the soft card, with card faults,
// card data, stray mailbox messages and odd information replies drawn from the
// input as well.
//
// Input: a header (card, swap, convert, communication bit, loopback, a seed for
// the input area), then commands until the bytes run out: a request (function
// number, then a gate defined earlier, a defined gate with one word changed, or
// a locator, count and address made up from the bytes), an injected fault,
// bytes for the input area, a message for the mailbox, or a change of the
// card's replies or state, of its DP master's slaves or of how the master
// answers.
//
// Every buffer the host hands over is sized exactly as the host sizes it for
// that request and fenced with guard bytes. After each request: the result is
// 0, 1 or 2 (and what that function may answer); no guard, no word of the
// record the driver must not write, no byte of a buffer it must only read has
// changed; the context keeps its settings and moves through the start-up
// states only as the state table allows; a read that did not succeed left the
// value alone, and a value that was delivered is in the host's format.
#include <algorithm>
#include <cstring>
#include <vector>

#include "harness.hpp"
#include "rizuz/memory_type.hpp"
#include "dp_master.hpp"
#include "soft_card.hpp"

namespace {

using rizuz::DriverContext;
using rizuz::GateDefinition;
using rizuz::GateIo;
using rizuz::GateLocator;
using rizuz::NuvResult;

constexpr std::int32_t kUntouched = 0x5A5A5A5A;
constexpr std::size_t kLargestHostBuffer = std::size_t{1} << 18;
constexpr unsigned kMaxCommands = 96;
constexpr std::size_t kMaxDefinedGates = 8;

struct DefinedGate {
    std::string text;
    GateLocator locator;
    bool block;
    std::int32_t count;
};

bool IsIoFunction(std::uint32_t f) { return f == 2 || f == 5 || f == 6 || f == 7 || f == 10 || f == 17 || f == 18; }

bool IsStringAddress(const char* address) { return address[0] != '\0' && address[1] == 'S'; }

std::size_t Positive(std::int32_t count) { return count > 0 ? static_cast<std::size_t>(count) : 0; }

// How large the host makes the value buffer of this request.
std::size_t HostValueSize(std::uint32_t function, const GateIo& io, std::size_t hostStringSize) {
    const std::uint32_t m = rizuz::MemoryTypeOf(io.locator.typeWord);
    const bool diag = io.locator.typeWord == rizuz::kDiagTypeWord;
    switch (function) {
        case 5:
            return !diag && IsStringAddress(io.address) ? fuzz::HostStringLength(io.address) + 1u : 4u;
        case 7:
            return !diag && IsStringAddress(io.address) ? hostStringSize : 4u;
        case 6:
            return diag ? Positive(io.count) : rizuz::TypeSizeOf(m) * Positive(io.count);
        case 10:
            if (!diag && (m == rizuz::kSigned16 || m == rizuz::kUnsigned16) && io.locator.bit != -1) {
                return (Positive(io.count) + 15) / 16 * 2;  // bit blocks: 16 values to a word
            }
            return diag ? Positive(io.count) : rizuz::TypeSizeOf(m) * Positive(io.count);
        case 17:
        case 18:
            return Positive(io.count);
        default:
            return 0;
    }
}

class Session {
public:
    explicit Session(fuzz::Input& input) : in_(input) {}

    void Run() {
        GuardedInitParams();
        Configure();
        for (unsigned n = 0; n < kMaxCommands && !in_.Empty(); ++n) {
            switch (in_.Byte() % 8) {
                case 4: InjectFault(); break;
                case 5: PutInputData(); break;
                case 6: PostMailboxMessage(); break;
                case 7: ChangeCard(); break;
                default: Request(); break;
            }
        }
    }

private:
    fuzz::Input& in_;
    fuzz::HostContext host_;
    std::vector<DefinedGate> gates_;
    std::size_t nextGate_ = 0;

    DriverContext& context() { return host_.context(); }
    unsigned card() { return context().card; }

    void GuardedInitParams() {
        fuzz::GuardedRecord<rizuz::InitParams> params;
        FUZZ_REQUIRE(host_.Call(1, params.get()) == rizuz::kDone);
    }

    void Configure() {
        // What the init file could have said, and a flag byte that only counts when exactly 1.
        context().card = static_cast<std::uint8_t>(in_.Byte() % 4);
        context().swap = static_cast<std::uint8_t>(in_.Byte() % 3);
        context().convert = static_cast<std::uint8_t>(in_.Byte() % 3);
        softcard::SetCommBit(card(), static_cast<softcard::CommBit>(in_.Byte() % 3));
        softcard::SetLoopback(card(), (in_.Byte() & 1) != 0);
        const std::uint8_t seed = in_.Byte();
        auto area = softcard::InputArea(card());
        for (std::size_t i = 0; i < area.size(); ++i) area[i] = static_cast<std::uint8_t>(i * seed + (i >> 8));
    }

    void InjectFault() {
        const auto call = static_cast<softcard::Call>(in_.Byte() % softcard::kCallCount);
        auto code = static_cast<std::int16_t>(in_.U16());
        if (code == 0) code = -1;
        const unsigned nth = 1u + in_.Byte() % 4u;
        const unsigned times = in_.Byte() % 4u;
        softcard::FailCall(call, code, nth, times == 3 ? softcard::kForever : times + 1);
    }

    void PutInputData() {
        const std::size_t offset = in_.U16() % softcard::kAreaSize;
        const std::string bytes = in_.Bytes(in_.Byte());
        auto area = softcard::InputArea(card());
        const std::size_t n = std::min(bytes.size(), area.size() - offset);
        std::memcpy(area.data() + offset, bytes.data(), n);
    }

    // Either raw bytes or an answer that looks like the DP master's, for the
    // request about to be sent or a neighbour of it.
    void PostMailboxMessage() {
        std::uint8_t message[softcard::kMessageSize] = {};
        if ((in_.Byte() & 1) != 0) {
            const std::string bytes = in_.Bytes(in_.U16() % (softcard::kMessageSize + 1));
            std::memcpy(message, bytes.data(), bytes.size());
        } else {
            message[2] = static_cast<std::uint8_t>(38 + in_.Byte() % 8);                        // l
            message[3] = static_cast<std::uint8_t>(context().diagMessageNumber + in_.Byte() % 3);  // number
            message[4] = (in_.Byte() & 7) != 0 ? 66 : in_.Byte();                                  // a
            message[5] = (in_.Byte() & 7) != 0 ? 0 : in_.Byte();                                   // f
            message[6] = 66;
            message[13] = in_.Byte();                                                               // DataCnt
            const std::string diag = in_.Bytes(in_.Byte());  // fits behind the 16-byte head
            std::memcpy(message + 16, diag.data(), diag.size());
        }
        softcard::PostMessage(card(), message);
    }

    void ChangeCard() {
        switch (in_.Byte() % 7) {
            case 0:
                softcard::ClearFaults();
                softcard::dp::ClearFaults();
                break;
            case 1: softcard::SetCommBit(card(), static_cast<softcard::CommBit>(in_.Byte() % 3)); break;
            case 2: softcard::SetLoopback(card(), (in_.Byte() & 1) != 0); break;
            case 3: MisbehaveMaster(); break;
            case 4: {
                // A slave with any diagnosis, or none at all.
                const std::uint8_t slave = in_.Byte();
                const std::string bytes = in_.Bytes(in_.Byte());
                if (bytes.empty()) {
                    softcard::dp::RemoveSlave(card(), slave);
                } else {
                    softcard::dp::SetDiagnosis(card(), slave, {reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                                               bytes.size()});
                }
                break;
            }
            default: {
                // Replies with any bytes, texts without their NUL included.
                softcard::Replies& r = softcard::RepliesOf(card());
                std::uint8_t* fields[] = {r.boardInfo.data(), r.version.data(), r.firmware.data(), r.device.data()};
                const std::size_t sizes[] = {r.boardInfo.size(), r.version.size(), r.firmware.size(), r.device.size()};
                const unsigned which = in_.Byte() % 4;
                const std::size_t offset = in_.Byte() % sizes[which];
                const std::string bytes = in_.Bytes(sizes[which] - offset);
                std::memcpy(fields[which] + offset, bytes.data(), bytes.size());
                break;
            }
        }
    }

    // The DP master answers late, stale, wrong or not at all, for a few requests.
    void MisbehaveMaster() {
        namespace dp = softcard::dp;
        const unsigned requests = 1 + in_.Byte() % 4;
        switch (in_.Byte() % 8) {
            case 0: dp::AnswerLate(requests); break;
            case 1: dp::QueueStaleMessages(in_.Byte() % 8, requests); break;
            case 2: dp::AnswerFault(in_.Byte(), requests); break;
            case 3: dp::AnswerCode(in_.Byte(), requests); break;
            case 4: dp::AnswerLength(in_.Byte(), requests); break;
            case 5: dp::AnswerDataCount(in_.Byte(), requests); break;
            case 6: dp::DropAnswers(requests); break;
            default: dp::RefuseRequests(static_cast<std::int16_t>(in_.U16() | 1), requests); break;
        }
    }

    std::uint32_t DrawFunction() {
        static constexpr std::uint32_t kCommon[] = {5, 6, 7, 10, 17, 18, 2, 3, 4, 5, 7, 3, 4, 1, 11, 14};
        const std::uint8_t b = in_.Byte();
        if (b < 224) return kCommon[b % (sizeof kCommon / sizeof kCommon[0])];
        if (b < 252) return b % 20u;
        return static_cast<std::uint32_t>(in_.I32());
    }

    void Request() {
        const std::uint32_t function = DrawFunction();
        if (function == 3 || function == 4) return Define(function);
        if (function == 14) return DriverInfo();
        if (function == 1) return GuardedInitParams();
        if (function == 5 || function == 6 || function == 7 || function == 10 || function == 17 ||
            function == 18) {
            return Transfer(function);
        }
        // 2, 11 and numbers without a handler: only the context is looked at.
        Check(function, [&] { return host_.Call(function, nullptr); });
    }

    void Define(std::uint32_t function) {
        const std::int32_t gateType = static_cast<std::int8_t>(in_.Byte()) % 10;
        const std::int32_t blockCount = static_cast<std::int16_t>(in_.U16());
        auto text = fuzz::GuardedText(in_.Bytes(in_.Byte() % 24));
        fuzz::GuardedRecord<GateDefinition> definition;
        definition->address = reinterpret_cast<char*>(text->data());
        definition->gateType = gateType;
        definition->blockCount = blockCount;
        const unsigned calls = fuzz::CardCallTotal();
        const NuvResult result = host_.Call(function, definition.get());
        FUZZ_REQUIRE(result == rizuz::kDone || result == rizuz::kRefused);
        FUZZ_REQUIRE(text->Intact() && definition.Intact() && host_.Intact());
        FUZZ_REQUIRE(fuzz::CardCallTotal() == calls);
        if (result != rizuz::kDone) return;
        DefinedGate gate{reinterpret_cast<const char*>(text->data()), definition->locator, function == 4,
                         function == 4 ? blockCount : 1};
        if (gates_.size() < kMaxDefinedGates) {
            gates_.push_back(gate);
        } else {
            gates_[nextGate_++ % kMaxDefinedGates] = gate;
        }
    }

    void DriverInfo() {
        fuzz::GuardedRecord<rizuz::DriverInfo> info;
        info->word20 = info->word24 = kUntouched;
        const unsigned calls = fuzz::CardCallTotal();
        fuzz::ResetMessages();
        FUZZ_REQUIRE(host_.Call(14, info.get()) == rizuz::kDone);
        FUZZ_REQUIRE(info.Intact() && info->word20 == kUntouched && info->word24 == kUntouched);
        FUZZ_REQUIRE(info->contextSize == rizuz::kContextSize);
        FUZZ_REQUIRE(fuzz::Messages().total == 0 && fuzz::CardCallTotal() == calls);
    }

    // The locator, count and address of one transfer.
    void DrawTransfer(std::uint32_t function, GateLocator& locator, std::int32_t& count, std::string& address) {
        const unsigned mode = in_.Byte() % 4;
        if (function == 17 || function == 18) {
            static constexpr std::int32_t kSelectors[] = {0x49, 0, 0x20052, 0x20053};
            const unsigned pick = in_.Byte() % 5;
            locator = {0, pick < 4 ? kSelectors[pick] : in_.I32(), in_.U16(), -1, in_.I32()};
            count = static_cast<std::int16_t>(in_.U16());
            return;
        }
        if (mode < 3 && !gates_.empty()) {
            const DefinedGate& gate = gates_[in_.Byte() % gates_.size()];
            locator = gate.locator;
            address = gate.text;
            count = (function == 6 || function == 10) ? gate.count : 1;
            if (mode == 2) {  // one word changed
                std::int32_t* words[] = {&locator.slave, &locator.typeWord, &locator.offset, &locator.bit,
                                         &locator.width, &count};
                *words[in_.Byte() % 6] = in_.I32();
            }
            return;
        }
        locator = {in_.I32(), in_.I32(), in_.I32(), in_.I32(), in_.I32()};
        count = in_.I32();
        address = in_.Bytes(in_.Byte() % 24);
    }

    void Transfer(std::uint32_t function) {
        GateLocator locator{};
        std::int32_t count = 0;
        std::string addressText;
        DrawTransfer(function, locator, count, addressText);
        auto address = fuzz::GuardedText(addressText);

        fuzz::GuardedRecord<GateIo> io;
        io->address = reinterpret_cast<char*>(address->data());
        io->reserved4 = io->reserved28 = io->reserved36 = kUntouched;
        io->locator = locator;
        io->count = count;

        // A string the host wants written is its own text, sized to it.
        std::string hostString;
        if (function == 7) {
            hostString = in_.Bytes(in_.Byte() % 100);
            hostString.resize(std::strlen(hostString.c_str()));
        }
        const std::size_t valueSize = HostValueSize(function, *io, hostString.size() + 1);
        if (valueSize > kLargestHostBuffer) return;  // no host keeps a block that large
        fuzz::Guarded value(valueSize);
        const std::string fill = in_.Bytes(std::min<std::size_t>(in_.U16(), valueSize));
        std::memset(value.data(), 0xC3, valueSize);
        std::memcpy(value.data(), fill.data(), fill.size());
        if (function == 7 && IsStringAddress(io->address) && io->locator.typeWord != rizuz::kDiagTypeWord) {
            std::memcpy(value.data(), hostString.c_str(), hostString.size() + 1);
        }
        io->value = value.data();

        const std::vector<std::uint8_t> valueBefore(value.data(), value.data() + valueSize);
        const GateIo ioBefore = *io;
        const std::string addressBefore(reinterpret_cast<const char*>(address->data()));

        const NuvResult result = Check(function, [&] { return host_.Call(function, io.get()); });

        FUZZ_REQUIRE(io.Intact() && address->Intact() && value.Intact());
        FUZZ_REQUIRE(addressBefore == reinterpret_cast<const char*>(address->data()));
        CheckRecord(function, ioBefore, *io);
        const bool valueUnchanged = std::equal(valueBefore.begin(), valueBefore.end(), value.data());
        const bool readsIntoValue = function == 5 || function == 6 || function == 17;
        if (readsIntoValue && result != rizuz::kDone) FUZZ_REQUIRE(valueUnchanged);
        if (function == 10 || function == 18) FUZZ_REQUIRE(valueUnchanged);
        if (function == 7 && ioBefore.locator.bit == -1) FUZZ_REQUIRE(valueUnchanged);
        if (result == rizuz::kDone) CheckDelivered(function, ioBefore, valueBefore, value);
    }

    // What the driver may write into the host's GateIo: typeWord and width for
    // the raw functions, count for the single read and write.
    static void CheckRecord(std::uint32_t function, const GateIo& before, const GateIo& after) {
        FUZZ_REQUIRE(after.address == before.address && after.value == before.value);
        FUZZ_REQUIRE(after.reserved4 == kUntouched && after.reserved28 == kUntouched &&
                     after.reserved36 == kUntouched);
        FUZZ_REQUIRE(after.locator.slave == before.locator.slave && after.locator.offset == before.locator.offset);
        FUZZ_REQUIRE(after.locator.bit == before.locator.bit);
        if (function == 17 || function == 18) {
            FUZZ_REQUIRE(after.locator.width == before.locator.width || after.locator.width == 8);
            const std::int32_t t = after.locator.typeWord;
            FUZZ_REQUIRE(t == before.locator.typeWord || t == 0x20053 || (function == 17 && t == 0x20052));
        } else {
            FUZZ_REQUIRE(after.locator.typeWord == before.locator.typeWord);
            FUZZ_REQUIRE(after.locator.width == before.locator.width);
        }
        if (function == 5 || function == 7) {
            FUZZ_REQUIRE(after.count == before.count || after.count == 1);
        } else {
            FUZZ_REQUIRE(after.count == before.count);
        }
    }

    // The host's value format of a single gate that was read or bit-written.
    static void CheckDelivered(std::uint32_t function, const GateIo& io, const std::vector<std::uint8_t>& before,
                               const fuzz::Guarded& value) {
        if (function != 5 && !(function == 7 && io.locator.bit != -1)) return;
        const std::uint8_t* v = value.data();
        if (io.locator.typeWord != rizuz::kDiagTypeWord && IsStringAddress(io.address)) {
            // The host gets a terminated text; a string written stays the host's text.
            if (function == 5) FUZZ_REQUIRE(std::memchr(v, 0, value.size()) != nullptr);
            return;
        }
        const unsigned w0 = static_cast<unsigned>(v[0] | (v[1] << 8));
        const unsigned w1 = static_cast<unsigned>(v[2] | (v[3] << 8));
        if (io.locator.typeWord == rizuz::kDiagTypeWord) {
            if (function != 5) return;
            // W0 is never written; W1 holds a byte or a bit, unless three answers were rejected.
            FUZZ_REQUIRE(v[0] == before[0] && v[1] == before[1]);
            const bool untouched = v[2] == before[2] && v[3] == before[3];
            FUZZ_REQUIRE(untouched || (io.locator.bit == -1 ? w1 <= 0xFF : w1 <= 1));
            return;
        }
        const std::uint32_t m = rizuz::MemoryTypeOf(io.locator.typeWord);
        switch (m) {
            case rizuz::kBool: FUZZ_REQUIRE(w0 == 0 && w1 <= 1); break;
            case rizuz::kSigned8:
            case rizuz::kUnsigned8:
            case rizuz::kSigned16:
            case rizuz::kUnsigned16:
                FUZZ_REQUIRE(w0 == 0);
                if (io.locator.bit != -1) {
                    FUZZ_REQUIRE(w1 <= 1);
                } else if (m == rizuz::kUnsigned8) {
                    FUZZ_REQUIRE(w1 <= 0xFF);
                } else if (m == rizuz::kSigned8) {
                    FUZZ_REQUIRE(w1 <= 0x7F || w1 >= 0xFF80);
                }
                break;
            default: break;  // 32-bit values may hold anything
        }
    }

    // Runs one request and checks what holds for every function.
    template <typename Call>
    NuvResult Check(std::uint32_t function, Call&& call) {
        DriverContext& c = context();
        const DriverContext before = c;
        const std::vector<std::uint8_t> spare(host_.bytes() + sizeof(DriverContext),
                                              host_.bytes() + rizuz::kContextSize);
        const unsigned calls = fuzz::CardCallTotal();
        fuzz::ResetMessages();

        const NuvResult result = call();

        FUZZ_REQUIRE(result == rizuz::kDone || result == rizuz::kRefused || result == rizuz::kFailed);
        FUZZ_REQUIRE(host_.Intact());
        FUZZ_REQUIRE(std::memcmp(spare.data(), host_.bytes() + sizeof(DriverContext), spare.size()) == 0);

        // Settings belong to function 1 alone.
        FUZZ_REQUIRE(c.timeout == before.timeout && c.card == before.card && c.swap == before.swap &&
                     c.convert == before.convert);

        // Reads are refused after shut down, before anything else happens.
        if ((function == 5 || function == 6) && before.shutDown != 0) {
            FUZZ_REQUIRE(result == rizuz::kRefused && fuzz::CardCallTotal() == calls);
        }
        if (function == 11) FUZZ_REQUIRE(c.shutDown != 0 && result != rizuz::kRefused);
        if (function != 11) FUZZ_REQUIRE(c.shutDown == before.shutDown);

        // The start-up moves forward only: not started -> board opened -> running.
        if (before.boardOpened != 0) FUZZ_REQUIRE(c.boardOpened != 0);
        if (before.commRunning != 0) FUZZ_REQUIRE(c.commRunning != 0);
        if (c.commRunning != 0) FUZZ_REQUIRE(c.boardOpened != 0);
        if (!IsIoFunction(function)) {
            FUZZ_REQUIRE(c.boardOpened == before.boardOpened && c.commRunning == before.commRunning);
        }

        // The staging buffers belong to the transfers that use them.
        const bool stagesWrite = function == 7 || function == 10 || function == 18;
        const bool readsImage = function == 5 || function == 6 || function == 17 || function == 7;
        if (!stagesWrite) {
            FUZZ_REQUIRE(std::memcmp(c.sendBuffer, before.sendBuffer, sizeof c.sendBuffer) == 0);
        }
        if (!readsImage) {
            FUZZ_REQUIRE(std::memcmp(c.receiveBuffer, before.receiveBuffer, sizeof c.receiveBuffer) == 0);
        }
        if (function != 5 && function != 6) FUZZ_REQUIRE(c.diagMessageNumber == before.diagMessageNumber);

        if (function < 1 || function > 18 || function == 8 || function == 9 || function == 12 || function == 13 ||
            function == 15 || function == 16) {
            FUZZ_REQUIRE(result == rizuz::kFailed && fuzz::CardCallTotal() == calls);
        }
        return result;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static bool ready = [] {
        fuzz::EnterScratchDirectory();  // function 1 finds no init file here
        return true;
    }();
    (void)ready;

    fuzz::ResetCard();
    fuzz::Input input(data, size);
    Session session(input);
    session.Run();
    return 0;
}
