// Helpers of the lifecycle suites: a scratch working directory for init files,
// and the start-up report the soft card's default replies produce.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>  // mkdtemp

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "driver_fixture.hpp"
#include "lifecycle/start_board.hpp"

namespace rizuz::testing {

// The driver looks for its init file in the current directory: each test gets
// a fresh empty one, and the previous directory back afterwards.
class ScratchDirectory {
public:
    ScratchDirectory() : previous_(std::filesystem::current_path()) {
        std::string pattern = (std::filesystem::temp_directory_path() / "rizuz-lifecycle-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "cannot make a scratch directory";
        path_ = pattern;
        std::filesystem::current_path(path_);
    }
    ~ScratchDirectory() {
        std::filesystem::current_path(previous_);
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    // Byte for byte: CR LF stays CR LF.
    static void Write(const std::string& name, const std::string& bytes) {
        std::ofstream(name, std::ios::binary) << bytes;
    }

private:
    std::filesystem::path previous_;
    std::filesystem::path path_;
};

inline const std::string kEqualsRule(48, '=');
inline const std::string kHyphenRule(48, '-');

// Everything the first start-up logs with the soft card's default replies.
inline std::vector<LoggedMessage> DefaultReport(unsigned card) {
    char address[16];
    char serial[16];
    std::snprintf(address, sizeof address, "%x", 0xCA000u + 0x2000u * card);
    std::snprintf(serial, sizeof serial, "%x", 0x10000u + card);
    return {
        {kDetail, "RIZUZ> Info: About to open device driver"},
        {kDetail, "RIZUZ> Info: Opening device driver, successful (DevOpenDriver)"},
        {kDetail, "RIZUZ> Info: CIF board initialisation, successful (DevInitBoard)"},
        {kEvent, kEqualsRule},
        {kEvent, "RIZUZ> Driver Version: SOFTCARD V1.00"},
        {kEvent, "RIZUZ> Board Information for card Number " + std::to_string(card) + ":"},
        {kEvent, "RIZUZ>       Available: 1"},
        {kEvent, std::string("RIZUZ>       Physical Address: ") + address},
        {kEvent, "RIZUZ>       IRQ Number: 0"},
        {kEvent, kHyphenRule},
        {kEvent, "RIZUZ> Version Information:"},
        {kEvent, "RIZUZ>         Date         : 20261211"},
        {kEvent, "RIZUZ>         Device Number: 3030"},
        {kEvent, std::string("RIZUZ>         Serial Number: ") + serial},
        {kEvent, "RIZUZ>         Reserved     : 0"},
        {kEvent, "RIZUZ>         Operating System identifier : SOFTCARD-OS"},
        {kEvent, kHyphenRule},
        {kEvent, "RIZUZ> Firmware Information:"},
        {kEvent, "RIZUZ>          Name: PROFIBUS-DPM"},
        {kEvent, "RIZUZ>          Version: V1.00 soft"},
        {kEvent, kHyphenRule},
        {kEvent, "RIZUZ> Device Information:"},
        {kEvent, "RIZUZ>        Type: 3"},
        {kEvent, "RIZUZ>        Model: 30"},
        {kEvent, "RIZUZ>        Identifier: SFT"},
        {kEvent, kEqualsRule},
    };
}

// The kinds of every DevGetInfo call in the soft card's log, in order.
inline std::vector<std::uint32_t> InfoKindsCalled() {
    std::vector<std::uint32_t> kinds;
    for (const auto& record : softcard::CallLog()) {
        if (record.call == softcard::Call::GetInfo) kinds.push_back(record.args.at(0));
    }
    return kinds;
}

// A driver test that can run the start-up the way an I/O function does.
class LifecycleTest : public DriverTest {
protected:
    NuvResult StartBoardNow() {
        DriverRequest request{&context(), 5, 1, 0, nullptr};
        return StartBoard(request);
    }
    // What an I/O handler does first: true when it may go on.
    bool BoardReadyNow() {
        DriverRequest request{&context(), 5, 1, 0, nullptr};
        return BoardReady(request);
    }
    // Brings the context to "running" and forgets what that logged.
    void StartRunning() {
        ASSERT_EQ(StartBoardNow(), kDone);
        ASSERT_NE(context().commRunning, 0);
        ClearMessages();
        softcard::ClearCallLog();
    }
};

}  // namespace rizuz::testing
