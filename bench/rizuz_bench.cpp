// What a request costs through NuvMain, beside the floor it cannot beat: the
// same card call made directly with the same bytes, plus a plain copy of the
// same bytes. scripts/bench.sh runs this and prints one table of both.
//
// The soft card's call log is off, so a card call costs what moving its bytes
// costs. Every case checks, before and after its loop, that the driver answers
// 0 and sends no message, so a case cannot get fast by failing.
#include <benchmark/benchmark.h>

#include <cstdarg>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "rizuz/card_library.hpp"
#include "rizuz/host_log.hpp"
#include "rizuz/memory_type.hpp"
#include "rizuz/nuv_main.hpp"
#include "soft_card.hpp"

namespace {

unsigned g_messages = 0;

}  // namespace

// The host's message function: the cases must not send any.
extern "C" int err(int, const char*, ...) {
    ++g_messages;
    return 0;
}

namespace {

using namespace rizuz;

constexpr std::uint16_t kCard = 0;
constexpr std::uint32_t kTimeout = 1000;
constexpr std::size_t kBlock = 512;

// The host: one context, started once; swap and convert set per case as the
// init file would set them.
class Host {
public:
    Host() {
        softcard::Reset();
        softcard::SetCallLog(false);
        softcard::SetLoopback(kCard, true);
        std::memset(block_, 0, sizeof block_);
        DriverInfo info{};
        Call(14, &info);
        InitParams params{};
        Call(1, &params);  // no init file here: card 0, no swapping, no conversion
        Call(2, nullptr);  // the start-up, report and all, once
    }

    DriverContext& context() { return *reinterpret_cast<DriverContext*>(block_); }

    NuvResult Call(std::uint32_t function, void* params) {
        DriverRequest request{&context(), function, 1, 0, params};
        return NuvMain(&request);
    }

    void Configure(bool swapAndConvert) {
        context().swap = swapAndConvert ? 1 : 0;
        context().convert = swapAndConvert ? 1 : 0;
    }

private:
    alignas(8) unsigned char block_[kContextSize];
};

Host& TheHost() {
    static Host host;
    return host;
}

// A gate or block as the host keeps it after defining it, with its value buffer.
class Gate {
public:
    Gate(const std::string& text, std::int32_t gateTypeOrCount, bool block) : address_(text), value_(kBlock, 0x5A) {
        GateDefinition definition{};
        definition.address = address_.data();
        (block ? definition.blockCount : definition.gateType) = gateTypeOrCount;
        accepted_ = TheHost().Call(block ? 4 : 3, &definition) == kDone;
        io_.address = address_.data();
        io_.locator = definition.locator;
        io_.count = block ? gateTypeOrCount : 1;
        io_.value = value_.data();
    }
    Gate(const Gate&) = delete;
    Gate& operator=(const Gate&) = delete;

    bool accepted() const { return accepted_; }
    const GateIo& io() const { return io_; }

private:
    std::string address_;
    std::vector<std::uint8_t> value_;
    GateIo io_{};
    bool accepted_ = false;
};

// Runs `request` in the loop; fails the case if it does not answer 0 or sends a message.
template <typename Request>
void Measure(benchmark::State& state, Request&& request) {
    if (request() != kDone) return state.SkipWithError("the request does not succeed");
    g_messages = 0;
    NuvResult worst = kDone;
    for (auto _ : state) {
        worst = static_cast<NuvResult>(worst | request());
        benchmark::ClobberMemory();
    }
    if (worst != kDone) state.SkipWithError("a request failed in the loop");
    if (g_messages != 0) state.SkipWithError("the driver sent messages in the loop");
}

// ---- driver cases ----------------------------------------------------------

void Parse(benchmark::State& state, const char* address, std::int32_t gateType) {
    std::string text = address;
    GateDefinition definition{};
    definition.address = text.data();
    definition.gateType = gateType;
    Measure(state, [&] { return TheHost().Call(3, &definition); });
}

void Transfer(benchmark::State& state, std::uint32_t function, const std::string& address,
              std::int32_t gateTypeOrCount, bool block, bool swapAndConvert) {
    TheHost().Configure(swapAndConvert);
    const Gate gate(address, gateTypeOrCount, block);
    if (!gate.accepted()) return state.SkipWithError("the gate is not accepted");
    Measure(state, [&] {
        GateIo io = gate.io();  // the host hands over the record it keeps
        return TheHost().Call(function, &io);
    });
}

void Raw(benchmark::State& state, std::uint32_t function, std::int32_t selector) {
    std::vector<std::uint8_t> value(kBlock, 0x5A);
    Measure(state, [&] {
        GateIo io{};
        io.locator = {0, selector, 0, -1, 0};
        io.count = static_cast<std::int32_t>(kBlock);
        io.value = value.data();
        return TheHost().Call(function, &io);
    });
}

// ---- floors: the card call itself and a copy of its bytes -----------------

void FloorRead(benchmark::State& state, std::uint16_t offset, std::uint16_t size) {
    std::uint8_t staging[kBlock];
    std::uint8_t host[kBlock];
    for (auto _ : state) {
        DevExchangeIO(kCard, 0, 0, nullptr, offset, size, staging, kTimeout);
        std::memcpy(host, staging, size);
        benchmark::DoNotOptimize(host);
        benchmark::ClobberMemory();
    }
}

void FloorWrite(benchmark::State& state, std::uint16_t offset, std::uint16_t size) {
    std::uint8_t staging[kBlock];
    std::uint8_t host[kBlock] = {};
    for (auto _ : state) {
        std::memcpy(staging, host, size);
        benchmark::DoNotOptimize(staging);
        DevExchangeIO(kCard, offset, size, staging, 0, 0, nullptr, kTimeout);
        benchmark::ClobberMemory();
    }
}

void FloorReadBack(benchmark::State& state, std::uint16_t offset, std::uint16_t size) {
    std::uint8_t staging[kBlock];
    std::uint8_t host[kBlock];
    for (auto _ : state) {
        DevReadSendData(kCard, offset, size, staging);
        std::memcpy(host, staging, size);
        benchmark::DoNotOptimize(host);
        benchmark::ClobberMemory();
    }
}

// A bit gate's read-modify-write: the read-back and the write of its word.
void FloorBitWrite(benchmark::State& state, std::uint16_t offset) {
    std::uint8_t staging[4];
    for (auto _ : state) {
        DevReadSendData(kCard, offset, 2, staging);
        staging[0] = static_cast<std::uint8_t>(staging[0] | 8);
        benchmark::DoNotOptimize(staging);
        DevExchangeIO(kCard, offset, 2, staging, 0, 0, nullptr, kTimeout);
        benchmark::ClobberMemory();
    }
}

// The diagnostic request and its answer, as the driver sends and takes them.
void FloorDiag(benchmark::State& state, std::uint8_t slave, std::uint8_t offset) {
    std::uint8_t message[softcard::kMessageSize] = {};
    std::uint8_t number = 0;
    std::uint8_t host[4] = {};
    for (auto _ : state) {
        std::memset(message, 0, 16);
        message[0] = 3;
        message[1] = 16;
        message[2] = 8;
        message[3] = number++;
        message[6] = 66;
        message[8] = slave;
        message[13] = 32;
        message[14] = 5;
        message[15] = 1;
        DevPutMessage(kCard, message, 500);
        DevGetMessage(kCard, softcard::kMessageSize, message, 500);
        host[2] = message[16 + offset];
        benchmark::DoNotOptimize(host);
        benchmark::ClobberMemory();
    }
}

// ---- the table of cases ----------------------------------------------------

const char* const kSetting[] = {"plain", "swap+convert"};

// Host gate type of a single gate of memory type m.
std::int32_t GateTypeOf(unsigned m) {
    static constexpr std::int32_t kTypes[] = {0, 6, 1, 1, 4, 0, 0, 5, 3};
    return kTypes[m];
}

void Register() {
    benchmark::RegisterBenchmark("parse/short R6012F", Parse, "R6012F", 6);
    benchmark::RegisterBenchmark("parse/short R6012F [floor]", [](benchmark::State& s) {
        const char text[] = "R6012F";
        char copy[sizeof text];
        for (auto _ : s) {
            std::memcpy(copy, text, sizeof text);
            benchmark::DoNotOptimize(copy);
        }
    });
    benchmark::RegisterBenchmark("parse/extended S6X1000B0F", Parse, "S6X1000B0F", 6);
    benchmark::RegisterBenchmark("parse/extended S6X1000B0F [floor]", [](benchmark::State& s) {
        const char text[] = "S6X1000B0F";
        char copy[sizeof text];
        for (auto _ : s) {
            std::memcpy(copy, text, sizeof text);
            benchmark::DoNotOptimize(copy);
        }
    });

    // Single gates at byte 16 of each area, blocks and raw images at byte 0.
    constexpr std::uint16_t kAt = 16;
    for (unsigned setting = 0; setting < 2; ++setting) {
        const bool on = setting == 1;
        for (unsigned m = 1; m <= 8; ++m) {
            const auto size = static_cast<std::uint16_t>(TypeSize[m]);
            const std::string type = "type" + std::to_string(m) + "/" + kSetting[setting];
            const std::string gate = std::to_string(m) + "016";
            const std::string read = "read/" + type;
            const std::string write = "write/" + type;
            benchmark::RegisterBenchmark(read.c_str(), [=](benchmark::State& s) {
                Transfer(s, 5, "R" + gate, GateTypeOf(m), false, on);
            });
            benchmark::RegisterBenchmark((read + " [floor]").c_str(), FloorRead, kAt, size);
            benchmark::RegisterBenchmark(write.c_str(), [=](benchmark::State& s) {
                Transfer(s, 7, "S" + gate, GateTypeOf(m), false, on);
            });
            benchmark::RegisterBenchmark((write + " [floor]").c_str(), FloorWrite, kAt, size);
        }
        const std::string bit = std::string("write/bit 3 of type6/") + kSetting[setting];
        benchmark::RegisterBenchmark(bit.c_str(), [=](benchmark::State& s) {
            Transfer(s, 7, "S60163", 6, false, on);
        });
        benchmark::RegisterBenchmark((bit + " [floor]").c_str(), FloorBitWrite, kAt);

        for (unsigned m = 1; m <= 8; ++m) {
            const auto count = static_cast<std::int32_t>(kBlock / TypeSize[m]);
            const std::string type = "type" + std::to_string(m) + "/" + kSetting[setting];
            const std::string block = std::to_string(m) + "000";
            const std::string read = "block read 512/" + type;
            const std::string write = "block write 512/" + type;
            benchmark::RegisterBenchmark(read.c_str(), [=](benchmark::State& s) {
                Transfer(s, 6, "R" + block, count, true, on);
            });
            benchmark::RegisterBenchmark((read + " [floor]").c_str(), FloorRead, 0, kBlock);
            benchmark::RegisterBenchmark(write.c_str(), [=](benchmark::State& s) {
                Transfer(s, 10, "S" + block, count, true, on);
            });
            benchmark::RegisterBenchmark((write + " [floor]").c_str(), FloorWrite, 0, kBlock);
        }
    }

    benchmark::RegisterBenchmark("raw read 512/input", Raw, 17, 'I');
    benchmark::RegisterBenchmark("raw read 512/input [floor]", FloorRead, 0, kBlock);
    benchmark::RegisterBenchmark("raw read 512/output", Raw, 17, 0);
    benchmark::RegisterBenchmark("raw read 512/output [floor]", FloorReadBack, 0, kBlock);
    benchmark::RegisterBenchmark("raw write 512", Raw, 18, 0);
    benchmark::RegisterBenchmark("raw write 512 [floor]", FloorWrite, 0, kBlock);

    benchmark::RegisterBenchmark("diag read/D00310", [](benchmark::State& s) {
        Transfer(s, 5, "D00310", 0, false, false);
    });
    benchmark::RegisterBenchmark("diag read/D00310 [floor]", FloorDiag, 3, 10);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    Register();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
