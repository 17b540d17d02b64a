// The host's side of the boundary: one driver instance with its context block,
// requests made through NuvMain, and the messages the driver sends while a
// request runs (taken from the PALKIT stand-in).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "driver_loader.hpp"

namespace nuvhost {

struct HostMessage {
    int msgClass;
    std::string text;
};

class DriverHost {
public:
    // `onMessage` sees every message as it arrives (nuvhost prints it at once,
    // so it lands between the card calls of a trace).
    DriverHost(NuvMainEntry entry, std::int32_t instance, std::function<void(const HostMessage&)> onMessage);
    ~DriverHost();
    DriverHost(const DriverHost&) = delete;
    DriverHost& operator=(const DriverHost&) = delete;

    // One request; the messages it caused are in Messages() until the next.
    std::int32_t Call(std::uint32_t function, void* params);
    const std::vector<HostMessage>& Messages() const { return messages_; }

    // The host allocates the context in the size the driver announced in
    // function 14, before the context's first use; until then it holds the
    // size the driver is documented to announce. A context in use stays as it is.
    void AllocateContext(std::int32_t announcedSize);
    std::int32_t ContextSize() const { return contextSize_; }
    // The card number the driver took from its init file (0 before init).
    unsigned Card() const;

private:
    static void Receive(int msgClass, const char* text, void* self);

    NuvMainEntry entry_;
    std::int32_t instance_;
    std::function<void(const HostMessage&)> onMessage_;
    std::vector<std::uint64_t> context_;  // 8-byte aligned, as the host's allocator gives it
    std::int32_t contextSize_ = 0;
    bool contextInUse_ = false;
    std::vector<HostMessage> messages_;
};

}  // namespace nuvhost
