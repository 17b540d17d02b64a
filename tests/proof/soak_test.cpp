// Data integrity under a long random mix of single, bit, block, string and raw
// writes and reads of every memory type, with swapping and conversion on and
// off, against the soft card with its outputs looped back to its inputs.
//
// A reference model holds what both process data areas must contain. After
// every request the whole of both areas must equal the model, so no byte
// outside the gate moved; every value written must read back as written,
// through the send area and through the looped-back receive area (a
// converted float less the one fraction bit the Siemens format does not
// keep); and every read must deliver the model's bytes in the host's format.
//
// The suite runs a bounded number of operations; RIZUZ_SOAK_OPS (per
// configuration) and RIZUZ_SOAK_SEED make a longer or a different run.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "proof_host.hpp"
#include "reference_formats.hpp"
#include "rizuz/memory_type.hpp"

namespace rizuz::testing {
namespace {

namespace ref = reference;

constexpr unsigned kCard = 1;
constexpr unsigned kWindow = 1024;         // gates share these bytes, so they overlap
constexpr unsigned kDefaultOperations = 20000;  // per configuration
constexpr unsigned kStringType = 0;

struct Config {
    bool swap;
    bool convert;
};

void PrintTo(const Config& c, std::ostream* out) { *out << "swap " << c.swap << ", convert " << c.convert; }

// One gate or block of the soak: where it lives and what it holds.
struct GatePlan {
    char area = 'S';
    unsigned type = 1;  // memory type 1 to 8, or kStringType
    unsigned byteOffset = 0;
    int bit = -1;
    unsigned length = 0;  // string gates: the defined length
    bool block = false;
    unsigned count = 1;  // blocks: elements
    bool bitBlock = false;
};

unsigned ElementSize(const GatePlan& s) { return s.type == kStringType ? 1u : TypeSize[s.type]; }
bool Is16(unsigned type) { return type == kSigned16 || type == kUnsigned16; }
bool Is32(unsigned type) { return TypeSize[type] == 4; }

unsigned EnvOr(const char* name, unsigned fallback) {
    const char* text = std::getenv(name);
    return text != nullptr ? static_cast<unsigned>(std::strtoul(text, nullptr, 10)) : fallback;
}

std::uint16_t W1Of(const std::uint8_t* v) { return static_cast<std::uint16_t>(v[2] | (v[3] << 8)); }
std::uint32_t HostValueBits(const std::uint8_t* v) { return reference::Get32(v, false); }
std::uint16_t SignExtend8(unsigned byte) {
    return static_cast<std::uint16_t>(static_cast<std::int16_t>(static_cast<std::int8_t>(byte & 0xFF)));
}

std::array<std::uint8_t, 4> Words(std::uint16_t w0, std::uint16_t w1) {
    return {static_cast<std::uint8_t>(w0), static_cast<std::uint8_t>(w0 >> 8), static_cast<std::uint8_t>(w1),
            static_cast<std::uint8_t>(w1 >> 8)};
}

std::array<std::uint8_t, 4> Long(std::uint32_t v) {
    return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v >> 16),
            static_cast<std::uint8_t>(v >> 24)};
}

std::string Hex(const std::uint8_t* bytes, std::size_t n) {
    std::string text;
    char two[4];
    for (std::size_t i = 0; i < n; ++i) {
        std::snprintf(two, sizeof two, "%02X ", bytes[i]);
        text += two;
    }
    return text;
}

class Soak : public ProofTest, public ::testing::WithParamInterface<Config> {
protected:
    void SetUp() override {
        ProofTest::SetUp();
        const Config c = GetParam();
        swap_ = c.swap;
        convert_ = c.convert;
        rng_.seed(EnvOr("RIZUZ_SOAK_SEED", 20261211) + (swap_ ? 2u : 0u) + (convert_ ? 1u : 0u));
        InitWith("CARD = 1\nSWAP = " + std::to_string(swap_) + "\nCONVERT = " + std::to_string(convert_) + "\n");
        ASSERT_EQ(context().card, kCard);
        ASSERT_EQ(context().swap, swap_ ? 1 : 0);
        ASSERT_EQ(context().convert, convert_ ? 1 : 0);
        softcard::SetCallLog(false);
        softcard::SetLoopback(kCard, true);
        for (unsigned i = 0; i < softcard::kAreaSize; ++i) {
            out_[i] = softcard::OutputArea(kCard)[i] = Byte();
            in_[i] = softcard::InputArea(kCard)[i] = Byte();
        }
        ASSERT_EQ(Call(2, nullptr), kDone);  // start the board once, report and all
    }

    // ---- random choices --------------------------------------------------

    std::uint8_t Byte() { return static_cast<std::uint8_t>(rng_()); }
    unsigned Below(unsigned n) { return static_cast<unsigned>(rng_() % n); }

    unsigned AlignedOffset(unsigned size, unsigned bytes) {
        return Below((kWindow - bytes) / size + 1) * size;
    }

    GatePlan RandomSingle(char area) {
        GatePlan s;
        s.area = area;
        s.type = 1 + Below(8);
        s.byteOffset = AlignedOffset(ElementSize(s), ElementSize(s));
        if (!Is32(s.type) && Below(3) == 0) {
            s.bit = static_cast<int>(Below(s.type == kSigned8 || s.type == kUnsigned8 ? 8 : 16));
        }
        return s;
    }

    GatePlan RandomBlock(char area) {
        GatePlan s;
        s.area = area;
        s.block = true;
        s.type = 1 + Below(8);
        const unsigned size = ElementSize(s);
        if (Is16(s.type) && Below(4) == 0) {
            s.bitBlock = true;
            s.bit = static_cast<int>(Below(16));
            s.count = 16 * (1 + Below(16));
        } else {
            const unsigned most = 512 / size;
            s.count = Below(4) == 0 ? most : 1 + Below(most);
        }
        s.byteOffset = AlignedOffset(size, size * s.count);
        return s;
    }

    GatePlan RandomString(char area) {
        GatePlan s;
        s.area = area;
        s.type = kStringType;
        s.length = 1 + Below(80);
        s.byteOffset = 2 * Below((kWindow - s.length) / 2 + 1);
        return s;
    }

    // The address the host gives, in the short form where it can hold the
    // gate and sometimes in the extended form anyway.
    std::string AddressOf(const GatePlan& s) {
        char text[40];
        const bool extended = Below(2) == 0;
        if (s.type == kStringType) {
            const unsigned wordOffset = s.byteOffset / 2;
            if (!extended && wordOffset <= 999) {
                std::snprintf(text, sizeof text, "%cS%03u%02u", s.area, wordOffset, s.length);
            } else {
                std::snprintf(text, sizeof text, "%cSX%uL%u", s.area, wordOffset, s.length);
            }
            return text;
        }
        const int bit = s.bitBlock || s.bit >= 0 ? s.bit : -1;
        if (!extended && s.byteOffset <= 999) {
            std::snprintf(text, sizeof text, "%c%u%03u", s.area, s.type, s.byteOffset);
            if (bit >= 0) std::snprintf(text + 5, sizeof text - 5, "%X", static_cast<unsigned>(bit));
        } else {
            std::snprintf(text, sizeof text, "%c%uX%u", s.area, s.type, s.byteOffset);
            if (bit >= 0) {
                const std::size_t end = std::strlen(text);
                std::snprintf(text + end, sizeof text - end, "B%X", static_cast<unsigned>(bit));
            }
        }
        return text;
    }

    static std::int32_t GateTypeOf(const GatePlan& s) {
        if (s.type == kStringType) return 7;
        if (s.bit >= 0 || s.type == kBool) return 6;
        switch (s.type) {
            case kSigned8:
            case kSigned16: return 1;
            case kSigned32: return 4;
            case kUnsigned32: return 5;
            case kFloat32: return 3;
            default: return 0;  // 5 and 6
        }
    }

    HostGate Define(const GatePlan& s) {
        const std::string address = AddressOf(s);
        return s.block ? DefineBlock(address, static_cast<std::int32_t>(s.count))
                       : DefineGate(address, GateTypeOf(s));
    }

    // ---- the reference model --------------------------------------------

    std::uint8_t* ModelArea(char area) { return area == 'S' ? out_.data() : in_.data(); }

    // A write lands in the send area and, looped back, in the receive area.
    void ModelWrite(unsigned offset, const std::uint8_t* bytes, std::size_t n) {
        std::memcpy(out_.data() + offset, bytes, n);
        std::memcpy(in_.data() + offset, bytes, n);
    }

    ::testing::AssertionResult CardMatchesModel() {
        const auto out = softcard::OutputArea(kCard);
        const auto in = softcard::InputArea(kCard);
        for (unsigned i = 0; i < softcard::kAreaSize; ++i) {
            if (out[i] != out_[i] || in[i] != in_[i]) {
                return ::testing::AssertionFailure()
                       << "after " << operation_ << ": byte " << i << " is " << unsigned{out[i]} << "/"
                       << unsigned{in[i]} << " (send/receive), the model says " << unsigned{out_[i]} << "/"
                       << unsigned{in_[i]};
            }
        }
        return ::testing::AssertionSuccess();
    }

    // The host's four value bytes for a single gate on these card bytes.
    std::array<std::uint8_t, 4> DecodeSingle(const GatePlan& s, const std::uint8_t* card) const {
        std::uint16_t w1 = 0;
        switch (s.type) {
            case kBool: return Words(0, card[0] != 0 ? 1 : 0);
            case kSigned8: w1 = SignExtend8(card[0]); break;
            case kUnsigned8: w1 = card[0]; break;
            case kSigned16:
            case kUnsigned16: w1 = ref::Get16(card, swap_); break;
            case kFloat32: {
                const std::uint32_t v = ref::Get32(card, swap_);
                return Long(convert_ ? ref::IeeeFromSiemens(v) : v);
            }
            default: return Long(ref::Get32(card, swap_));
        }
        if (s.bit >= 0) w1 = static_cast<std::uint16_t>((unsigned{w1} >> s.bit) & 1u);
        return Words(0, w1);
    }

    // The card bytes a single write of `value` lays down, on top of `card`.
    void EncodeSingle(const GatePlan& s, const std::uint8_t* value, std::uint8_t* card) const {
        const std::uint16_t w1 = W1Of(value);
        switch (s.type) {
            case kBool: card[0] = w1 != 0 ? 0xFF : 0x00; return;
            case kSigned8:
            case kUnsigned8:
                if (s.bit < 0) {
                    card[0] = static_cast<std::uint8_t>(w1);
                } else {
                    const unsigned mask = 1u << s.bit;
                    card[0] = static_cast<std::uint8_t>(w1 != 0 ? card[0] | mask : card[0] & ~mask);
                }
                return;
            case kSigned16:
            case kUnsigned16: {
                std::uint16_t word = w1;
                if (s.bit >= 0) {
                    const std::uint16_t old = ref::Get16(card, swap_);
                    const unsigned mask = 1u << s.bit;
                    word = static_cast<std::uint16_t>(w1 != 0 ? old | mask : old & ~mask);
                }
                ref::Put16(card, word, swap_);
                return;
            }
            case kFloat32: {
                const std::uint32_t bits = HostValueBits(value);
                ref::Put32(card, convert_ ? ref::SiemensFromIeee(bits) : bits, swap_);
                return;
            }
            default: ref::Put32(card, HostValueBits(value), swap_); return;
        }
    }

    // What a single read gives after the host wrote `value` to the gate.
    std::array<std::uint8_t, 4> ReadAfterWrite(const GatePlan& s, const std::uint8_t* value) const {
        const std::uint16_t w1 = W1Of(value);
        if (s.bit >= 0 || s.type == kBool) return Words(0, w1 != 0 ? 1 : 0);
        switch (s.type) {
            case kSigned8: return Words(0, SignExtend8(w1));
            case kUnsigned8: return Words(0, w1 & 0xFF);
            case kSigned16:
            case kUnsigned16: return Words(0, w1);
            case kFloat32: {
                const std::uint32_t bits = HostValueBits(value);
                return Long(convert_ ? ref::WithoutLastFractionBit(bits) : bits);
            }
            default: return Long(HostValueBits(value));
        }
    }

    // The host's block buffer for a block on these card bytes.
    std::vector<std::uint8_t> DecodeBlock(const GatePlan& s, const std::uint8_t* card) const {
        const unsigned size = ElementSize(s);
        std::vector<std::uint8_t> host(size * s.count);
        for (unsigned i = 0; i < s.count; ++i) {
            const std::uint8_t* c = card + i * size;
            std::uint8_t* h = host.data() + i * size;
            if (size == 1) {
                h[0] = c[0];
            } else if (size == 2) {
                ref::Put16(h, ref::Get16(c, swap_), false);
            } else {
                std::uint32_t v = ref::Get32(c, swap_);
                if (s.type == kFloat32 && convert_) v = ref::IeeeFromSiemens(v);
                ref::Put32(h, v, false);
            }
        }
        return host;
    }

    // The card bytes a block write of `host` lays down.
    std::vector<std::uint8_t> EncodeBlock(const GatePlan& s, const std::vector<std::uint8_t>& host) const {
        if (s.bitBlock) {  // count / 16 words, bit for bit
            std::vector<std::uint8_t> card(s.count / 8);
            for (unsigned w = 0; w < s.count / 16; ++w) {
                ref::Put16(card.data() + 2 * w, ref::Get16(&host[2 * w], false), swap_);
            }
            return card;
        }
        const unsigned size = ElementSize(s);
        std::vector<std::uint8_t> card(size * s.count);
        for (unsigned i = 0; i < s.count; ++i) {
            const std::uint8_t* h = host.data() + i * size;
            std::uint8_t* c = card.data() + i * size;
            if (size == 1) {
                c[0] = h[0];
            } else if (size == 2) {
                ref::Put16(c, ref::Get16(h, false), swap_);
            } else {
                std::uint32_t v = ref::Get32(h, false);
                if (s.type == kFloat32 && convert_) v = ref::SiemensFromIeee(v);
                ref::Put32(c, v, swap_);
            }
        }
        return card;
    }

    // ---- operations -----------------------------------------------------

    void Describe(const char* what, const GatePlan& s, const std::string& address) {
        operation_ = "operation " + std::to_string(done_) + " (" + what + " " + address + ", count " +
                     std::to_string(s.count) + ")";
    }

    // Reads a single gate and compares with the model (and with `expected`, when given).
    void ReadSingle(GatePlan s, const std::array<std::uint8_t, 4>* expected) {
        HostGate gate = Define(s);
        Describe("single read", s, gate.address);
        GuardedBytes value(4);
        std::memset(value.data(), 0xEE, 4);
        GateIo io = IoFor(gate, value.data());
        ClearMessages();
        ASSERT_EQ(Call(5, &io), kDone) << operation_;
        ASSERT_TRUE(value.Intact()) << operation_;
        ASSERT_TRUE(Messages().empty()) << operation_ << ": " << Messages().front();
        const auto fromModel = DecodeSingle(s, ModelArea(s.area) + s.byteOffset);
        ASSERT_EQ(Hex(value.data(), 4), Hex(fromModel.data(), 4)) << operation_ << " against the model";
        if (expected != nullptr) {
            ASSERT_EQ(Hex(value.data(), 4), Hex(expected->data(), 4)) << operation_ << ": not what was written";
        }
    }

    void SingleWrite() {
        GatePlan s = RandomSingle('S');
        HostGate gate = Define(s);
        Describe("single write", s, gate.address);
        GuardedBytes value(4);
        for (unsigned i = 0; i < 4; ++i) value.data()[i] = Byte();
        if (s.type == kFloat32) {
            const auto bits = Long(ref::RandomFloatBits(rng_, convert_));
            std::memcpy(value.data(), bits.data(), 4);
        }
        if ((s.bit >= 0 || s.type == kBool) && Below(2) == 0) value.data()[2] = value.data()[3] = 0;
        std::array<std::uint8_t, 4> written{};
        std::memcpy(written.data(), value.data(), 4);

        std::uint8_t card[4];
        std::memcpy(card, out_.data() + s.byteOffset, 4);
        EncodeSingle(s, written.data(), card);

        GateIo io = IoFor(gate, value.data());
        ClearMessages();
        ASSERT_EQ(Call(7, &io), kDone) << operation_;
        ASSERT_TRUE(Messages().empty()) << operation_ << ": " << Messages().front();
        ASSERT_TRUE(value.Intact()) << operation_;
        ASSERT_EQ(io.count, 1) << operation_;
        ModelWrite(s.byteOffset, card, ElementSize(s));
        ASSERT_TRUE(CardMatchesModel());
        const auto leftInHost = s.bit >= 0 ? Words(0, W1Of(written.data()) != 0 ? 1 : 0) : written;
        ASSERT_EQ(Hex(value.data(), 4), Hex(leftInHost.data(), 4)) << operation_ << ": the host's value";

        const auto expected = ReadAfterWrite(s, written.data());
        ReadSingle(s, &expected);
        s.area = 'R';
        ReadSingle(s, &expected);
    }

    void RefusedWriteToInputs() {
        const bool block = Below(2) == 0;
        GatePlan s = block ? RandomBlock('R') : RandomSingle('R');
        HostGate gate = Define(s);
        Describe("refused write", s, gate.address);
        GuardedBytes value(block ? 512 : 4);
        GateIo io = IoFor(gate, value.data());
        ClearMessages();
        ASSERT_EQ(Call(block ? 10 : 7, &io), kRefused) << operation_;
        ASSERT_TRUE(Messages().empty()) << operation_;
        ASSERT_TRUE(CardMatchesModel());
    }

    void RandomSingleRead() {
        const GatePlan s = RandomSingle(Below(2) == 0 ? 'S' : 'R');
        ReadSingle(s, nullptr);
    }

    void ReadBlock(const GatePlan& s, const std::vector<std::uint8_t>* expected) {
        HostGate gate = Define(s);
        Describe("block read", s, gate.address);
        GuardedBytes value(ElementSize(s) * s.count);
        std::memset(value.data(), 0xEE, value.size());
        GateIo io = IoFor(gate, value.data());
        ClearMessages();
        ASSERT_EQ(Call(6, &io), kDone) << operation_;
        ASSERT_TRUE(value.Intact()) << operation_;
        ASSERT_TRUE(Messages().empty()) << operation_ << ": " << Messages().front();
        const auto fromModel = DecodeBlock(s, ModelArea(s.area) + s.byteOffset);
        ASSERT_EQ(Hex(value.data(), value.size()), Hex(fromModel.data(), fromModel.size())) << operation_;
        if (expected != nullptr) {
            ASSERT_EQ(Hex(value.data(), value.size()), Hex(expected->data(), expected->size()))
                << operation_ << ": not what was written";
        }
    }

    void BlockWrite() {
        GatePlan s = RandomBlock('S');
        const unsigned hostBytes = s.bitBlock ? s.count / 8 : ElementSize(s) * s.count;
        std::vector<std::uint8_t> written(hostBytes);
        for (auto& b : written) b = Byte();
        if (s.type == kFloat32) {
            for (unsigned i = 0; i < s.count; ++i) {
                ref::Put32(&written[4 * i], ref::RandomFloatBits(rng_, convert_), false);
            }
        }
        HostGate gate = Define(s);
        Describe("block write", s, gate.address);
        GuardedBytes value(hostBytes);
        std::memcpy(value.data(), written.data(), hostBytes);
        const std::vector<std::uint8_t> card = EncodeBlock(s, written);

        GateIo io = IoFor(gate, value.data());
        ClearMessages();
        ASSERT_EQ(Call(10, &io), kDone) << operation_;
        ASSERT_TRUE(Messages().empty()) << operation_ << ": " << Messages().front();
        ASSERT_TRUE(value.Intact()) << operation_;
        ASSERT_EQ(0, std::memcmp(value.data(), written.data(), hostBytes)) << operation_ << ": host buffer changed";
        ModelWrite(s.byteOffset, card.data(), card.size());
        ASSERT_TRUE(CardMatchesModel());

        // Read it back through the receive area: a bit block as the words it packs.
        GatePlan back = s;
        back.area = 'R';
        if (s.bitBlock) {
            back.type = kUnsigned16;
            back.bitBlock = false;
            back.bit = -1;
            back.count = s.count / 16;
        }
        std::vector<std::uint8_t> expected = written;
        if (s.type == kFloat32 && convert_) {
            for (unsigned i = 0; i < s.count; ++i) {
                const std::uint32_t bits = ref::Get32(&expected[4 * i], false);
                ref::Put32(&expected[4 * i], ref::WithoutLastFractionBit(bits), false);
            }
        }
        ReadBlock(back, &expected);
    }

    void RandomBlockRead() {
        ReadBlock(RandomBlock(Below(2) == 0 ? 'S' : 'R'), nullptr);
    }

    void StringWrite() {
        GatePlan s = RandomString('S');
        HostGate gate = Define(s);
        Describe("string write", s, gate.address);
        const bool tooLong = Below(8) == 0;
        const unsigned textLength = tooLong ? s.length + Below(4) : Below(s.length);
        std::string text;
        for (unsigned i = 0; i < textLength; ++i) text += static_cast<char>('!' + Below(94));
        GuardedBytes value(text.size() + 1);
        std::memcpy(value.data(), text.c_str(), text.size() + 1);

        GateIo io = IoFor(gate, value.data());
        ClearMessages();
        if (tooLong) {
            ASSERT_EQ(Call(7, &io), kRefused) << operation_;
            ASSERT_EQ(Messages(), (std::vector<LoggedMessage>{
                                      {kEvent, "RIZUZ> Attempt to write a string longer than defined!"}}));
            ASSERT_TRUE(CardMatchesModel());
            return;
        }
        ASSERT_EQ(Call(7, &io), kDone) << operation_;
        ASSERT_TRUE(Messages().empty()) << operation_ << ": " << Messages().front();
        ASSERT_TRUE(value.Intact()) << operation_;
        std::vector<std::uint8_t> card(s.length, 0);
        std::memcpy(card.data(), text.data(), text.size());
        ModelWrite(s.byteOffset, card.data(), card.size());
        ASSERT_TRUE(CardMatchesModel());

        for (char area : {'S', 'R'}) {
            s.area = area;
            HostGate reader = Define(s);
            Describe("string read", s, reader.address);
            GuardedBytes got(s.length + 1);
            std::memset(got.data(), 0xEE, got.size());
            GateIo readIo = IoFor(reader, got.data());
            ASSERT_EQ(Call(5, &readIo), kDone) << operation_;
            ASSERT_TRUE(got.Intact()) << operation_;
            ASSERT_EQ(readIo.count, 1) << operation_;
            ASSERT_EQ(std::string(reinterpret_cast<const char*>(got.data())), text) << operation_;
        }
    }

    void RawWrite() {
        const unsigned count = 1 + Below(512);
        const unsigned offset = Below(softcard::kAreaSize - count + 1);
        Describe("raw write", GatePlan{}, std::to_string(offset) + "+" + std::to_string(count));
        GuardedBytes value(count);
        for (unsigned i = 0; i < count; ++i) value.data()[i] = Byte();
        GateIo io = RawIo(0, static_cast<std::int32_t>(offset), static_cast<std::int32_t>(count), value.data());
        ClearMessages();
        ASSERT_EQ(Call(18, &io), kDone) << operation_;
        ASSERT_TRUE(Messages().empty()) << operation_;
        ASSERT_TRUE(value.Intact()) << operation_;
        ModelWrite(offset, value.data(), count);
        ASSERT_TRUE(CardMatchesModel());
    }

    void RawRead() {
        const unsigned count = 1 + Below(512);
        const unsigned offset = Below(softcard::kAreaSize - count + 1);
        const bool input = Below(2) == 0;
        Describe(input ? "raw read of inputs" : "raw read of outputs", GatePlan{},
                 std::to_string(offset) + "+" + std::to_string(count));
        GuardedBytes value(count);
        GateIo io = RawIo(input ? 'I' : 0, static_cast<std::int32_t>(offset), static_cast<std::int32_t>(count),
                          value.data());
        ClearMessages();
        ASSERT_EQ(Call(17, &io), kDone) << operation_;
        ASSERT_TRUE(value.Intact()) << operation_;
        const std::uint8_t* expected = (input ? in_.data() : out_.data()) + offset;
        ASSERT_EQ(Hex(value.data(), count), Hex(expected, count)) << operation_;
    }

    // The fieldbus peers change some inputs.
    void InputsChange() {
        const unsigned count = 1 + Below(64);
        const unsigned offset = Below(kWindow - count + 1);
        for (unsigned i = 0; i < count; ++i) in_[offset + i] = softcard::InputArea(kCard)[offset + i] = Byte();
    }

    bool swap_ = false;
    bool convert_ = false;
    std::mt19937 rng_;
    std::array<std::uint8_t, softcard::kAreaSize> out_{};  // the model of the send area
    std::array<std::uint8_t, softcard::kAreaSize> in_{};   // the model of the receive area
    std::string operation_;
    unsigned done_ = 0;
};

TEST_P(Soak, EveryValueReadsBackAsWrittenAndNothingElseMoves) {
    const unsigned operations = EnvOr("RIZUZ_SOAK_OPS", kDefaultOperations);
    unsigned counts[9] = {};
    for (done_ = 0; done_ < operations && !HasFailure(); ++done_) {
        const unsigned pick = Below(100);
        // Cumulative weights of the kinds below, in percent.
        static constexpr unsigned kUpTo[] = {25, 35, 50, 60, 70, 78, 86, 94, 100};
        unsigned kind = 0;
        while (pick >= kUpTo[kind]) ++kind;
        ++counts[kind];
        switch (kind) {
            case 0: SingleWrite(); break;
            case 1: RandomSingleRead(); break;
            case 2: BlockWrite(); break;
            case 3: RandomBlockRead(); break;
            case 4: StringWrite(); break;
            case 5: RawWrite(); break;
            case 6: RawRead(); break;
            case 7: InputsChange(); break;
            default: RefusedWriteToInputs(); break;
        }
    }
    std::printf("soak swap %d convert %d: %u operations (single writes %u, single reads %u, block writes %u, "
                "block reads %u, strings %u, raw writes %u, raw reads %u, input changes %u, refused writes %u)\n",
                swap_, convert_, done_, counts[0], counts[1], counts[2], counts[3], counts[4], counts[5], counts[6],
                counts[7], counts[8]);
}

INSTANTIATE_TEST_SUITE_P(SwapAndConvert, Soak,
                         ::testing::Values(Config{false, false}, Config{true, false}, Config{false, true},
                                           Config{true, true}),
                         [](const ::testing::TestParamInfo<Config>& c) {
                             return std::string(c.param.swap ? "Swap" : "NoSwap") +
                                    (c.param.convert ? "Convert" : "NoConvert");
                         });

}  // namespace
}  // namespace rizuz::testing
