// nuvhost's command line: a subcommand, its arguments and options, and the
// help texts of the tool and of each subcommand.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace nuvhost {

struct CommandLine {
    std::string command;                 // run, explain, diag, help, or empty
    std::vector<std::string> arguments;  // the subcommand's own
    bool help = false;
    bool trace = false;
    std::optional<std::string> driver;
    std::optional<std::int32_t> instance;
    std::optional<std::string> dir;
    std::optional<std::string> type;
    std::optional<std::int32_t> block;
};

// False with a reason for anything the tool does not take.
bool ParseCommandLine(int argc, const char* const* argv, CommandLine& line, std::string& error);

// The help of the tool (empty command) or of one subcommand; null for an unknown one.
const char* HelpText(const std::string& command);

}  // namespace nuvhost
