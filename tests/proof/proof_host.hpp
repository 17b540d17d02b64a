// A host for the proof suites: an init file in a private working directory,
// gates defined through functions 3 and 4 as the host defines them, and
// transfer records built the way the host builds them.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "driver_fixture.hpp"
#include "scratch_directory.hpp"

namespace rizuz::testing {

// A gate (or block) as the host keeps it after defining it: its address text,
// upper-cased by the parser, and its locator.
struct HostGate {
    std::string address;
    GateLocator locator{};
    std::int32_t count = 1;  // 1, or the block's element count
};

class ProofTest : public DriverTest {
protected:
    // Functions 14 and 1 with an init file of this content (none when empty).
    void InitWith(const std::string& initFile, std::uint32_t timeoutTicks = 0);

    // Function 3 (single gate) or 4 (block); the definition must be accepted.
    HostGate DefineGate(const std::string& address, std::int32_t gateType);
    HostGate DefineBlock(const std::string& address, std::int32_t count);

    // A transfer record for the gate; `value` is the host's buffer.
    static GateIo IoFor(HostGate& gate, void* value);
    // A raw transfer (functions 17 and 18): selector 'I' or any other.
    static GateIo RawIo(std::int32_t selector, std::int32_t offset, std::int32_t count, void* value);

    ScratchDirectory scratch_;
};

// Bytes of a host buffer between guard zones that must keep their pattern.
class GuardedBytes {
public:
    explicit GuardedBytes(std::size_t size) : bytes_(size + 2 * kGuard, kPattern) {}
    std::uint8_t* data() { return bytes_.data() + kGuard; }
    std::size_t size() const { return bytes_.size() - 2 * kGuard; }
    bool Intact() const;

private:
    static constexpr std::size_t kGuard = 16;
    static constexpr std::uint8_t kPattern = 0xA5;
    std::vector<std::uint8_t> bytes_;
};

}  // namespace rizuz::testing
