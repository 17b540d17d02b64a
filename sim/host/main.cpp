// nuvhost: a command-line host for the RIZUZ driver. Loads the driver as the
// host does, supplies its message function, and drives it against the soft card.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "call_trace.hpp"
#include "card_control.hpp"
#include "command_line.hpp"
#include "diag_command.hpp"
#include "driver_host.hpp"
#include "driver_loader.hpp"
#include "explain.hpp"
#include "names.hpp"
#include "scenario_parser.hpp"
#include "scenario_runner.hpp"
#include "soft_card.hpp"
#include "text.hpp"

using namespace nuvhost;

namespace {

constexpr int kAsExpected = 0;
constexpr int kNotAsExpected = 1;
constexpr int kUsageError = 2;
constexpr std::int32_t kDefaultInstance = 1;

std::string Count(std::size_t n, const char* thing) {
    return std::to_string(n) + " " + thing + (n == 1 ? "" : "s");
}

int UsageError(const std::string& message) {
    std::cout.flush();
    std::cerr << "nuvhost: " << message << "\n(nuvhost --help shows how to use it)\n";
    return kUsageError;
}

// A driver that cannot be loaded or a folder that cannot be entered: the
// command line was right, the machine is not ready.
int SetupError(const std::string& message) {
    std::cout.flush();
    std::cerr << "nuvhost: " << message << "\n";
    return kUsageError;
}

// Everything a command needs from the command line, checked.
bool CheckOptions(const CommandLine& line, std::string& error) {
    const bool isRun = line.command == "run", isExplain = line.command == "explain", isDiag = line.command == "diag";
    if (!isRun && !isExplain && !isDiag) {
        error = "unknown command '" + line.command + "' (run, explain, diag, help)";
        return false;
    }
    if (line.arguments.size() != 1) {
        error = line.command + " takes one " + (isRun ? "scenario" : isExplain ? "address" : "slave address") +
                (line.arguments.empty() ? "" : ", not " + std::to_string(line.arguments.size()) + " arguments");
        return false;
    }
    if (isExplain && (line.instance || line.dir)) {
        error = "explain takes no --instance or --dir: the definition check reads no init file";
        return false;
    }
    if (!isExplain && (line.type || line.block)) {
        error = "--type and --block belong to explain";
        return false;
    }
    if (line.type && line.block) {
        error = "explain takes --type (a single gate) or --block (a block), not both";
        return false;
    }
    return true;
}

std::optional<LoadedDriver> Load(const CommandLine& line, std::string& error) {
    return LoadDriver(line.driver.value_or(DefaultDriverPath()), error);
}

// Every command starts from a freshly powered soft card; --trace then shows its calls.
void TraceCardCalls(bool on) {
    PowerOnSoftCard();
    if (!on) return;
    softcard::SetTraceHook([](const softcard::CallRecord& record) { std::cout << "    card> " << FormatCardCall(record) << "\n"; });
}

bool EnterFolder(const std::filesystem::path& folder, std::string& error) {
    if (folder.empty()) return true;
    std::error_code failed;
    std::filesystem::current_path(folder, failed);
    if (failed) error = "cannot go to folder " + folder.string() + ": " + failed.message();
    return !failed;
}

int Run(const CommandLine& line) {
    const std::string& file = line.arguments[0];
    std::stringstream text;
    std::filesystem::path folder;
    if (file == "-") {
        text << std::cin.rdbuf();
    } else {
        std::ifstream in(file, std::ios::binary);
        if (!in) return SetupError("cannot read scenario " + file);
        text << in.rdbuf();
        folder = std::filesystem::path(file).parent_path();
    }
    if (line.dir) folder = *line.dir;

    Scenario scenario;
    std::vector<SyntaxError> errors;
    const std::string name = file == "-" ? "stdin" : file;
    if (!ParseScenario(text.str(), name, scenario, errors)) {
        for (const SyntaxError& e : errors) std::cerr << name << ":" << e.line << ": syntax error: " << e.message << "\n";
        std::cerr << name << ": " << errors.size() << " syntax error(s); nothing was run\n";
        return kUsageError;
    }

    std::string error;
    const auto driver = Load(line, error);
    if (!driver) return SetupError(error);
    if (!EnterFolder(folder, error)) return SetupError(error);
    const std::int32_t instance = line.instance.value_or(kDefaultInstance);
    std::cout << "nuvhost: driver " << driver->path << ", instance " << instance << ", init file folder "
              << std::filesystem::current_path().string() << "\n";
    DriverHost host(driver->entry, instance,
                    [](const HostMessage& m) { std::cout << "    " << FormatMessage(m) << "\n"; });
    TraceCardCalls(line.trace);
    const RunSummary summary = RunScenario(scenario, host, std::cout);

    std::cout << name << ": " << Count(static_cast<std::size_t>(summary.requests), "request") << ", "
              << Count(static_cast<std::size_t>(summary.expectations), "expectation") << ", ";
    if (summary.failures.empty()) {
        std::cout << "all met\n";
        return kAsExpected;
    }
    std::cout << summary.failures.size() << " not met\n";
    std::cout.flush();
    for (const std::string& failure : summary.failures) std::cerr << failure << "\n";
    return kNotAsExpected;
}

int ExplainCommand(const CommandLine& line) {
    ExplainRequest request{line.arguments[0], std::nullopt, line.block};
    if (line.type) {
        request.gateType = GateTypeByName(*line.type);
        if (!request.gateType) return UsageError("'" + *line.type + "' is not a host gate type");
    }
    std::string error;
    const auto driver = Load(line, error);
    if (!driver) return SetupError(error);
    DriverHost host(driver->entry, kDefaultInstance, nullptr);
    TraceCardCalls(line.trace);
    return Explain(host, request, std::cout);
}

int DiagCommand(const CommandLine& line) {
    const auto slave = ParseInteger(line.arguments[0]);
    if (!slave || *slave < 0 || *slave > 255) return UsageError("the slave address is 0 to 255, not '" + line.arguments[0] + "'");
    std::string error;
    const auto driver = Load(line, error);
    if (!driver) return SetupError(error);
    if (line.dir && !EnterFolder(*line.dir, error)) return SetupError(error);
    DriverHost host(driver->entry, line.instance.value_or(kDefaultInstance), nullptr);
    TraceCardCalls(line.trace);
    return Diagnose(host, static_cast<unsigned>(*slave), line.trace, std::cout);
}

}  // namespace

int main(int argc, char** argv) {
    CommandLine line;
    std::string error;
    if (!ParseCommandLine(argc, argv, line, error)) return UsageError(error);
    if (line.command == "help" || line.help || line.command.empty()) {
        const std::string topic = line.command == "help" && !line.arguments.empty() ? line.arguments[0]
                                  : line.command == "help"                          ? ""
                                                                                    : line.command;
        const char* help = HelpText(topic);
        if (help == nullptr) return UsageError("no help for '" + topic + "': there is no such command");
        std::cout << help;
        return line.command.empty() && !line.help ? kUsageError : kAsExpected;
    }
    if (!CheckOptions(line, error)) return UsageError(error);
    if (line.command == "run") return Run(line);
    if (line.command == "explain") return ExplainCommand(line);
    return DiagCommand(line);
}
