// Gate and block definitions (functions 3 and 4) with any address text, any
// gate type and any block count.
//
// Input: one byte choosing the function (bit 0: block), the gate type and the
// block count as little-endian 32-bit words, then the address text (it ends at
// its first NUL, as the host's text does).
//
// Beyond "no crash, no sanitizer report": the result is 0 or 1; the text is
// only upper-cased; nothing of the record but the locator changes; a refusal
// says why; an accepted locator is one the data functions can trust (area,
// memory type, width, bit range, block size, and the gate type pairing); and
// the same definition gives the same answer twice.
#include <cstring>

#include "harness.hpp"
#include "rizuz/memory_type.hpp"

namespace {

using rizuz::GateDefinition;
using rizuz::GateLocator;

constexpr std::int32_t kUntouched = 0x5A5A5A5A;

struct Outcome {
    rizuz::NuvResult result;
    GateLocator locator;
    std::string text;
    fuzz::MessageStats messages;
};

Outcome Define(std::uint32_t function, const std::string& address, std::int32_t gateType, std::int32_t blockCount) {
    fuzz::HostContext host;
    auto text = fuzz::GuardedText(address);
    fuzz::GuardedRecord<GateDefinition> definition;
    definition->address = reinterpret_cast<char*>(text->data());
    definition->reserved4 = kUntouched;
    definition->gateType = gateType;
    definition->blockCount = blockCount;
    definition->locator = {kUntouched, kUntouched, kUntouched, kUntouched, kUntouched};

    fuzz::ResetMessages();
    const rizuz::NuvResult result = host.Call(function, definition.get());

    FUZZ_REQUIRE(host.Intact() && text->Intact() && definition.Intact());
    FUZZ_REQUIRE(definition->address == reinterpret_cast<char*>(text->data()));
    FUZZ_REQUIRE(definition->reserved4 == kUntouched);
    FUZZ_REQUIRE(definition->gateType == gateType && definition->blockCount == blockCount);
    return {result, definition->locator, reinterpret_cast<const char*>(text->data()), fuzz::Messages()};
}

// The host gate types each kind of gate is accepted for.
bool GateTypeFits(std::int32_t gateType, const GateLocator& l, bool stringGate) {
    if (stringGate) return gateType == 7;
    const std::uint32_t m = rizuz::MemoryTypeOf(l.typeWord);
    if (l.bit != -1 || (l.typeWord != rizuz::kDiagTypeWord && m == rizuz::kBool)) return gateType == 6;
    if (l.typeWord == rizuz::kDiagTypeWord) return gateType == 0;
    switch (m) {
        case rizuz::kSigned8:
        case rizuz::kSigned16: return gateType == 1;
        case rizuz::kSigned32: return gateType == 4;
        case rizuz::kUnsigned8:
        case rizuz::kUnsigned16: return gateType == 0 || gateType == 2;
        case rizuz::kUnsigned32: return gateType == 5;
        case rizuz::kFloat32: return gateType == 3;
        default: return false;
    }
}

void CheckAccepted(bool block, const std::string& text, std::int32_t gateType, std::int32_t blockCount,
                   const GateLocator& l) {
    const char area = text[0];
    const bool stringGate = text.size() > 1 && text[1] == 'S';
    if (area == 'D') {
        FUZZ_REQUIRE(l.typeWord == rizuz::kDiagTypeWord);
        FUZZ_REQUIRE(l.slave >= 0 && l.slave <= 255);
        FUZZ_REQUIRE(l.offset >= 0 && l.offset <= 99);
        FUZZ_REQUIRE(l.bit == -1 || (l.bit >= 0 && l.bit <= 7));
        FUZZ_REQUIRE(l.width == kUntouched);  // a D address has no width
        if (block) FUZZ_REQUIRE(static_cast<std::int64_t>(l.offset) + blockCount <= 99);
    } else {
        FUZZ_REQUIRE(area == 'S' || area == 'R');
        FUZZ_REQUIRE(rizuz::AreaOf(l.typeWord) == area && (l.typeWord & 0xFF00) == 0);
        const std::uint32_t m = rizuz::MemoryTypeOf(l.typeWord);
        FUZZ_REQUIRE(rizuz::IsMemoryType(m));
        FUZZ_REQUIRE(l.slave == 0);
        FUZZ_REQUIRE(l.offset >= 0 && l.offset <= 0xFFFF);
        if (stringGate) {
            FUZZ_REQUIRE(!block);
            FUZZ_REQUIRE(m == rizuz::kUnsigned8 && l.width == 16 && l.bit == -1);
        } else {
            FUZZ_REQUIRE(l.width == rizuz::TypeBits[m]);
            const std::int32_t maxBit = (m == rizuz::kSigned8 || m == rizuz::kUnsigned8) ? 7
                                        : rizuz::TypeSize[m] == 4                          ? -1
                                                                                           : 15;
            FUZZ_REQUIRE(l.bit == -1 || (l.bit >= 0 && l.bit <= maxBit));
        }
        if (block) FUZZ_REQUIRE(static_cast<std::int64_t>(rizuz::TypeSize[m]) * blockCount <= 512);
    }
    if (!block) {
        FUZZ_REQUIRE(GateTypeFits(gateType, l, stringGate));
        if (text.size() > 2 && text[2] != 'X') FUZZ_REQUIRE(text.size() <= (stringGate ? 7u : 8u));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static bool ready = [] {
        fuzz::ResetCard();
        return true;
    }();
    (void)ready;

    fuzz::Input input(data, size);
    const bool block = (input.Byte() & 1) != 0;
    const std::int32_t gateType = input.I32();
    const std::int32_t blockCount = input.I32();
    const std::string address = input.Rest();
    const std::string text = address.substr(0, std::strlen(address.c_str()));
    const std::uint32_t function = block ? 4 : 3;

    const unsigned callsBefore = fuzz::CardCallTotal();
    const Outcome first = Define(function, text, gateType, blockCount);
    FUZZ_REQUIRE(first.result == rizuz::kDone || first.result == rizuz::kRefused);
    FUZZ_REQUIRE(first.text == fuzz::UpperAscii(text));
    FUZZ_REQUIRE(first.messages.detail == 0);
    if (first.result == rizuz::kRefused) FUZZ_REQUIRE(first.messages.total >= 1);
    if (first.result == rizuz::kDone) CheckAccepted(block, first.text, gateType, blockCount, first.locator);
    FUZZ_REQUIRE(fuzz::CardCallTotal() == callsBefore);  // definitions never touch the card

    const Outcome again = Define(function, text, gateType, blockCount);
    FUZZ_REQUIRE(again.result == first.result && again.messages.total == first.messages.total);
    if (first.result == rizuz::kDone) {
        FUZZ_REQUIRE(std::memcmp(&again.locator, &first.locator, sizeof first.locator) == 0);
    }
    return 0;
}
