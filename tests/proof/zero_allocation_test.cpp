// A whole session of the host (driver information, initialisation with an
// init file, definitions of every kind of gate and block, every I/O function
// on them, failure paths with their messages, shut down, initialisation
// without an init file) must not allocate from the heap inside the driver.
//
// The host's message function, the card calls and the C library's file
// functions are outside the driver and are counted apart: opening an init
// file allocates the C library's FILE record and its read buffer inside
// fopen and the first read, and that stays the C library's (it is reported,
// not hidden). The card calls and the C file functions are reached through
// link-time wrappers (-Wl,--wrap, see CMakeLists.txt) that mark them.
#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "allocation_counter.hpp"
#include "rizuz/card_library.hpp"
#include "rizuz/host_log.hpp"
#include "rizuz/nuv_main.hpp"
#include "scratch_directory.hpp"
#include "soft_card.hpp"

namespace alloc = rizuz::testing::allocations;
using alloc::Outside;
using alloc::Owner;

// ---- the outside components, marked ------------------------------------

namespace {
unsigned g_messages = 0;
}

extern "C" int err(int msgClass, const char* format, ...) {
    Outside outside(Owner::HostLog);
    char text[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    ++g_messages;
    return msgClass;
}

#define RIZUZ_WRAP_CARD_CALL(name, parameters, arguments)                      \
    extern "C" CardCode RIZUZ_STDCALL __real_##name parameters;                \
    extern "C" CardCode RIZUZ_STDCALL __wrap_##name parameters {               \
        Outside outside(Owner::Card);                                          \
        return __real_##name arguments;                                        \
    }
RIZUZ_WRAP_CARD_CALL(DevOpenDriver, (std::uint16_t c), (c))
RIZUZ_WRAP_CARD_CALL(DevCloseDriver, (std::uint16_t c), (c))
RIZUZ_WRAP_CARD_CALL(DevGetBoardInfo, (std::uint16_t c, std::uint16_t s, void* b), (c, s, b))
RIZUZ_WRAP_CARD_CALL(DevInitBoard, (std::uint16_t c, void* r), (c, r))
RIZUZ_WRAP_CARD_CALL(DevExitBoard, (std::uint16_t c), (c))
RIZUZ_WRAP_CARD_CALL(DevPutMessage, (std::uint16_t c, void* m, std::uint32_t t), (c, m, t))
RIZUZ_WRAP_CARD_CALL(DevGetMessage, (std::uint16_t c, std::uint16_t s, void* m, std::uint32_t t), (c, s, m, t))
RIZUZ_WRAP_CARD_CALL(DevGetInfo, (std::uint16_t c, std::uint16_t k, std::uint16_t s, void* b), (c, k, s, b))
RIZUZ_WRAP_CARD_CALL(DevExchangeIO,
                     (std::uint16_t c, std::uint16_t so, std::uint16_t ss, void* sd, std::uint16_t ro,
                      std::uint16_t rs, void* rd, std::uint32_t t),
                     (c, so, ss, sd, ro, rs, rd, t))
RIZUZ_WRAP_CARD_CALL(DevReadSendData, (std::uint16_t c, std::uint16_t o, std::uint16_t s, void* b), (c, o, s, b))
RIZUZ_WRAP_CARD_CALL(DevSetHostState, (std::uint16_t c, std::uint16_t m, std::uint32_t t), (c, m, t))
#undef RIZUZ_WRAP_CARD_CALL

#define RIZUZ_WRAP_FILE_CALL(result, name, parameters, arguments) \
    extern "C" result __real_##name parameters;                   \
    extern "C" result __wrap_##name parameters {                  \
        Outside outside(Owner::FileLibrary);                      \
        return __real_##name arguments;                           \
    }
RIZUZ_WRAP_FILE_CALL(std::FILE*, fopen, (const char* n, const char* m), (n, m))
RIZUZ_WRAP_FILE_CALL(std::FILE*, fopen64, (const char* n, const char* m), (n, m))
RIZUZ_WRAP_FILE_CALL(int, fclose, (std::FILE * f), (f))
RIZUZ_WRAP_FILE_CALL(char*, fgets, (char* s, int n, std::FILE* f), (s, n, f))
RIZUZ_WRAP_FILE_CALL(int, fgetc, (std::FILE * f), (f))
RIZUZ_WRAP_FILE_CALL(int, getc, (std::FILE * f), (f))
RIZUZ_WRAP_FILE_CALL(int, ungetc, (int c, std::FILE* f), (c, f))
RIZUZ_WRAP_FILE_CALL(std::size_t, fread, (void* b, std::size_t s, std::size_t n, std::FILE* f), (b, s, n, f))
#undef RIZUZ_WRAP_FILE_CALL

namespace rizuz::testing {
namespace {

class ZeroAllocation : public ::testing::Test {
protected:
    void SetUp() override {
        softcard::Reset();
        softcard::SetCallLog(false);  // the card's log is the card's business; keep it quiet
        std::memset(block_, 0, sizeof block_);
        alloc::Reset();
    }

    NuvResult Call(std::uint32_t function, void* params, std::int32_t instance = 1) {
        DriverRequest request{reinterpret_cast<DriverContext*>(block_), function, instance, 0, params};
        alloc::InDriver inside;
        return NuvMain(&request);
    }

    struct Gate {
        Gate(std::string text, std::int32_t typeOrCountOf, bool isBlock)
            : address(std::move(text)), typeOrCount(typeOrCountOf), block(isBlock) {}
        std::string address;
        std::int32_t typeOrCount;
        bool block;
        GateLocator locator{};
        std::vector<std::uint8_t> value;
    };

    void Define(Gate& gate) {
        GateDefinition definition{};
        definition.address = gate.address.data();
        (gate.block ? definition.blockCount : definition.gateType) = gate.typeOrCount;
        ASSERT_EQ(Call(gate.block ? 4 : 3, &definition), kDone) << gate.address;
        gate.locator = definition.locator;
        gate.value.assign(gate.block ? 512 : 96, 0);
    }

    NuvResult Transfer(std::uint32_t function, Gate& gate) {
        GateIo io{};
        io.address = gate.address.data();
        io.locator = gate.locator;
        io.count = gate.block ? gate.typeOrCount : 1;
        io.value = gate.value.data();
        return Call(function, &io);
    }

    NuvResult Raw(std::uint32_t function, std::int32_t selector, std::int32_t count) {
        GateIo io{};
        io.locator = {0, selector, 16, -1, 0};
        io.count = count;
        io.value = raw_;
        return Call(function, &io);
    }

    alignas(8) unsigned char block_[kContextSize];
    std::uint8_t raw_[512] = {};
    ScratchDirectory scratch_;
};

TEST_F(ZeroAllocation, TheCounterSeesAllocationsAndWhoseTheyAre) {
    void* (*volatile allocate)(std::size_t) = std::malloc;
    {
        alloc::InDriver inside;
        std::free(allocate(16));
        ::operator delete(::operator new(16));
        Outside outside(Owner::Card);
        std::free(allocate(16));
    }
    std::free(allocate(16));  // outside any request: not counted
    EXPECT_EQ(alloc::Current().driver, 2u);
    EXPECT_EQ(alloc::Current().card, 1u);
}

TEST_F(ZeroAllocation, AWholeSessionAllocatesNothingInsideTheDriver) {
    scratch_.WriteFile("RIZUZ01.INT", "; soft card board 1\nCARD = 1\nSWAP = 1\nCONVERT = 1\n");
    softcard::SetLoopback(1, true);

    DriverInfo info{};
    ASSERT_EQ(Call(14, &info), kDone);
    InitParams params{};
    ASSERT_EQ(Call(1, &params), kDone);
    ASSERT_EQ(reinterpret_cast<DriverContext*>(block_)->card, 1) << "the init file was not read";
    const unsigned initFileAllocations = alloc::Current().fileLibrary;

    std::vector<Gate> singles = {
        {"S1000", 6, false},     {"R10017", 6, false},   {"S2001", 1, false},    {"S20027", 6, false},
        {"R3004", 1, false},     {"S6006", 0, false},    {"S6008F", 6, false},   {"R4008", 4, false},
        {"S7012", 5, false},     {"S8016", 3, false},    {"R5X1000B3", 6, false}, {"SS01012", 7, false},
        {"SSX100L40", 7, false}, {"D00310", 0, false},   {"D003107", 6, false},
    };
    std::vector<Gate> blocks = {
        {"R1000", 512, true}, {"S3000", 256, true}, {"S4000", 128, true}, {"S8000", 128, true},
        {"S60001", 32, true}, {"R7X100", 10, true}, {"D00302", 4, true},
    };
    for (Gate& g : singles) Define(g);
    for (Gate& g : blocks) Define(g);
    Gate refused{"R9000", 0, false};
    GateDefinition bad{};
    bad.address = refused.address.data();
    EXPECT_EQ(Call(3, &bad), kRefused);

    // A start-up that fails once, then every I/O function on every gate.
    softcard::FailCall(softcard::Call::InitBoard, -3);
    EXPECT_EQ(Call(2, nullptr), kFailed);
    EXPECT_EQ(Call(2, nullptr), kDone);
    for (Gate& g : singles) {
        std::strcpy(reinterpret_cast<char*>(g.value.data()), "TEXT");
        Transfer(7, g);
        EXPECT_EQ(Transfer(5, g), kDone) << g.address;
    }
    for (Gate& g : blocks) {
        Transfer(10, g);
        EXPECT_EQ(Transfer(6, g), kDone) << g.address;
    }
    EXPECT_EQ(Raw(18, 0, 512), kDone);
    EXPECT_EQ(Raw(18, 'I', 512), kRefused);
    EXPECT_EQ(Raw(17, 'I', 512), kDone);
    EXPECT_EQ(Raw(17, 0, 512), kDone);

    // Failures with their messages.
    softcard::FailCall(softcard::Call::ExchangeIO, -5);
    EXPECT_EQ(Transfer(6, blocks[0]), kFailed);
    softcard::FailCall(softcard::Call::PutMessage, -5);
    EXPECT_EQ(Transfer(5, singles[13]), kFailed);
    EXPECT_EQ(Call(0, nullptr), kFailed);
    EXPECT_EQ(Call(8, nullptr), kFailed);

    // Shut down, refused reads, and a new life as instance 2, which has no init file.
    EXPECT_EQ(Call(11, nullptr), kDone);
    EXPECT_EQ(Transfer(5, singles[0]), kRefused);
    ASSERT_EQ(Call(1, &params, 2), kDone);
    EXPECT_EQ(Transfer(5, singles[1]), kDone);

    const alloc::Counts counts = alloc::Current();
    EXPECT_EQ(counts.driver, 0u) << "the driver allocated from the heap";
    EXPECT_GT(g_messages, 0u);
    std::printf("allocations in the session: driver %u, host message function %u, soft card %u, "
                "C library file functions %u (%u of them for the init file of the first initialisation)\n",
                counts.driver, counts.hostLog, counts.card, counts.fileLibrary, initFileAllocations);
    RecordProperty("driverAllocations", static_cast<int>(counts.driver));
    RecordProperty("fileLibraryAllocations", static_cast<int>(counts.fileLibrary));
}

}  // namespace
}  // namespace rizuz::testing
