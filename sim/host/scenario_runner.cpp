#include "scenario_runner.hpp"

#include <cstdio>
#include <cstring>
#include <map>

#include "card_control.hpp"
#include "names.hpp"
#include "overloaded.hpp"
#include "text.hpp"

namespace nuvhost {

namespace {

constexpr std::int32_t kInputSelector = 'I';   // raw transfers: 'I' selects the input area
constexpr std::int32_t kOutputSelector = 'O';  // any other value the output area
constexpr std::size_t kBannerLimit = 1024;

// A gate or block as the host keeps it: its address text (which the driver
// upper-cases in place), the locator the definition returned, and its value.
struct HostGate {
    bool block = false;
    std::vector<char> address;
    std::int32_t count = 1;
    rizuz::GateLocator locator{};
    bool accepted = false;
    int definedAt = 0;
    ValueShape readShape;
    ValueShape writeShape;
    std::vector<std::uint8_t> value;
};

std::vector<char> AddressBuffer(const std::string& address) {
    std::vector<char> buffer(address.begin(), address.end());
    buffer.resize(address.size() + 16, '\0');  // the driver may look a little past the end of a short address
    return buffer;
}

std::string LocatorText(const rizuz::GateLocator& l) {
    return "locator slave " + std::to_string(l.slave) + ", typeWord " + Hex(static_cast<std::uint32_t>(l.typeWord), 8) +
           ", offset " + std::to_string(l.offset) + ", bit " + std::to_string(l.bit) + ", width " +
           std::to_string(l.width);
}

// What one request did, for the expectations to look at.
struct Outcome {
    bool sent = false;
    std::int32_t result = 0;
    Value value;
    bool hasValue = false;
};

class Runner {
public:
    Runner(const Scenario& scenario, DriverHost& host, std::ostream& out)
        : scenario_(scenario), host_(host), out_(out) {}

    RunSummary Run() {
        for (const Step& step : scenario_.steps) RunStep(step);
        return summary_;
    }

private:
    std::string Where(int line) const { return scenario_.file + ":" + std::to_string(line); }

    void Failure(int line, const std::string& text) {
        out_ << "  FAILED " << Where(line) << ": " << text << "\n";
        summary_.failures.push_back(Where(line) + ": " + text);
    }

    void RunStep(const Step& step) {
        out_ << Where(step.line) << ": " << step.source << "\n";
        if (IsCardAction(step.action)) {
            std::string report;
            if (!ApplyCardAction(step.action, host_.Card(), report)) {
                Failure(step.line, report);
            } else if (!report.empty()) {
                out_ << "  => " << report << "\n";
            }
            ShowCheckedBytes(step);
            CheckExpectations(step, Outcome{});
            return;
        }
        ++summary_.requests;
        const Outcome outcome = std::visit([&](const auto& request) { return Send(request, step); }, step.action);
        if (!outcome.sent) return;
        CheckExpectations(step, outcome);
    }

    // A line that checks the card shows what the card holds.
    void ShowCheckedBytes(const Step& step) {
        if (!std::holds_alternative<CardCheck>(step.action)) return;
        for (const Expectation& e : step.expectations) {
            const auto bytes = AreaBytes(e.input, host_.Card(), e.offset, e.bytes.size());
            out_ << "  => card " << host_.Card() << ": " << (e.input ? "input" : "output") << " area at " << e.offset
                 << " holds " << HexBytes(bytes) << "\n";
        }
    }

    // Prints the result line of a request; `detail` is its decoded value or locator.
    void Report(std::uint32_t function, std::int32_t result, const std::string& detail) {
        out_ << "  => " << FunctionName(function) << " (" << function << "): " << result << " " << ResultName(result);
        if (!detail.empty()) out_ << "; " << detail;
        out_ << "\n";
    }

    Outcome Finish(std::uint32_t function, std::int32_t result, const std::string& detail) {
        Report(function, result, detail);
        return Outcome{true, result, {}, false};
    }

    Outcome Send(const InfoRequest&, const Step&) {
        rizuz::DriverInfo info{};
        const std::int32_t result = host_.Call(14, &info);
        Outcome outcome = Finish(14, result, "");
        if (result != 0) return outcome;
        const std::string name = info.shortName != nullptr ? std::string(info.shortName, strnlen(info.shortName, 256)) : "";
        out_ << "     short name " << Quote(name) << ", context " << info.contextSize << " bytes, words " << info.word0
             << " " << info.word16 << " " << info.word28 << "\n";
        if (info.banner != nullptr) {
            out_ << "     banner (" << strnlen(info.banner, kBannerLimit) << " bytes):\n";
            for (const std::string& line : BannerLines(info.banner)) out_ << "     " << line << "\n";
        }
        // The host allocates every context in the size the driver announced.
        if (info.contextSize > 0 && info.contextSize <= (1 << 20)) host_.AllocateContext(info.contextSize);
        outcome.value.text = name;
        outcome.hasValue = true;
        return outcome;
    }

    Outcome Send(const InitRequest& init, const Step&) {
        rizuz::InitParams params{};
        params.timeoutTicks = init.timeoutTicks;
        return Finish(1, host_.Call(1, &params), "");
    }

    Outcome Define(const std::string& name, bool block, const std::string& address, std::int32_t gateTypeOrCount,
                   const Step& step) {
        HostGate gate;
        gate.block = block;
        gate.address = AddressBuffer(address);
        gate.count = block ? gateTypeOrCount : 1;
        gate.definedAt = step.line;
        gate.readShape = block ? ShapeOfBlock(address, gateTypeOrCount, Direction::Read) : ShapeOfGate(gateTypeOrCount);
        gate.writeShape = block ? ShapeOfBlock(address, gateTypeOrCount, Direction::Write) : gate.readShape;
        gate.value.assign(std::max(BufferSize(gate.readShape), BufferSize(gate.writeShape)), 0);

        rizuz::GateDefinition definition{};
        definition.address = gate.address.data();
        if (block) {
            definition.blockCount = gateTypeOrCount;
        } else {
            definition.gateType = gateTypeOrCount;
        }
        const std::uint32_t function = block ? 4 : 3;
        const std::int32_t result = host_.Call(function, &definition);
        gate.locator = definition.locator;
        gate.accepted = result == 0;
        Report(function, result, result == 0 ? LocatorText(gate.locator) : "");
        gates_[name] = std::move(gate);
        return Outcome{true, result, {}, false};
    }

    Outcome Send(const DefineGate& d, const Step& step) { return Define(d.name, false, d.address, d.gateType, step); }
    Outcome Send(const DefineBlock& d, const Step& step) { return Define(d.name, true, d.address, d.count, step); }

    // A request on a gate whose definition the driver refused is not sent: the
    // host does not keep such a gate. That counts as its result not being met.
    HostGate* Usable(const std::string& name, int line) {
        HostGate& gate = gates_.at(name);
        if (gate.accepted) return &gate;
        ++summary_.expectations;
        Failure(line, "not sent: the driver refused '" + name + "' at " + Where(gate.definedAt) +
                          ", and the host does not use a gate whose definition was refused");
        return nullptr;
    }

    rizuz::GateIo GateIoOf(HostGate& gate) {
        rizuz::GateIo io{};
        io.address = gate.address.data();
        io.locator = gate.locator;
        io.count = gate.count;
        io.value = gate.value.data();
        return io;
    }

    std::string ValueText(const ValueShape& shape, const Value& value, std::span<const std::uint8_t> buffer) {
        std::string text = "value " + Show(shape, value);
        const std::string raw = ShowBuffer(shape, buffer);
        if (!raw.empty()) text += " (" + raw + ")";
        return text;
    }

    Outcome Send(const ReadRequest& read, const Step& step) {
        HostGate* gate = Usable(read.name, step.line);
        if (gate == nullptr) return {};
        rizuz::GateIo io = GateIoOf(*gate);
        const std::uint32_t function = gate->block ? 6 : 5;
        const std::int32_t result = host_.Call(function, &io);
        Outcome outcome{true, result, Decode(gate->readShape, gate->value), true};
        Report(function, result, result == 0 ? ValueText(gate->readShape, outcome.value, gate->value)
                                             : "the host's value stays " + Show(gate->readShape, outcome.value));
        return outcome;
    }

    Outcome Send(const WriteRequest& write, const Step& step) {
        HostGate* gate = Usable(write.name, step.line);
        if (gate == nullptr) return {};
        Encode(gate->writeShape, write.value, gate->value);
        rizuz::GateIo io = GateIoOf(*gate);
        const std::uint32_t function = gate->block ? 10 : 7;
        const std::int32_t result = host_.Call(function, &io);
        Outcome outcome{true, result, Decode(gate->writeShape, gate->value), true};
        std::string detail = (result == 0 ? "wrote " : "tried ") + Show(gate->writeShape, write.value);
        if (!Matches(write.value, outcome.value, 0)) detail += ", the host's value is now " + Show(gate->writeShape, outcome.value);
        Report(function, result, detail);
        return outcome;
    }

    Outcome Send(const RawReadRequest& raw, const Step& step) {
        std::vector<std::uint8_t> buffer(BufferSize(step.shape), 0);
        rizuz::GateIo io{};
        io.address = noAddress_;
        io.locator.typeWord = raw.input ? kInputSelector : kOutputSelector;
        io.locator.offset = static_cast<std::int32_t>(raw.offset);
        io.count = static_cast<std::int32_t>(raw.count);
        io.value = buffer.data();
        const std::int32_t result = host_.Call(17, &io);
        Outcome outcome{true, result, Decode(step.shape, buffer), true};
        Report(17, result, result == 0 ? "bytes " + Show(step.shape, outcome.value) : "");
        return outcome;
    }

    Outcome Send(const RawWriteRequest& raw, const Step& step) {
        std::vector<std::uint8_t> buffer(BufferSize(step.shape), 0);
        std::copy(raw.bytes.begin(), raw.bytes.end(), buffer.begin());
        rizuz::GateIo io{};
        io.address = noAddress_;
        io.locator.typeWord = raw.input ? kInputSelector : kOutputSelector;
        io.locator.offset = static_cast<std::int32_t>(raw.offset);
        io.count = static_cast<std::int32_t>(raw.bytes.size());
        io.value = buffer.data();
        return Finish(18, host_.Call(18, &io), "");
    }

    // Functions 2 and 11 do not look at their record; the host passes one all the same.
    Outcome Send(const CheckRequest&, const Step&) { return Finish(2, host_.Call(2, spare_), ""); }
    Outcome Send(const ShutdownRequest&, const Step&) { return Finish(11, host_.Call(11, spare_), ""); }
    Outcome Send(const AnyFunction& any, const Step&) {
        std::memset(spare_, 0, sizeof spare_);
        return Finish(any.function, host_.Call(any.function, spare_), "");
    }

    template <typename CardLine>
    Outcome Send(const CardLine&, const Step&) {
        return {};
    }

    void CheckExpectations(const Step& step, const Outcome& outcome) {
        bool resultExpected = false;
        std::size_t logCursor = 0;
        const auto& messages = host_.Messages();
        for (const Expectation& e : step.expectations) {
            ++summary_.expectations;
            const std::string what = "expect " + e.source + ": ";
            switch (e.kind) {
                case Expectation::Kind::Result:
                    resultExpected = true;
                    if (outcome.result != e.result) {
                        Failure(e.line, what + "the result is " + std::to_string(outcome.result) + " (" +
                                            ResultName(outcome.result) + ")");
                    }
                    break;
                case Expectation::Kind::AnyResult:
                    resultExpected = true;
                    break;
                case Expectation::Kind::Value:
                    if (!Matches(e.value, outcome.value, e.tolerance)) {
                        Failure(e.line, what + "the value is " + Show(step.shape, outcome.value));
                    }
                    break;
                case Expectation::Kind::Log: {
                    const auto matches = [&](const HostMessage& m) {
                        return m.msgClass == e.msgClass && (e.pattern ? WildcardMatch(e.text, m.text) : m.text == e.text);
                    };
                    std::size_t at = logCursor;
                    while (at < messages.size() && !matches(messages[at])) ++at;
                    if (at < messages.size()) {
                        logCursor = at + 1;
                    } else {
                        Failure(e.line, what + (logCursor == 0 ? "no such message was logged"
                                                               : "no such message was logged after the one expected before"));
                    }
                    break;
                }
                case Expectation::Kind::NoLog:
                    if (!messages.empty()) {
                        Failure(e.line, what + std::to_string(messages.size()) + " messages were logged, the first " +
                                            FormatMessage(messages.front()));
                    }
                    break;
                case Expectation::Kind::CardBytes: {
                    const auto bytes = AreaBytes(e.input, host_.Card(), e.offset, e.bytes.size());
                    if (bytes != e.bytes) Failure(e.line, what + "the card holds " + HexBytes(bytes));
                    break;
                }
            }
        }
        if (outcome.sent && !resultExpected) ++summary_.expectations;
        if (outcome.sent && !resultExpected && outcome.result != 0) {
            Failure(step.line, "the result is " + std::to_string(outcome.result) + " (" + ResultName(outcome.result) +
                                   "), not 0 (done); write 'expect " + ResultName(outcome.result) +
                                   "' if that is what should happen");
        }
    }

    const Scenario& scenario_;
    DriverHost& host_;
    std::ostream& out_;
    RunSummary summary_;
    std::map<std::string, HostGate> gates_;
    alignas(8) unsigned char spare_[256] = {};  // the record of requests that take none
    char noAddress_[1] = {};                     // raw transfers carry no address
};

}  // namespace

std::string FormatMessage(const HostMessage& message) {
    char cls[16];
    std::snprintf(cls, sizeof cls, "[%2d] ", message.msgClass);
    return cls + message.text;
}

std::vector<std::string> BannerLines(const char* banner) {
    std::vector<std::string> lines(1);
    for (std::size_t i = 0; i < kBannerLimit && banner[i] != '\0'; ++i) {
        const auto c = static_cast<unsigned char>(banner[i]);
        switch (c) {
            case '\r': break;
            case '\n': lines.emplace_back(); break;
            case 0xDA: lines.back() += "\u250C"; break;
            case 0xBF: lines.back() += "\u2510"; break;
            case 0xC0: lines.back() += "\u2514"; break;
            case 0xD9: lines.back() += "\u2518"; break;
            case 0xC4: lines.back() += "\u2500"; break;
            case 0xB3: lines.back() += "\u2502"; break;
            default:
                if (c >= 0x20 && c < 0x7F) {
                    lines.back() += static_cast<char>(c);
                } else {
                    char escape[8];
                    std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned>(c));
                    lines.back() += escape;
                }
        }
    }
    // Drop the empty lines the banner's CR LF pairs leave at its ends.
    while (!lines.empty() && lines.back().empty()) lines.pop_back();
    if (!lines.empty() && lines.front().empty()) lines.erase(lines.begin());
    return lines;
}

RunSummary RunScenario(const Scenario& scenario, DriverHost& host, std::ostream& out) {
    return Runner(scenario, host, out).Run();
}

}  // namespace nuvhost
