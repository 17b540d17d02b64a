// A board of the soft card opened and initialised, so that its mailbox takes
// messages, and helpers to read what went through it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "diag/read_diags.hpp"
#include "dp_master.hpp"
#include "driver_fixture.hpp"
#include "rizuz/card_library.hpp"
#include "rizuz/memory_type.hpp"

namespace rizuz::testing {

class DiagTest : public DriverTest {
protected:
    static constexpr std::uint32_t kEmptying = 50;  // time-out of a fetch that empties the queue
    static constexpr std::uint32_t kWaiting = 500;  // time-out of a request or its answer

    void SetUp() override {
        DriverTest::SetUp();
        ASSERT_EQ(DevOpenDriver(0), 0);
        ASSERT_EQ(DevInitBoard(0, nullptr), 0);
        softcard::ClearCallLog();
    }

    static GateLocator DiagGate(std::int32_t slave, std::int32_t offset, std::int32_t bit = -1) {
        return {slave, kDiagTypeWord, offset, bit, 0};
    }

    // ReadDiags as SingleRead (5) or BlockRead (6) hand it a D gate.
    NuvResult Read(std::uint32_t function, GateLocator at, std::int32_t count, void* value) {
        GateIo io{};
        io.locator = at;
        io.count = count;
        io.value = value;
        DriverRequest request{&context(), function, 1, 0, &io};
        return ReadDiags(request);
    }

    static std::vector<softcard::CallRecord> Calls(softcard::Call call) {
        std::vector<softcard::CallRecord> calls;
        for (const auto& record : softcard::CallLog()) {
            if (record.call == call) calls.push_back(record);
        }
        return calls;
    }

    // DevGetMessage's arguments are size, buffer, time-out.
    static unsigned Fetches(std::uint32_t timeout) {
        unsigned n = 0;
        for (const auto& record : Calls(softcard::Call::GetMessage)) n += record.args.at(2) == timeout ? 1u : 0u;
        return n;
    }

    // The message calls in order: 'P' a request, 'G' a 500 ms fetch, 'e' a 50 ms one.
    static std::string MessageCalls() {
        std::string calls;
        for (const auto& record : softcard::CallLog()) {
            if (record.call == softcard::Call::PutMessage) calls += 'P';
            if (record.call == softcard::Call::GetMessage) calls += record.args.at(2) == kEmptying ? 'e' : 'G';
        }
        return calls;
    }

    static std::vector<unsigned> SentNumbers() {
        std::vector<unsigned> numbers;
        for (const auto& record : Calls(softcard::Call::PutMessage)) numbers.push_back(record.sent.at(3));
        return numbers;
    }

    static void SetDiagByte(std::uint8_t slave, std::size_t index, std::uint8_t value) {
        std::vector<std::uint8_t> bytes = softcard::dp::Diagnosis(0, slave);
        if (bytes.size() <= index) bytes.resize(index + 1, 0);
        bytes[index] = value;
        softcard::dp::SetDiagnosis(0, slave, bytes);
    }
};

}  // namespace rizuz::testing
