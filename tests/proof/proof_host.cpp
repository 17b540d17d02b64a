#include "proof_host.hpp"

namespace rizuz::testing {

void ProofTest::InitWith(const std::string& initFile, std::uint32_t timeoutTicks) {
    if (!initFile.empty()) scratch_.WriteFile("RIZUZ01.INT", initFile);
    DriverInfo info{};
    ASSERT_EQ(Call(14, &info), kDone);
    InitParams params{};
    params.timeoutTicks = timeoutTicks;
    ASSERT_EQ(Call(1, &params, 1), kDone);
}

HostGate ProofTest::DefineGate(const std::string& address, std::int32_t gateType) {
    HostGate gate{address, {}, 1};
    GateDefinition definition{};
    definition.address = gate.address.data();
    definition.gateType = gateType;
    EXPECT_EQ(Call(3, &definition), kDone) << address << " as gate type " << gateType;
    gate.locator = definition.locator;
    return gate;
}

HostGate ProofTest::DefineBlock(const std::string& address, std::int32_t count) {
    HostGate gate{address, {}, count};
    GateDefinition definition{};
    definition.address = gate.address.data();
    definition.blockCount = count;
    EXPECT_EQ(Call(4, &definition), kDone) << address << " as a block of " << count;
    gate.locator = definition.locator;
    return gate;
}

GateIo ProofTest::IoFor(HostGate& gate, void* value) {
    GateIo io{};
    io.address = gate.address.data();
    io.locator = gate.locator;
    io.count = gate.count;
    io.value = value;
    return io;
}

GateIo ProofTest::RawIo(std::int32_t selector, std::int32_t offset, std::int32_t count, void* value) {
    GateIo io{};
    io.locator = {0, selector, offset, -1, 0};
    io.count = count;
    io.value = value;
    return io;
}

bool GuardedBytes::Intact() const {
    for (std::size_t i = 0; i < kGuard; ++i) {
        if (bytes_[i] != kPattern || bytes_[bytes_.size() - 1 - i] != kPattern) return false;
    }
    return true;
}

}  // namespace rizuz::testing
