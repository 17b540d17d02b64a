#include "driver_host.hpp"

#include "palkit.hpp"

namespace nuvhost {

DriverHost::DriverHost(NuvMainEntry entry, std::int32_t instance, std::function<void(const HostMessage&)> onMessage)
    : entry_(entry), instance_(instance), onMessage_(std::move(onMessage)) {
    AllocateContext(rizuz::kContextSize);
    PalkitSetSink(&DriverHost::Receive, this);
}

DriverHost::~DriverHost() { PalkitSetSink(nullptr, nullptr); }

void DriverHost::AllocateContext(std::int32_t announcedSize) {
    if (contextInUse_) return;
    contextSize_ = announcedSize > 0 ? announcedSize : 0;
    context_.assign((static_cast<std::size_t>(contextSize_) + 7) / 8, 0);
}

unsigned DriverHost::Card() const {
    if (static_cast<std::size_t>(contextSize_) < sizeof(rizuz::DriverContext)) return 0;
    return reinterpret_cast<const rizuz::DriverContext*>(context_.data())->card;
}

std::int32_t DriverHost::Call(std::uint32_t function, void* params) {
    messages_.clear();
    if (function != 14) contextInUse_ = true;  // function 14 never looks at the context
    auto* context = context_.empty() ? nullptr : reinterpret_cast<rizuz::DriverContext*>(context_.data());
    rizuz::DriverRequest request{context, function, instance_, 0, params};
    return entry_(&request);
}

void DriverHost::Receive(int msgClass, const char* text, void* self) {
    auto* host = static_cast<DriverHost*>(self);
    host->messages_.push_back({msgClass, text});
    if (host->onMessage_) host->onMessage_(host->messages_.back());
}

}  // namespace nuvhost
