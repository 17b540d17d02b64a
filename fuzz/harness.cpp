#include "harness.hpp"

#include <unistd.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "rizuz/host_log.hpp"
#include "soft_card.hpp"

#if defined(__SANITIZE_ADDRESS__)
#define RIZUZ_FUZZ_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define RIZUZ_FUZZ_ASAN 1
#endif
#endif
#if defined(RIZUZ_FUZZ_ASAN)
#include <sanitizer/asan_interface.h>
#define FENCE(address, size) ASAN_POISON_MEMORY_REGION(address, size)
#define UNFENCE(address, size) ASAN_UNPOISON_MEMORY_REGION(address, size)
#else
#define FENCE(address, size) static_cast<void>(0)
#define UNFENCE(address, size) static_cast<void>(0)
#endif

namespace fuzz {

void Fail(const char* what, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, what);
    std::abort();
}

// ---- Input ---------------------------------------------------------------

std::uint8_t Input::Byte() { return at_ < size_ ? data_[at_++] : 0; }

std::uint16_t Input::U16() {
    const std::uint16_t low = Byte();
    return static_cast<std::uint16_t>(low | (Byte() << 8));
}

std::int32_t Input::I32() {
    std::uint32_t value = 0;
    for (unsigned shift = 0; shift < 32; shift += 8) value |= static_cast<std::uint32_t>(Byte()) << shift;
    return static_cast<std::int32_t>(value);
}

std::string Input::Bytes(std::size_t limit) {
    const std::size_t n = limit < Remaining() ? limit : Remaining();
    std::string out(reinterpret_cast<const char*>(data_ + at_), n);
    at_ += n;
    return out;
}

std::string Input::Rest() { return Bytes(Remaining()); }

// ---- Guarded buffers -----------------------------------------------------

namespace {
constexpr std::uint8_t kGuardByte = 0xA5;
}

Guarded::Guarded(std::size_t size) : size_(size), storage_(new std::uint8_t[size + 2 * kGuard]) {
    std::memset(storage_.get(), kGuardByte, kGuard);
    std::memset(storage_.get() + kGuard, 0, size);
    std::memset(storage_.get() + kGuard + size, kGuardByte, kGuard);
    FENCE(storage_.get(), kGuard);
    FENCE(storage_.get() + kGuard + size, kGuard);
}

Guarded::~Guarded() {
    UNFENCE(storage_.get(), kGuard);
    UNFENCE(storage_.get() + kGuard + size_, kGuard);
}

bool Guarded::Intact() const {
    const std::uint8_t* before = storage_.get();
    const std::uint8_t* after = storage_.get() + kGuard + size_;
    UNFENCE(before, kGuard);
    UNFENCE(after, kGuard);
    bool intact = true;
    for (std::size_t i = 0; i < kGuard; ++i) intact = intact && before[i] == kGuardByte && after[i] == kGuardByte;
    FENCE(before, kGuard);
    FENCE(after, kGuard);
    return intact;
}

std::unique_ptr<Guarded> GuardedText(const std::string& text) {
    const std::size_t length = std::strlen(text.c_str());  // the host's text ends at its first NUL
    auto buffer = std::make_unique<Guarded>(length + 1);
    std::memcpy(buffer->data(), text.c_str(), length + 1);
    return buffer;
}

void HostContext::Clear() { std::memset(block_.data(), 0, block_.size()); }

rizuz::NuvResult HostContext::Call(std::uint32_t function, void* params, std::int32_t instance) {
    rizuz::DriverRequest request{&context(), function, instance, 0, params};
    return NuvMain(&request);
}

// ---- Message sink --------------------------------------------------------

namespace {

MessageStats g_stats{};
std::string g_first;

}  // namespace

void ResetMessages() {
    g_stats = {};
    g_first.clear();
}

MessageStats Messages() { return g_stats; }
const std::string& FirstMessage() { return g_first; }

// ---- Soft card -----------------------------------------------------------

unsigned CardCallTotal() {
    unsigned total = 0;
    for (unsigned c = 0; c < softcard::kCallCount; ++c) total += softcard::CallCount(static_cast<softcard::Call>(c));
    return total;
}

void ResetCard() {
    softcard::Reset();
    softcard::SetCallLog(false);
}

// ---- Host-side helpers ---------------------------------------------------

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// "%02u": white space skipped, a sign and the digits share the width of 2.
unsigned TwoDigitField(const char* text) {
    while (IsSpace(*text)) ++text;
    unsigned width = 2;
    bool negative = false;
    if (*text == '+' || *text == '-') {
        negative = *text == '-';
        ++text;
        --width;
    }
    unsigned value = 0;
    unsigned digits = 0;
    for (; digits < width && IsDigit(*text); ++digits, ++text) value = value * 10 + static_cast<unsigned>(*text - '0');
    if (digits == 0) return 0;
    return negative && value != 0 ? 0 : value;  // a negative length gives the host nothing to size
}

}  // namespace

unsigned HostStringLength(const char* address) {
    const std::size_t length = std::strlen(address);
    if (length > 2 && address[2] == 'X') {
        std::size_t at = 3;
        while (at < length && IsDigit(address[at])) ++at;
        return at < length && address[at] == 'L' ? TwoDigitField(address + at + 1) : 0;
    }
    return length > 5 ? TwoDigitField(address + 5) : 0;
}

std::string UpperAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

namespace {
char g_scratch[] = "/tmp/rizuz-fuzz-XXXXXX";
void LeaveScratchDirectory() { rmdir(g_scratch); }
}  // namespace

void EnterScratchDirectory() {
    FUZZ_REQUIRE(mkdtemp(g_scratch) != nullptr);
    FUZZ_REQUIRE(chdir(g_scratch) == 0);
    std::atexit(LeaveScratchDirectory);  // the targets leave it empty
}

}  // namespace fuzz

// The host's message function: checks what the driver hands it and formats
// the text as the host would, so a bad argument shows under the sanitizers.
extern "C" int err(int msgClass, const char* format, ...) {
    FUZZ_REQUIRE(msgClass == rizuz::kDetail || msgClass == rizuz::kEvent);
    FUZZ_REQUIRE(format != nullptr);
    FUZZ_REQUIRE(std::strpbrk(format, "\r\n") == nullptr);
    char text[2048];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    ++fuzz::g_stats.total;
    ++(msgClass == rizuz::kDetail ? fuzz::g_stats.detail : fuzz::g_stats.event);
    if (fuzz::g_stats.total == 1) fuzz::g_first = text;
    return 0;
}
