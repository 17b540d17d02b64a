#include "explain.hpp"

#include <algorithm>
#include <vector>

#include "address/string_length.hpp"
#include "names.hpp"
#include "rizuz/memory_type.hpp"
#include "scenario_runner.hpp"
#include "text.hpp"

namespace nuvhost {

namespace {

// Locator words the parser leaves alone keep this value, so nuvhost can say so.
constexpr std::int32_t kUntouched = static_cast<std::int32_t>(0xA5A5A5A5u);

struct Trial {
    std::int32_t gateTypeOrCount;
    std::int32_t result;
    std::string address;  // as the driver left it: upper-cased
    rizuz::GateLocator locator;
    std::vector<HostMessage> messages;
};

Trial Define(DriverHost& host, const std::string& address, bool block, std::int32_t gateTypeOrCount) {
    std::vector<char> text(address.begin(), address.end());
    text.resize(address.size() + 16, '\0');
    rizuz::GateDefinition definition{};
    definition.address = text.data();
    definition.locator = {kUntouched, kUntouched, kUntouched, kUntouched, kUntouched};
    (block ? definition.blockCount : definition.gateType) = gateTypeOrCount;
    const std::int32_t result = host.Call(block ? 4 : 3, &definition);
    return {gateTypeOrCount, result, text.data(), definition.locator, host.Messages()};
}

std::string Word(std::int32_t value) { return value == kUntouched ? "(not written)" : std::to_string(value); }

std::string Range(std::uint32_t first, std::uint32_t size) {
    if (size == 0) return "no bytes";
    if (size == 1) return "byte " + std::to_string(first);
    return "bytes " + std::to_string(first) + " to " + std::to_string(first + size - 1);
}

void Line(std::ostream& out, const char* label, const std::string& text) {
    out << "  " << label << std::string(10 - std::string(label).size(), ' ') << text << "\n";
}

void Meaning(const Trial& trial, bool block, std::ostream& out) {
    const rizuz::GateLocator& l = trial.locator;
    const std::uint32_t count = block ? static_cast<std::uint32_t>(trial.gateTypeOrCount) : 1u;
    if (l.typeWord == rizuz::kDiagTypeWord) {
        Line(out, "area", "D: the diagnostic data of Profibus DP slave " + std::to_string(l.slave) +
                              ", fetched with a DDLM_Slave_Diag request");
        Line(out, "data", Range(static_cast<std::uint32_t>(l.offset), count) + " of the slave's diagnostic data");
    } else {
        const char area = rizuz::AreaOf(l.typeWord);
        const std::uint32_t memoryType = rizuz::MemoryTypeOf(l.typeWord);
        const bool isString = rizuz::IsStringGateAddress(trial.address.c_str());
        const std::string areaName = area == 'S' ? "output" : "input";
        Line(out, "area", std::string(1, area) + (area == 'S' ? ": the send (output) area" : ": the receive (input) area") +
                              " of the process image");
        const std::uint32_t unit = l.width == 16 ? 2u : l.width == 32 ? 4u : 1u;
        const std::uint32_t first = static_cast<std::uint32_t>(l.offset) * unit;
        if (isString) {
            std::uint32_t length = 0;
            const bool hasLength = rizuz::StringGateLength(trial.address.c_str(), length);
            Line(out, "memory", "S: a string of " + (hasLength ? std::to_string(length) + " bytes" : "unreadable length") +
                                    " (stored as memory type 5); its offset counts 16-bit words");
            Line(out, "on card", Range(first, hasLength ? length : 0) + " of the " + areaName + " area");
        } else {
            Line(out, "memory", std::to_string(memoryType) + ": " + MemoryTypeName(memoryType) + ", " +
                                    std::to_string(rizuz::TypeSizeOf(memoryType)) + " byte(s) per element");
            const std::uint32_t size = rizuz::TypeSizeOf(memoryType);
            const bool bitBlock = block && l.bit >= 0 && l.bit != kUntouched && size == 2;
            Line(out, "on card", Range(first, size * count) + " of the " + areaName + " area" +
                                     (bitBlock && area == 'S' ? " when read; " + Range(first, count / 8) + " when written" : ""));
        }
    }
    const bool diag = l.typeWord == rizuz::kDiagTypeWord;
    if (l.bit >= 0 && l.bit != kUntouched) {
        Line(out, "bit", std::to_string(l.bit) + (diag ? " of the diagnostic byte" : " of the element") +
                             (!block ? ": a special digital gate, its value is 0 or 1"
                              : diag ? " (ignored: a D block reads whole bytes)"
                                     : " (a bit block: written 16 values to a word, read as whole words)"));
    } else {
        Line(out, "bit", "none");
    }
    if (block) Line(out, "count", std::to_string(trial.gateTypeOrCount) + " elements");
    Line(out, "locator", "slave " + Word(l.slave) + ", typeWord " +
                             (l.typeWord == kUntouched ? "(not written)" : Hex(static_cast<std::uint32_t>(l.typeWord), 8)) +
                             ", offset " + Word(l.offset) + ", bit " + Word(l.bit) + ", width " + Word(l.width));
}

void Messages(const std::vector<HostMessage>& messages, std::ostream& out) {
    for (const HostMessage& m : messages) out << "    " << FormatMessage(m) << "\n";
}

std::string TypeList(const std::vector<std::int32_t>& types) {
    std::string text;
    for (const std::int32_t t : types) text += (text.empty() ? "" : ", ") + GateTypeLabel(t);
    return text;
}

}  // namespace

int Explain(DriverHost& host, const ExplainRequest& request, std::ostream& out) {
    out << request.address << "\n";
    if (request.blockCount || request.gateType) {
        const bool block = request.blockCount.has_value();
        const Trial trial = Define(host, request.address, block, block ? *request.blockCount : *request.gateType);
        const std::string with = block ? "a count of " + std::to_string(trial.gateTypeOrCount) : GateTypeLabel(trial.gateTypeOrCount);
        Line(out, "check", std::string(block ? "BlockParse (4)" : "SingleParse (3)") + " with " + with + ": " +
                               std::to_string(trial.result) + " " + ResultName(trial.result));
        if (!trial.messages.empty()) {
            out << "  the driver says:\n";
            Messages(trial.messages, out);
        }
        if (trial.result != 0) return 1;
        Meaning(trial, block, out);
        return 0;
    }

    // No gate type given: the definition check with each of the host's types.
    std::vector<Trial> trials;
    std::vector<std::int32_t> accepted;
    for (const HostGateType& type : kHostGateTypes) {
        trials.push_back(Define(host, request.address, false, type.code));
        if (trials.back().result == 0) accepted.push_back(type.code);
    }
    if (!accepted.empty()) {
        Line(out, "check", "SingleParse (3) accepts it as " + TypeList(accepted));
        const Trial& first = trials[static_cast<std::size_t>(accepted.front())];
        if (!first.messages.empty()) {
            out << "  the driver says:\n";
            Messages(first.messages, out);
        }
        Meaning(first, false, out);
        return 0;
    }
    Line(out, "check", "SingleParse (3) refuses it for every host gate type");
    out << "  the driver says:\n";
    // Each distinct message once, with the gate types that got it when not all did.
    std::vector<std::pair<HostMessage, std::vector<std::int32_t>>> distinct;
    for (const Trial& trial : trials) {
        for (const HostMessage& m : trial.messages) {
            auto it = std::find_if(distinct.begin(), distinct.end(), [&](const auto& d) {
                return d.first.msgClass == m.msgClass && d.first.text == m.text;
            });
            if (it == distinct.end()) it = distinct.insert(distinct.end(), {m, {}});
            if (it->second.empty() || it->second.back() != trial.gateTypeOrCount) it->second.push_back(trial.gateTypeOrCount);
        }
    }
    for (const auto& [message, types] : distinct) {
        out << "    " << FormatMessage(message);
        if (types.size() != trials.size()) out << "   (with " << TypeList(types) << ")";
        out << "\n";
    }
    return 1;
}

}  // namespace nuvhost
