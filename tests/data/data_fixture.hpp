// A host whose card is already running: the soft card's board 0 opened and
// initialised as the start-up leaves it, and commRunning set, so the process
// data functions go straight to their work. Host value buffers are heap blocks
// of exactly the size the host gives, so the asan preset catches any overrun.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "driver_fixture.hpp"
#include "rizuz/card_library.hpp"
#include "rizuz/memory_type.hpp"
#include "soft_card.hpp"

namespace rizuz::testing {

using Bytes = std::vector<std::uint8_t>;

// A locator as the parser would write it for an S or R gate at `byteOffset`.
inline GateLocator NumericLocator(MemoryType type, char area, std::int32_t byteOffset, std::int32_t bit = -1) {
    return {0, MakeTypeWord(type, area), byteOffset / TypeSize[type], bit, TypeBits[type]};
}

// A string gate's locator: memory type 5, width 16 and the offset undivided.
inline GateLocator StringLocator(char area, std::int32_t writtenOffset) {
    return {0, MakeTypeWord(kUnsigned8, area), writtenOffset, -1, 16};
}

inline GateLocator DiagLocator(std::int32_t slave, std::int32_t byteOffset, std::int32_t bit = -1) {
    return {slave, kDiagTypeWord, byteOffset, bit, 0};
}

class DataTest : public DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        DevOpenDriver(0);
        DevInitBoard(0, nullptr);
        context().timeout = 1000;
        context().boardOpened = 1;
        context().commRunning = 1;
        callsAtStart_ = CardCalls();
    }

    // Start-up not done and bound to fail at DevOpenDriver: a request that
    // reaches the start-up fails with 2, and one refused before it answers 1
    // without any card call.
    void StopTheBoard() {
        context().commRunning = 0;
        context().boardOpened = 0;
        softcard::FailCall(softcard::Call::OpenDriver, -1, 1, softcard::kForever);
    }

    static unsigned CardCalls() {
        unsigned total = 0;
        for (unsigned c = 0; c < softcard::kCallCount; ++c) {
            total += softcard::CallCount(static_cast<softcard::Call>(c));
        }
        return total;
    }
    unsigned CardCallsSinceSetUp() const { return CardCalls() - callsAtStart_; }
    static unsigned Exchanges() {
        return softcard::CallCount(softcard::Call::ExchangeIO) + softcard::CallCount(softcard::Call::ReadSendData);
    }

    static const softcard::CallRecord& LastCall() { return softcard::CallLog().back(); }

    static std::uint8_t* In(std::size_t at = 0) { return softcard::InputArea(0).data() + at; }
    static std::uint8_t* Out(std::size_t at = 0) { return softcard::OutputArea(0).data() + at; }
    static void Put(std::uint8_t* area, const Bytes& bytes) { std::memcpy(area, bytes.data(), bytes.size()); }
    static Bytes Take(const std::uint8_t* area, std::size_t size) { return Bytes(area, area + size); }

    static std::uint16_t W0(const Bytes& v) { return static_cast<std::uint16_t>(v[0] | (v[1] << 8)); }
    static std::uint16_t W1(const Bytes& v) { return static_cast<std::uint16_t>(v[2] | (v[3] << 8)); }
    static std::uint32_t Value32(const Bytes& v) {
        return static_cast<std::uint32_t>(v[0] | (v[1] << 8) | (v[2] << 16)) | (static_cast<std::uint32_t>(v[3]) << 24);
    }
    static Bytes Host32(std::uint32_t value) {
        return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
    }
    static Bytes HostWords(std::uint16_t w0, std::uint16_t w1) {
        return {static_cast<std::uint8_t>(w0), static_cast<std::uint8_t>(w0 >> 8), static_cast<std::uint8_t>(w1),
                static_cast<std::uint8_t>(w1 >> 8)};
    }

    void SetFormat(std::uint8_t swap, std::uint8_t convert) {
        context().swap = swap;
        context().convert = convert;
    }

private:
    unsigned callsAtStart_ = 0;
};

// The host's record for one transfer; `value` must outlive it.
inline GateIo MakeIo(char* address, GateLocator locator, std::int32_t count, void* value) {
    GateIo io{};
    io.address = address;
    io.locator = locator;
    io.count = count;
    io.value = value;
    return io;
}

}  // namespace rizuz::testing
