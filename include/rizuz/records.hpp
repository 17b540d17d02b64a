// The records that cross the host boundary. The host is closed and fixes every
// offset below for its 32-bit build; the 32-bit builds pin them with
// static_assert so a change of a field type cannot slip through.
#pragma once

#include <cstddef>
#include <cstdint>

namespace rizuz {

// Result of NuvMain and of every handler.
enum NuvResult : std::int32_t {
    kDone = 0,     // done
    kRefused = 1,  // bad address or definition, write to a read-only area, read after shut down
    kFailed = 2,   // unknown or unsupported function, or an error of the card or its driver
};

// The announced size of a DriverContext; the host allocates exactly this much.
inline constexpr std::int32_t kContextSize = 1052;
inline constexpr std::size_t kStagingBufferSize = 512;

// Where a gate lives, as the parsers leave it for the host to keep.
struct GateLocator {
    std::int32_t slave;     // DP slave address of a D gate, 0 otherwise
    std::int32_t typeWord;  // (MemoryType << 16) + area letter; 16 for a D gate; raw-area selector for 17/18
    std::int32_t offset;    // element offset in units of `width`; byte offset for D gates
    std::int32_t bit;       // bit number, or -1 for none
    std::int32_t width;     // element width in bits: 8, 16 or 32
};

// Per-instance state. The host allocates kContextSize bytes and hands the block
// back on every call; the driver keeps no other mutable state.
struct DriverContext {
    std::uint32_t timeout;                              // exchange time-out, milliseconds
    std::uint8_t sendBuffer[kStagingBufferSize];        // staging for writes to the output area
    std::uint8_t receiveBuffer[kStagingBufferSize];     // staging for reads
    std::uint8_t card;                                  // card number 0..3
    std::uint8_t swap;                                  // 1 = Motorola byte order on the card
    std::uint8_t convert;                               // 1 = Siemens floats on the card
    std::uint8_t shutDown;                              // non-zero after function 11
    std::int32_t commRunning;                           // host ready signalled and communication bit seen
    std::int32_t boardOpened;                           // one-time start-up part done
    std::uint8_t diagMessageNumber;                     // number of the next slave diagnostic request
};

struct DriverRequest {
    DriverContext* context;
    std::uint32_t function;  // 1..18, compared unsigned
    std::int32_t instance;   // names the init file
    std::int32_t reserved12;
    void* params;            // the function's parameter record
};

// Function 14: what the driver is.
struct DriverInfo {
    std::int32_t word0;        // 70
    const char* shortName;
    const char* banner;
    std::int32_t contextSize;
    std::int32_t word16;       // 2
    std::int32_t word20;       // never written
    std::int32_t word24;       // never written
    std::int32_t word28;       // 19
};

// Function 1.
struct InitParams {
    std::int32_t reserved[4];
    std::uint32_t timeoutTicks;  // units of 10 ms; 0 selects 1000 ms
};

// Functions 3 and 4: a gate or block definition.
struct GateDefinition {
    char* address;        // NUL-terminated; upper-cased in place by the parser
    std::int32_t reserved4;
    std::int32_t gateType;    // HostGateType, function 3 only
    std::int32_t blockCount;  // function 4 only
    GateLocator locator;
};

// Functions 5, 6, 7, 10, 17 and 18: one transfer.
struct GateIo {
    char* address;
    std::int32_t reserved4;
    GateLocator locator;
    std::int32_t reserved28;
    std::int32_t count;   // elements (5, 6, 7, 10) or bytes (17, 18)
    std::int32_t reserved36;
    void* value;          // the host's value buffer
};

static_assert(sizeof(DriverContext) <= static_cast<std::size_t>(kContextSize),
              "the context must fit in the size announced to the host");
static_assert(sizeof(GateLocator) == 20);

#if defined(__i386__) || defined(_M_IX86)
static_assert(offsetof(DriverRequest, context) == 0);
static_assert(offsetof(DriverRequest, function) == 4);
static_assert(offsetof(DriverRequest, instance) == 8);
static_assert(offsetof(DriverRequest, params) == 16);
static_assert(offsetof(DriverInfo, word0) == 0);
static_assert(offsetof(DriverInfo, shortName) == 4);
static_assert(offsetof(DriverInfo, banner) == 8);
static_assert(offsetof(DriverInfo, contextSize) == 12);
static_assert(offsetof(DriverInfo, word16) == 16);
static_assert(offsetof(DriverInfo, word20) == 20);
static_assert(offsetof(DriverInfo, word24) == 24);
static_assert(offsetof(DriverInfo, word28) == 28);
static_assert(offsetof(InitParams, timeoutTicks) == 16);
static_assert(offsetof(GateDefinition, address) == 0);
static_assert(offsetof(GateDefinition, gateType) == 8);
static_assert(offsetof(GateDefinition, blockCount) == 12);
static_assert(offsetof(GateDefinition, locator) == 16);
static_assert(offsetof(GateIo, address) == 0);
static_assert(offsetof(GateIo, locator) == 8);
static_assert(offsetof(GateIo, count) == 32);
static_assert(offsetof(GateIo, value) == 40);
static_assert(sizeof(GateIo) == 44);
static_assert(offsetof(GateLocator, slave) == 0);
static_assert(offsetof(GateLocator, typeWord) == 4);
static_assert(offsetof(GateLocator, offset) == 8);
static_assert(offsetof(GateLocator, bit) == 12);
static_assert(offsetof(GateLocator, width) == 16);
// The context is the driver's own, but its fields keep their documented order.
static_assert(offsetof(DriverContext, timeout) == 0);
static_assert(offsetof(DriverContext, sendBuffer) == 4);
static_assert(offsetof(DriverContext, receiveBuffer) == 516);
static_assert(offsetof(DriverContext, card) == 1028);
static_assert(offsetof(DriverContext, swap) == 1029);
static_assert(offsetof(DriverContext, convert) == 1030);
static_assert(offsetof(DriverContext, shutDown) == 1031);
static_assert(offsetof(DriverContext, commRunning) == 1032);
static_assert(offsetof(DriverContext, boardOpened) == 1036);
static_assert(offsetof(DriverContext, diagMessageNumber) == 1040);
#endif

}  // namespace rizuz
