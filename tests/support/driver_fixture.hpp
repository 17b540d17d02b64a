// A host in miniature: one context block of the announced size, requests made
// through NuvMain, a freshly reset soft card and an empty message log per test.
#pragma once

#include <gtest/gtest.h>

#include <cstring>

#include "recording_sink.hpp"
#include "rizuz/host_log.hpp"
#include "rizuz/nuv_main.hpp"
#include "soft_card.hpp"

namespace rizuz::testing {

class DriverTest : public ::testing::Test {
protected:
    void SetUp() override {
        softcard::Reset();
        ClearMessages();
        std::memset(block_.bytes, 0, sizeof block_.bytes);
    }

    DriverContext& context() { return block_.context; }

    NuvResult Call(std::uint32_t function, void* params, std::int32_t instance = 1) {
        DriverRequest request{&block_.context, function, instance, 0, params};
        return NuvMain(&request);
    }

private:
    // The host allocates the announced size, not sizeof(DriverContext).
    union Block {
        DriverContext context;
        unsigned char bytes[kContextSize];
    } block_{};
};

}  // namespace rizuz::testing
