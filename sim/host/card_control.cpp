#include "card_control.hpp"

#include <algorithm>

#include "overloaded.hpp"
#include "slave_diagnosis.hpp"
#include "soft_card.hpp"

namespace nuvhost {

namespace {

const char* AreaName(bool input) { return input ? "input" : "output"; }

std::string Times(unsigned nth, unsigned times) {
    std::string text = times == softcard::kForever ? "every call" : times == 1 ? "one call" : std::to_string(times) + " calls";
    if (nth > 1) text += " after letting " + std::to_string(nth - 1) + " through";
    return text;
}

}  // namespace

void PowerOnSoftCard() { softcard::Reset(); }

bool ApplyCardAction(const Action& action, unsigned card, std::string& report) {
    const std::string board = "card " + std::to_string(card);
    return std::visit(
        Overloaded{
            [&](const CardPut& put) {
                auto area = put.input ? softcard::InputArea(card) : softcard::OutputArea(card);
                std::copy(put.bytes.begin(), put.bytes.end(), area.begin() + static_cast<std::ptrdiff_t>(put.offset));
                report = board + ": " + std::to_string(put.bytes.size()) + " bytes put into the " + AreaName(put.input) +
                         " area at " + std::to_string(put.offset);
                return true;
            },
            [&](const CardLoopback& loop) {
                softcard::SetLoopback(card, loop.on);
                report = board + ": outputs " + (loop.on ? "are now looped back to the inputs" : "are no longer looped back");
                return true;
            },
            [&](const CardComm& comm) {
                softcard::SetCommBit(card, comm.mode);
                report = board + ": communication bit " +
                         (comm.mode == softcard::CommBit::On    ? "on"
                          : comm.mode == softcard::CommBit::Off ? "off"
                                                                : "follows host ready");
                return true;
            },
            [&](const CardFail& fail) {
                softcard::FailCall(fail.call, fail.code, fail.nth, fail.times);
                report = std::string("soft card: ") + softcard::CallName(fail.call) + " answers " +
                         std::to_string(fail.code) + " for " + Times(fail.nth, fail.times);
                return true;
            },
            [&](const CardHeal&) {
                softcard::ClearFaults();
                report = "soft card: no call fails any more";
                return true;
            },
            [&](const CardSlaveDiag& diag) {
                if (diag.absent) {
                    RemoveSlave(card, diag.slave);
                    report = board + ": no slave " + std::to_string(diag.slave) + " on the bus";
                    return true;
                }
                if (!SetSlaveDiagnosis(card, diag.slave, diag.bytes, report)) return false;
                report = board + ": slave " + std::to_string(diag.slave) + " answers " +
                         std::to_string(diag.bytes.size()) + " diagnostic bytes";
                return true;
            },
            [&](const auto&) {
                report.clear();
                return true;
            },
        },
        action);
}

std::vector<std::uint8_t> AreaBytes(bool input, unsigned card, std::uint32_t offset, std::size_t count) {
    const auto area = input ? softcard::InputArea(card) : softcard::OutputArea(card);
    const std::size_t begin = std::min<std::size_t>(offset, area.size());
    const std::size_t end = std::min(begin + count, area.size());
    return {area.begin() + static_cast<std::ptrdiff_t>(begin), area.begin() + static_cast<std::ptrdiff_t>(end)};
}

}  // namespace nuvhost
