// Initialisation (function 1) with any init file content, any instance number
// and any time-out.
//
// Input: a flag byte (bit 0: leave the file away), the instance number and the
// time-out ticks as little-endian 32-bit words, then the file's bytes. The
// file goes by the name the driver forms ("RIZUZ%02d.INT") into a private
// scratch directory that the run works in.
//
// Beyond "no crash, no sanitizer report": the result is 0; the settings stay
// in range; the time-out follows the ticks; the lifecycle flags are cleared;
// the staging buffers and the spare end of the context are left alone; the
// host's record is only read; the card is not touched; the build stamp comes
// first, in class 8.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "harness.hpp"

namespace {

using rizuz::DriverContext;
using rizuz::InitParams;

constexpr std::uint8_t kBufferPattern = 0x3C;

std::string FileName(std::int32_t instance) {
    char name[32];
    std::snprintf(name, sizeof name, "RIZUZ%02d.INT", static_cast<int>(instance));
    return name;
}

void WriteFile(const std::string& name, const std::string& content) {
    std::FILE* file = std::fopen(name.c_str(), "wb");
    FUZZ_REQUIRE(file != nullptr);
    FUZZ_REQUIRE(std::fwrite(content.data(), 1, content.size(), file) == content.size());
    FUZZ_REQUIRE(std::fclose(file) == 0);
}

// The lowest free file descriptor: the same before and after the call means
// the driver closed what it opened.
int LowestFreeDescriptor() {
    const int fd = open("/dev/null", O_RDONLY);
    FUZZ_REQUIRE(fd >= 0);
    close(fd);
    return fd;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static bool ready = [] {
        fuzz::EnterScratchDirectory();
        fuzz::ResetCard();
        return true;
    }();
    (void)ready;

    fuzz::Input input(data, size);
    const bool withFile = (input.Byte() & 1) == 0;
    const std::int32_t instance = input.I32();
    const std::uint32_t ticks = static_cast<std::uint32_t>(input.I32());
    const std::string content = input.Rest();

    const std::string name = FileName(instance);
    if (withFile) WriteFile(name, content);

    fuzz::HostContext host;
    DriverContext& context = host.context();
    // Whatever a previous life left behind; function 1 must clear the flags.
    context.shutDown = 0xAA;
    context.commRunning = 7;
    context.boardOpened = 7;
    context.diagMessageNumber = 0x55;
    context.card = context.swap = context.convert = 0xEE;
    std::memset(context.sendBuffer, kBufferPattern, sizeof context.sendBuffer);
    std::memset(context.receiveBuffer, kBufferPattern, sizeof context.receiveBuffer);
    const std::size_t spareFrom = sizeof(DriverContext);
    std::memset(host.bytes() + spareFrom, kBufferPattern, static_cast<std::size_t>(rizuz::kContextSize) - spareFrom);

    fuzz::GuardedRecord<InitParams> params;
    params->reserved[0] = params->reserved[1] = params->reserved[2] = params->reserved[3] = 0x11223344;
    params->timeoutTicks = ticks;

    fuzz::ResetMessages();
    const unsigned callsBefore = fuzz::CardCallTotal();
    const int freeDescriptor = LowestFreeDescriptor();
    const rizuz::NuvResult result = host.Call(1, params.get(), instance);
    FUZZ_REQUIRE(LowestFreeDescriptor() == freeDescriptor);
    if (withFile) FUZZ_REQUIRE(std::remove(name.c_str()) == 0);

    FUZZ_REQUIRE(result == rizuz::kDone);
    FUZZ_REQUIRE(host.Intact() && params.Intact());
    FUZZ_REQUIRE(params->timeoutTicks == ticks);
    for (std::int32_t word : params->reserved) FUZZ_REQUIRE(word == 0x11223344);

    FUZZ_REQUIRE(context.card <= 3);
    FUZZ_REQUIRE(context.swap <= 1 && context.convert <= 1);
    FUZZ_REQUIRE(context.timeout == (ticks == 0 ? 1000u : ticks * 10u));
    FUZZ_REQUIRE(context.shutDown == 0 && context.commRunning == 0 && context.boardOpened == 0);
    FUZZ_REQUIRE(context.diagMessageNumber == 0);
    for (std::uint8_t b : context.sendBuffer) FUZZ_REQUIRE(b == kBufferPattern);
    for (std::uint8_t b : context.receiveBuffer) FUZZ_REQUIRE(b == kBufferPattern);
    for (std::size_t i = spareFrom; i < static_cast<std::size_t>(rizuz::kContextSize); ++i) {
        FUZZ_REQUIRE(host.bytes()[i] == kBufferPattern);
    }

    FUZZ_REQUIRE(fuzz::CardCallTotal() == callsBefore);
    const fuzz::MessageStats messages = fuzz::Messages();
    FUZZ_REQUIRE(messages.detail == 1);  // the build stamp; everything else is class 32
    FUZZ_REQUIRE(fuzz::FirstMessage().rfind("RIZUZ> version compiled on ", 0) == 0);
    return 0;
}
