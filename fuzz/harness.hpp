// What every fuzz target shares: a reader over the fuzzer's bytes, host
// buffers fenced by guard bytes, the host's context block, and a checking
// message sink. The targets build with clang and libFuzzer (fuzz preset) and,
// unchanged, with g++ into replay programs that run the committed corpora as
// ordinary tests (tests/proof).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <string>

#include "rizuz/nuv_main.hpp"
#include "rizuz/records.hpp"

namespace fuzz {

// Stops the run with a message: libFuzzer keeps the input as a crash, the
// replay program fails its test.
[[noreturn]] void Fail(const char* what, const char* file, int line);
#define FUZZ_REQUIRE(condition) \
    ((condition) ? static_cast<void>(0) : ::fuzz::Fail(#condition, __FILE__, __LINE__))

// Takes the fuzzer's bytes front to back; past the end everything reads 0.
class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool Empty() const { return at_ >= size_; }
    std::size_t Remaining() const { return Empty() ? 0 : size_ - at_; }
    std::uint8_t Byte();
    std::uint16_t U16();
    std::int32_t I32();
    // Up to `limit` bytes, fewer near the end.
    std::string Bytes(std::size_t limit);
    // Everything left.
    std::string Rest();

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

// A host buffer of exactly `size` bytes between two guard zones. Under
// AddressSanitizer the guards are poisoned, so any touch stops at once with a
// report; in every build Intact() checks that no guard byte changed.
class Guarded {
public:
    static constexpr std::size_t kGuard = 32;  // keeps the buffer 16-byte aligned

    explicit Guarded(std::size_t size);
    ~Guarded();
    Guarded(const Guarded&) = delete;
    Guarded& operator=(const Guarded&) = delete;

    std::uint8_t* data() { return storage_.get() + kGuard; }
    const std::uint8_t* data() const { return storage_.get() + kGuard; }
    std::size_t size() const { return size_; }
    bool Intact() const;

private:
    std::size_t size_;
    std::unique_ptr<std::uint8_t[]> storage_;
};

// A host record T (GateIo, GateDefinition, ...) in a guarded buffer.
template <typename T>
class GuardedRecord {
public:
    GuardedRecord() : buffer_(sizeof(T)) { new (buffer_.data()) T{}; }
    T& operator*() { return *reinterpret_cast<T*>(buffer_.data()); }
    T* operator->() { return &**this; }
    T* get() { return &**this; }
    bool Intact() const { return buffer_.Intact(); }

private:
    Guarded buffer_;
};

// A NUL-terminated text in a buffer of exactly its length + 1.
std::unique_ptr<Guarded> GuardedText(const std::string& text);

// The host's context block: the announced 1052 bytes, guarded.
class HostContext {
public:
    HostContext() : block_(static_cast<std::size_t>(rizuz::kContextSize)) { Clear(); }
    void Clear();
    rizuz::DriverContext& context() { return *reinterpret_cast<rizuz::DriverContext*>(block_.data()); }
    std::uint8_t* bytes() { return block_.data(); }
    bool Intact() const { return block_.Intact(); }

    rizuz::NuvResult Call(std::uint32_t function, void* params, std::int32_t instance = 1);

private:
    Guarded block_;
};

// Messages the driver sent since the last ResetMessages. The sink itself stops
// the run on a class other than 8 or 32, a null format or a format with a
// line end.
struct MessageStats {
    unsigned total;
    unsigned detail;  // class 8
    unsigned event;   // class 32
};
void ResetMessages();
MessageStats Messages();
// Text of the first message since ResetMessages (empty when none).
const std::string& FirstMessage();

// Calls the driver made to the soft card, all kinds together, since Reset.
unsigned CardCallTotal();

// The soft card back at power-on with its call log off (faster; the targets
// only use the call counts).
void ResetCard();

// The defined length of a string gate as the host reads it from the address
// ("%02u" from position 5, or after the 'L' of the extended form); 0 when no
// digit stands there. The host sizes a string gate's value buffer from it.
unsigned HostStringLength(const char* address);

// Upper-case ASCII letters, nothing else: what the parser does to the text.
std::string UpperAscii(std::string text);

// Makes and enters a fresh empty directory for the run, so no init file of
// the surroundings is read and files the targets write stay private.
void EnterScratchDirectory();

}  // namespace fuzz

// libFuzzer's entry; the replay program calls it for every corpus file.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
