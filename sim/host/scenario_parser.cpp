#include "scenario_parser.hpp"

#include <map>
#include <span>

#include "names.hpp"
#include "text.hpp"
#include "tokenizer.hpp"

namespace nuvhost {

namespace {

constexpr std::size_t kMaxErrors = 20;
constexpr std::int64_t kMaxTimeoutMs = 10LL * 0xFFFFFFFFLL;

using Tokens = std::span<const Token>;

struct GateShapes {
    ValueShape read;
    ValueShape write;
};

// Parses the parts of one line; each function returns false with `error` set.
class LineParser {
public:
    LineParser(std::map<std::string, GateShapes>& gates, std::string& error) : gates_(gates), error_(error) {}

    bool Request(Tokens tokens, Step& step) {
        const std::string& verb = tokens[0].text;
        const Tokens args = tokens.subspan(1);
        if (tokens[0].kind != Token::Kind::Word) return Fail("a line starts with a request word, not a quoted text");
        if (verb == "info") return NoArgs(args, verb) && Set(step, InfoRequest{}, {Format::String});
        if (verb == "init") return Init(args, step);
        if (verb == "gate") return Gate(args, step);
        if (verb == "block") return Block(args, step);
        if (verb == "read") return Read(args, step);
        if (verb == "write") return Write(args, step);
        if (verb == "raw") return Raw(args, step);
        if (verb == "check") return NoArgs(args, verb) && Set(step, CheckRequest{}, {});
        if (verb == "shutdown") return NoArgs(args, verb) && Set(step, ShutdownRequest{}, {});
        if (verb == "call") return Call(args, step);
        if (verb == "card") return Card(args, step);
        return Fail("unknown request '" + verb +
                    "' (requests: info, init, gate, block, read, write, raw, check, shutdown, call, card, expect)");
    }

    // Everything after the word "expect".
    bool Expect(Tokens tokens, const Step& step, Expectation& e) {
        if (tokens.empty()) return Fail("'expect' needs something to expect");
        const std::string& word = tokens[0].kind == Token::Kind::Word ? tokens[0].text : std::string();
        const bool isRequest = !IsCardAction(step.action);
        if (word == "card") return CardBytes(tokens.subspan(1), e);
        if (!isRequest) return Fail("expectations other than 'expect card' follow a request to the driver");
        if (word == "done" || word == "refused" || word == "failed") {
            if (tokens.size() != 1) return Fail("nothing may follow '" + word + "'");
            e.kind = Expectation::Kind::Result;
            e.result = word == "done" ? 0 : word == "refused" ? 1 : 2;
            return true;
        }
        if (word == "result") {
            const auto n = tokens.size() == 2 ? ParseInteger(tokens[1].text) : std::nullopt;
            if (!n || *n < INT32_MIN || *n > INT32_MAX) return Fail("'expect result' takes one whole number");
            e.kind = Expectation::Kind::Result;
            e.result = static_cast<std::int32_t>(*n);
            return true;
        }
        if (word == "any") {
            if (tokens.size() != 1) return Fail("nothing may follow 'any'");
            e.kind = Expectation::Kind::AnyResult;
            return true;
        }
        if (word == "no") {
            if (tokens.size() != 2 || tokens[1].text != "log") return Fail("did you mean 'expect no log'?");
            e.kind = Expectation::Kind::NoLog;
            return true;
        }
        if (word == "log") return Log(tokens.subspan(1), e);
        return ValueExpectation(tokens, step, e);
    }

private:
    bool Fail(std::string message) {
        error_ = std::move(message);
        return false;
    }

    bool Set(Step& step, Action action, ValueShape shape) {
        step.action = std::move(action);
        step.shape = shape;
        return true;
    }

    bool NoArgs(Tokens args, const std::string& verb) {
        return args.empty() || Fail("'" + verb + "' takes no arguments");
    }

    bool Word(Tokens args, std::size_t at, const char* what, std::string& out) {
        if (at >= args.size()) return Fail(std::string(what) + " is missing");
        if (args[at].kind == Token::Kind::Open || args[at].kind == Token::Kind::Close) {
            return Fail(std::string(what) + " is missing, found " + args[at].text);
        }
        out = args[at].text;
        return true;
    }

    bool Number(Tokens args, std::size_t at, const char* what, std::int64_t low, std::int64_t high, std::int64_t& out) {
        std::string text;
        if (!Word(args, at, what, text)) return false;
        const auto n = args[at].kind == Token::Kind::Word ? ParseInteger(text) : std::nullopt;
        if (!n) return Fail(std::string(what) + " must be a whole number, not '" + text + "'");
        if (*n < low || *n > high) {
            return Fail(std::string(what) + " " + text + " is out of range " + std::to_string(low) + " to " +
                        std::to_string(high));
        }
        out = *n;
        return true;
    }

    bool ExactCount(Tokens args, std::size_t count, const char* usage) {
        return args.size() == count || Fail(std::string("usage: ") + usage);
    }

    bool Name(Tokens args, std::string& name) {
        if (!Word(args, 0, "the gate name", name)) return false;
        bool ok = args[0].kind == Token::Kind::Word && !name.empty() && !(name[0] >= '0' && name[0] <= '9');
        for (const char c : name) {
            ok = ok && ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
                        c == '-' || c == '.');
        }
        return ok || Fail("'" + name + "' is not a gate name (letters, digits, _ - and ., not starting with a digit)");
    }

    const GateShapes* Known(const std::string& name) {
        const auto it = gates_.find(name);
        if (it == gates_.end()) {
            Fail("no gate or block named '" + name + "' is defined above this line");
            return nullptr;
        }
        return &it->second;
    }

    bool Init(Tokens args, Step& step) {
        InitRequest init;
        if (!args.empty()) {
            std::int64_t ms = 0;
            if (args.size() != 2 || args[0].text != "timeout") return Fail("usage: init [timeout MILLISECONDS]");
            if (!Number(args, 1, "the time-out", 0, kMaxTimeoutMs, ms)) return false;
            if (ms % 10 != 0) return Fail("the host passes time-outs in steps of 10 ms; " + args[1].text + " is not one");
            init.timeoutTicks = static_cast<std::uint32_t>(ms / 10);
        }
        return Set(step, init, {});
    }

    bool Gate(Tokens args, Step& step) {
        DefineGate gate;
        if (!ExactCount(args, 3, "gate NAME ADDRESS TYPE")) return false;
        if (!Name(args, gate.name) || !Word(args, 1, "the address", gate.address)) return false;
        const auto type = args[2].kind == Token::Kind::Word ? GateTypeByName(args[2].text) : std::nullopt;
        if (!type) {
            return Fail("'" + args[2].text +
                        "' is not a host gate type (unsigned16, signed16, unsigned16b, float, signed32, unsigned32, "
                        "digital, string, or a code)");
        }
        gate.gateType = *type;
        const ValueShape shape = ShapeOfGate(gate.gateType);
        gates_[gate.name] = {shape, shape};
        return Set(step, gate, {});
    }

    bool Block(Tokens args, Step& step) {
        DefineBlock block;
        std::int64_t count = 0;
        if (!ExactCount(args, 3, "block NAME ADDRESS COUNT")) return false;
        if (!Name(args, block.name) || !Word(args, 1, "the address", block.address)) return false;
        if (!Number(args, 2, "the element count", INT32_MIN, INT32_MAX, count)) return false;
        block.count = static_cast<std::int32_t>(count);
        gates_[block.name] = {ShapeOfBlock(block.address, block.count, Direction::Read),
                              ShapeOfBlock(block.address, block.count, Direction::Write)};
        return Set(step, block, {});
    }

    bool Read(Tokens args, Step& step) {
        ReadRequest read;
        if (!ExactCount(args, 1, "read NAME") || !Name(args, read.name)) return false;
        const GateShapes* shapes = Known(read.name);
        return shapes != nullptr && Set(step, read, shapes->read);
    }

    bool Write(Tokens args, Step& step) {
        WriteRequest write;
        if (args.size() < 2) return Fail("usage: write NAME VALUE");
        if (!Name(args, write.name)) return false;
        const GateShapes* shapes = Known(write.name);
        if (shapes == nullptr) return false;
        if (!ParseValue(shapes->write, args.subspan(1), write.value, error_)) return false;
        return Set(step, write, shapes->write);
    }

    bool Area(Tokens args, std::size_t at, bool& input) {
        std::string area;
        if (!Word(args, at, "the area (input or output)", area)) return false;
        if (area != "input" && area != "output") return Fail("the area is 'input' or 'output', not '" + area + "'");
        input = area == "input";
        return true;
    }

    bool Bytes(Tokens tokens, std::vector<std::uint8_t>& bytes) {
        Value value;
        if (!ParseValue(ShapeOfBytes(0), tokens, value, error_)) return false;
        bytes = std::move(value.bytes);
        return true;
    }

    bool Raw(Tokens args, Step& step) {
        std::string what;
        if (!Word(args, 0, "'read' or 'write'", what)) return false;
        std::int64_t offset = 0;
        if (what == "read") {
            RawReadRequest raw{};
            std::int64_t count = 0;
            if (!ExactCount(args, 4, "raw read input|output OFFSET COUNT")) return false;
            if (!Area(args, 1, raw.input) || !Number(args, 2, "the offset", 0, INT32_MAX, offset) ||
                !Number(args, 3, "the byte count", 0, 65535, count)) {
                return false;
            }
            raw.offset = static_cast<std::uint32_t>(offset);
            raw.count = static_cast<std::uint32_t>(count);
            return Set(step, raw, ShapeOfBytes(raw.count));
        }
        if (what == "write") {
            RawWriteRequest raw{};
            if (args.size() < 3) return Fail("usage: raw write input|output OFFSET BYTES...");
            if (!Area(args, 1, raw.input) || !Number(args, 2, "the offset", 0, INT32_MAX, offset)) return false;
            if (!Bytes(args.subspan(3), raw.bytes)) return false;
            raw.offset = static_cast<std::uint32_t>(offset);
            return Set(step, raw, ShapeOfBytes(raw.bytes.size()));
        }
        return Fail("'raw' is followed by 'read' or 'write', not '" + what + "'");
    }

    bool Call(Tokens args, Step& step) {
        std::int64_t function = 0;
        if (!ExactCount(args, 1, "call FUNCTION-NUMBER")) return false;
        if (!Number(args, 0, "the function number", INT32_MIN, 0xFFFFFFFFLL, function)) return false;
        return Set(step, AnyFunction{static_cast<std::uint32_t>(function)}, {});
    }

    bool CardArea(Tokens args, std::size_t at, bool& input, std::uint32_t& offset, std::vector<std::uint8_t>& bytes) {
        std::int64_t n = 0;
        if (!Area(args, at, input) || !Number(args, at + 1, "the offset", 0, softcard::kAreaSize, n)) return false;
        if (!Bytes(args.subspan(at + 2), bytes)) return false;
        if (bytes.empty()) return Fail("no bytes given");
        if (static_cast<std::size_t>(n) + bytes.size() > softcard::kAreaSize) {
            return Fail("the bytes end beyond the " + std::to_string(softcard::kAreaSize) + "-byte area");
        }
        offset = static_cast<std::uint32_t>(n);
        return true;
    }

    bool OnOff(Tokens args, const char* usage, bool& on) {
        if (args.size() != 1 || (args[0].text != "on" && args[0].text != "off")) {
            return Fail(std::string("usage: ") + usage);
        }
        on = args[0].text == "on";
        return true;
    }

    bool Card(Tokens args, Step& step) {
        std::string what;
        if (!Word(args, 0, "what to do with the card", what)) return false;
        const Tokens rest = args.subspan(1);
        if (what == "input" || what == "output") {
            CardPut put{};
            return CardArea(args, 0, put.input, put.offset, put.bytes) && Set(step, put, {});
        }
        if (what == "loopback") {
            CardLoopback loop{};
            return OnOff(rest, "card loopback on|off", loop.on) && Set(step, loop, {});
        }
        if (what == "comm") {
            if (rest.size() != 1) return Fail("usage: card comm on|off|auto");
            const std::string& mode = rest[0].text;
            if (mode == "on") return Set(step, CardComm{softcard::CommBit::On}, {});
            if (mode == "off") return Set(step, CardComm{softcard::CommBit::Off}, {});
            if (mode == "auto") return Set(step, CardComm{softcard::CommBit::FollowHostReady}, {});
            return Fail("usage: card comm on|off|auto");
        }
        if (what == "fail") return Fault(rest, step);
        if (what == "heal") return NoArgs(rest, "card heal") && Set(step, CardHeal{}, {});
        if (what == "slave") {
            constexpr const char* kUsage = "usage: card slave NUMBER diag BYTES...  or  card slave NUMBER absent";
            CardSlaveDiag diag{};
            std::int64_t slave = 0;
            const bool absent = rest.size() == 2 && rest[1].text == "absent";
            if (!absent && (rest.size() < 3 || rest[1].text != "diag")) return Fail(kUsage);
            if (!Number(rest, 0, "the slave address", 0, 255, slave)) return false;
            if (!absent && !Bytes(rest.subspan(2), diag.bytes)) return false;
            diag.slave = static_cast<unsigned>(slave);
            diag.absent = absent;
            return Set(step, diag, {});
        }
        return Fail("unknown card control '" + what + "' (input, output, loopback, comm, fail, heal, slave)");
    }

    bool Fault(Tokens args, Step& step) {
        constexpr const char* kUsage = "usage: card fail CALL CODE [times N | always] [after N]";
        if (args.size() < 2) return Fail(kUsage);
        CardFail fail{softcard::Call::OpenDriver, 0, 1, 1};
        bool known = false;
        for (unsigned c = 0; c < softcard::kCallCount && !known; ++c) {
            const auto call = static_cast<softcard::Call>(c);
            const std::string name = softcard::CallName(call);
            if (EqualsIgnoringCase(args[0].text, name) || EqualsIgnoringCase("Dev" + args[0].text, name)) {
                fail.call = call;
                known = true;
            }
        }
        if (!known) return Fail("'" + args[0].text + "' is not one of the eleven card calls (DevOpenDriver ... DevSetHostState)");
        std::int64_t code = 0;
        if (!Number(args, 1, "the failure code", INT16_MIN, INT16_MAX, code)) return false;
        if (code == 0) return Fail("0 is the success code; a failing call needs another");
        fail.code = static_cast<std::int16_t>(code);
        for (std::size_t at = 2; at < args.size(); at += 2) {
            std::int64_t n = 0;
            if (args[at].text == "always") {
                fail.times = softcard::kForever;
                --at;  // takes no number
            } else if (args[at].text == "times") {
                if (!Number(args, at + 1, "the number of failing calls", 1, 1000000, n)) return false;
                fail.times = static_cast<unsigned>(n);
            } else if (args[at].text == "after") {
                if (!Number(args, at + 1, "the number of calls let through", 0, 1000000, n)) return false;
                fail.nth = static_cast<unsigned>(n) + 1;
            } else {
                return Fail(kUsage);
            }
        }
        return Set(step, fail, {});
    }

    bool Log(Tokens args, Expectation& e) {
        constexpr const char* kUsage = "usage: expect log CLASS \"text\"  or  expect log CLASS like \"pattern\"";
        if (args.size() < 2) return Fail(kUsage);
        const std::string& cls = args[0].text;
        if (cls == "8" || cls == "detail") {
            e.msgClass = 8;
        } else if (cls == "32" || cls == "event") {
            e.msgClass = 32;
        } else {
            return Fail("the message class is 8 (detail) or 32 (event), not '" + cls + "'");
        }
        std::size_t at = 1;
        if (args[at].kind == Token::Kind::Word && args[at].text == "like") {
            e.pattern = true;
            ++at;
        }
        if (args.size() != at + 1 || args[at].kind != Token::Kind::Text) return Fail(kUsage);
        e.kind = Expectation::Kind::Log;
        e.text = args[at].text;
        return true;
    }

    bool CardBytes(Tokens args, Expectation& e) {
        e.kind = Expectation::Kind::CardBytes;
        return CardArea(args, 0, e.input, e.offset, e.bytes);
    }

    bool ValueExpectation(Tokens tokens, const Step& step, Expectation& e) {
        const bool hasValue = std::holds_alternative<ReadRequest>(step.action) ||
                              std::holds_alternative<WriteRequest>(step.action) ||
                              std::holds_alternative<RawReadRequest>(step.action) ||
                              std::holds_alternative<InfoRequest>(step.action);
        if (!hasValue) {
            return Fail("unknown expectation '" + tokens[0].text +
                        "' (done, refused, failed, result N, any, log, no log, card, or a value after read, write, "
                        "raw read and info)");
        }
        std::size_t end = tokens.size();
        for (std::size_t i = 0; i < tokens.size(); ++i) {
            if (tokens[i].kind == Token::Kind::Word && tokens[i].text == "within") end = i;
        }
        if (end != tokens.size()) {
            const auto tolerance = end + 2 == tokens.size() ? ParseFloat(tokens[end + 1].text) : std::nullopt;
            if (!tolerance || *tolerance < 0) return Fail("'within' takes one number that is not negative");
            e.tolerance = *tolerance;
        }
        e.kind = Expectation::Kind::Value;
        ValueShape shape = step.shape;
        if (shape.format == Format::Bytes) shape.count = 0;  // any number of bytes may be expected
        return ParseValue(shape, tokens.first(end), e.value, error_);
    }

    std::map<std::string, GateShapes>& gates_;
    std::string& error_;
};

// The tokens' stretch of the line as written.
std::string Source(std::string_view line, Tokens tokens) {
    if (tokens.empty()) return {};
    return std::string(line.substr(tokens.front().begin, tokens.back().end - tokens.front().begin));
}

}  // namespace

bool ParseScenario(std::string_view text, const std::string& file, Scenario& scenario,
                   std::vector<SyntaxError>& errors) {
    scenario = Scenario{file, {}};
    std::map<std::string, GateShapes> gates;
    std::string error;
    LineParser parser(gates, error);
    std::vector<Token> tokens;
    bool lastIsRequest = false;
    int line = 0;
    while (!text.empty() && errors.size() < kMaxErrors) {
        const std::size_t newline = text.find('\n');
        const std::string_view row = text.substr(0, newline);
        text = newline == std::string_view::npos ? std::string_view() : text.substr(newline + 1);
        ++line;
        if (!Tokenize(row, tokens, error)) {
            errors.push_back({line, error});
            continue;
        }
        if (tokens.empty()) continue;
        const Tokens all(tokens);
        const bool expectLine = tokens[0].kind == Token::Kind::Word && tokens[0].text == "expect";
        if (expectLine) {
            Expectation e{};
            e.line = line;
            e.source = Source(row, all.subspan(1));
            const bool standalone = tokens.size() > 1 && tokens[1].text == "card";
            if (standalone || !lastIsRequest) {
                if (!standalone) {
                    errors.push_back({line, "'expect' must follow a request (info, init, gate, ... call) or be "
                                            "'expect card ...'"});
                    continue;
                }
                Step check{line, Source(row, all), CardCheck{}, {}, {}};
                if (!parser.Expect(all.subspan(1), check, e)) {
                    errors.push_back({line, error});
                    continue;
                }
                check.expectations.push_back(std::move(e));
                scenario.steps.push_back(std::move(check));
                lastIsRequest = false;
                continue;
            }
            if (!parser.Expect(all.subspan(1), scenario.steps.back(), e)) {
                errors.push_back({line, error});
                continue;
            }
            scenario.steps.back().expectations.push_back(std::move(e));
            continue;
        }
        // A request line, perhaps with one expectation after the word "expect".
        std::size_t split = tokens.size();
        for (std::size_t i = 0; i < tokens.size(); ++i) {
            if (tokens[i].kind == Token::Kind::Word && tokens[i].text == "expect") {
                split = i;
                break;
            }
        }
        Step step{line, Source(row, all.first(split)), InfoRequest{}, {}, {}};
        if (!parser.Request(all.first(split), step)) {
            errors.push_back({line, error});
            lastIsRequest = false;
            continue;
        }
        if (split < tokens.size()) {
            Expectation e{};
            e.line = line;
            e.source = Source(row, all.subspan(split + 1));
            if (!parser.Expect(all.subspan(split + 1), step, e)) {
                errors.push_back({line, error});
                continue;
            }
            step.expectations.push_back(std::move(e));
        }
        lastIsRequest = !IsCardAction(step.action);
        scenario.steps.push_back(std::move(step));
    }
    return errors.empty();
}

}  // namespace nuvhost
