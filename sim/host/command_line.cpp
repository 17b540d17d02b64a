#include "command_line.hpp"

#include <string_view>

#include "text.hpp"

namespace nuvhost {

namespace {

constexpr const char* kToolHelp = R"(nuvhost - a command-line host for the RIZUZ driver and the soft card

usage: nuvhost [--trace] [--driver PATH] COMMAND ARGUMENTS...

commands:
  run SCENARIO     run a scenario of requests and expectations ('-' reads standard input)
  explain ADDRESS  check a gate address with the driver and say what it means
  diag SLAVE       read a DP slave's diagnostic data through the driver and decode it
  help [COMMAND]   this text, or the help of one command

options for every command:
  --trace          print every card call with its arguments and the bytes it moved
  --driver PATH    the driver to load (default: the one next to nuvhost)
  --help, -h       help

exit status: 0 everything went as expected; 1 an expectation failed, the driver
refused an address or a read failed; 2 a usage or scenario syntax error.
The scenario language: docs/scenarios.md.
)";

constexpr const char* kRunHelp = R"(usage: nuvhost run SCENARIO [--instance N] [--dir DIR] [--trace] [--driver PATH]

Runs the scenario against the driver and the soft card, one request per line,
printing every request with its function, result and value, every message of
the driver with its class, and checking every expectation.

  SCENARIO        the scenario file, or '-' for standard input
  --instance N    the driver instance (default 1): names the init file RIZUZnn.INT
  --dir DIR       where the init file is looked for (default: the scenario's
                  folder; the current folder for standard input)

exit status: 0 every request and expectation went as the scenario says,
1 an expectation failed, 2 a usage or syntax error (with file and line).
The scenario language: docs/scenarios.md.
)";

constexpr const char* kExplainHelp = R"(usage: nuvhost explain ADDRESS [--type TYPE | --block COUNT] [--driver PATH]

Runs the driver's own definition check on ADDRESS and explains the result:
area, memory type, byte range on the card, bit, string length and the locator
words; or the driver's messages when it refuses the address.

  (no option)     a single gate, checked with each host gate type; shows which it takes
  --type TYPE     a single gate of this host gate type (function 3): unsigned16,
                  signed16, unsigned16b, float, signed32, unsigned32, digital,
                  string, or a code 0 to 7
  --block COUNT   a block of COUNT elements (function 4)

exit status: 0 accepted, 1 refused, 2 usage error.
)";

constexpr const char* kDiagHelp = R"(usage: nuvhost diag SLAVE [--instance N] [--dir DIR] [--trace] [--driver PATH]

Initialises the driver, reads the diagnostic data of DP slave SLAVE (0 to 255)
from the soft card's DP master as a D block (functions 4 and 6) and decodes the
standard diagnosis: the three station status bytes bit by bit, the master
address, the ident number, then the extended bytes in hex.

  --instance N    the driver instance (default 1): names the init file RIZUZnn.INT
  --dir DIR       where the init file is looked for (default: the current folder)

exit status: 0 read and decoded, 1 the driver could not read them, 2 usage error.
)";

bool TakeValue(int argc, const char* const* argv, int& i, std::string_view option, std::string_view& inlineValue,
               std::string& value, std::string& error) {
    if (!inlineValue.empty()) {
        value = std::string(inlineValue);
        return true;
    }
    if (i + 1 >= argc) {
        error = "option " + std::string(option) + " needs a value";
        return false;
    }
    value = argv[++i];
    return true;
}

bool TakeNumber(const std::string& text, std::string_view option, std::int32_t& number, std::string& error) {
    const auto n = ParseInteger(text);
    if (!n || *n < INT32_MIN || *n > INT32_MAX) {
        error = "option " + std::string(option) + " takes a whole number, not '" + text + "'";
        return false;
    }
    number = static_cast<std::int32_t>(*n);
    return true;
}

}  // namespace

bool ParseCommandLine(int argc, const char* const* argv, CommandLine& line, std::string& error) {
    line = CommandLine{};
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (optionsEnded || arg == "-" || arg.size() < 2 || arg[0] != '-') {
            if (line.command.empty()) {
                line.command = std::string(arg);
            } else {
                line.arguments.emplace_back(arg);
            }
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        std::string_view option = arg, inlineValue;
        if (const auto equals = arg.find('='); equals != std::string_view::npos) {
            option = arg.substr(0, equals);
            inlineValue = arg.substr(equals + 1);
        }
        std::string value;
        std::int32_t number = 0;
        if (option == "--help" || option == "-h") {
            line.help = true;
        } else if (option == "--trace") {
            line.trace = true;
        } else if (option == "--driver") {
            if (!TakeValue(argc, argv, i, option, inlineValue, value, error)) return false;
            line.driver = value;
        } else if (option == "--dir") {
            if (!TakeValue(argc, argv, i, option, inlineValue, value, error)) return false;
            line.dir = value;
        } else if (option == "--type") {
            if (!TakeValue(argc, argv, i, option, inlineValue, value, error)) return false;
            line.type = value;
        } else if (option == "--instance" || option == "--block") {
            if (!TakeValue(argc, argv, i, option, inlineValue, value, error)) return false;
            if (!TakeNumber(value, option, number, error)) return false;
            (option == "--instance" ? line.instance : line.block) = number;
        } else {
            error = "unknown option " + std::string(arg);
            return false;
        }
    }
    return true;
}

const char* HelpText(const std::string& command) {
    if (command.empty() || command == "help") return kToolHelp;
    if (command == "run") return kRunHelp;
    if (command == "explain") return kExplainHelp;
    if (command == "diag") return kDiagHelp;
    return nullptr;
}

}  // namespace nuvhost
