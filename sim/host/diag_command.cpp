#include "diag_command.hpp"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "dp_diagnosis.hpp"
#include "names.hpp"
#include "scenario_runner.hpp"
#include "soft_card.hpp"
#include "text.hpp"

namespace nuvhost {

namespace {

// A D block may end at diagnostic byte 98 at the latest.
constexpr std::uint32_t kMaxDiagBlock = 99;
constexpr std::size_t kDataCountByte = 13;

class Session {
public:
    Session(DriverHost& host, bool verbose, std::ostream& out) : host_(host), verbose_(verbose), out_(out) {}

    // One request; its messages are shown when it did not go as it should.
    bool Request(std::uint32_t function, void* params, const char* what) {
        const std::int32_t result = host_.Call(function, params);
        const bool rejected = std::any_of(host_.Messages().begin(), host_.Messages().end(), [](const HostMessage& m) {
            return m.text.find("ReadDiags()") != std::string::npos && m.text.find("retry 2") != std::string::npos;
        });
        const bool ok = result == 0 && !rejected;
        if (verbose_ || !ok) {
            out_ << what << ": " << FunctionName(function) << " (" << function << ") " << result << " "
                 << ResultName(result) << "\n";
            for (const HostMessage& m : host_.Messages()) out_ << "    " << FormatMessage(m) << "\n";
        }
        if (rejected) out_ << "the driver got no usable answer in three attempts\n";
        return ok;
    }

    // Reads `count` diagnostic bytes of the slave from byte 0 on.
    bool ReadBlock(unsigned slave, std::uint32_t count, std::vector<std::uint8_t>& bytes) {
        char address[16];
        std::snprintf(address, sizeof address, "D%03u00", slave);
        rizuz::GateDefinition definition{};
        definition.address = address;
        definition.blockCount = static_cast<std::int32_t>(count);
        if (!Request(4, &definition, "define the D block")) return false;
        std::vector<std::uint8_t> value(1024, 0);
        rizuz::GateIo io{};
        io.address = address;
        io.locator = definition.locator;
        io.count = static_cast<std::int32_t>(count);
        io.value = value.data();
        if (!Request(6, &io, "read the D block")) return false;
        bytes.assign(value.begin(), value.begin() + static_cast<std::ptrdiff_t>(count));
        return true;
    }

private:
    DriverHost& host_;
    bool verbose_;
    std::ostream& out_;
};

// How many diagnostic bytes the slave's last answer carried (its data count).
std::uint32_t AnsweredDataCount() {
    const auto& log = softcard::CallLog();
    for (auto it = log.rbegin(); it != log.rend(); ++it) {
        if (it->call == softcard::Call::GetMessage && it->result == 0 && it->received.size() > kDataCountByte) {
            return it->received[kDataCountByte];
        }
    }
    return 0;
}

}  // namespace

int Diagnose(DriverHost& host, unsigned slave, bool verbose, std::ostream& out) {
    Session session(host, verbose, out);
    rizuz::DriverInfo info{};
    if (!session.Request(14, &info, "driver information")) return 1;
    host.AllocateContext(info.contextSize);
    rizuz::InitParams params{};
    if (!session.Request(1, &params, "initialise")) return 1;
    // Start the card first, so its report stays apart from the diagnostic read.
    rizuz::GateIo unused{};
    if (!session.Request(2, &unused, "start the card")) return 1;

    // The standard diagnosis first; then all the bytes the slave has, as far as a D block reaches.
    std::vector<std::uint8_t> bytes;
    if (!session.ReadBlock(slave, kStandardDiagnosisSize, bytes)) return 1;
    const std::uint32_t available = std::min(AnsweredDataCount(), kMaxDiagBlock);
    if (available > kStandardDiagnosisSize && !session.ReadBlock(slave, available, bytes)) return 1;

    out << "slave " << slave << ": " << bytes.size() << " diagnostic bytes: " << HexBytes(bytes) << "\n";
    for (const std::string& line : DecodeDpDiagnosis(bytes)) out << "  " << line << "\n";
    return 0;
}

}  // namespace nuvhost
