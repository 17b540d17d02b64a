#include "data/exchange_image.hpp"

#include "data/transfer_checks.hpp"
#include "rizuz/card_library.hpp"
#include "rizuz/host_log.hpp"
#include "rizuz/memory_type.hpp"

namespace rizuz {
namespace {

// The card library counts offsets in bytes and takes them as 16-bit values;
// the locator counts them in units of the element width.
std::uint16_t ByteOffset(const GateLocator& locator) {
    const auto offset = static_cast<std::uint16_t>(locator.offset);
    switch (locator.width) {
        case 16: return static_cast<std::uint16_t>(offset * 2u);
        case 32: return static_cast<std::uint16_t>(offset * 4u);
        default: return offset;
    }
}

}  // namespace

NuvResult ExchangeImage(std::uint16_t writeSize, GateIo& io, DriverContext& context) {
    const std::uint32_t memoryType = MemoryTypeOf(io.locator.typeWord);
    const unsigned elementSize = TypeSizeOf(memoryType);
    // Every handler has passed this bound already; it stays here so that no
    // request can make the card move more than the staging buffers hold.
    if (!AdmitTransfer("ExchangeImage", writeSize, 1, 0)) return kRefused;
    if (writeSize == 0 && !AdmitTransfer("ExchangeImage", io.count, elementSize, 0)) return kRefused;

    const auto readSize = static_cast<std::uint16_t>(static_cast<std::uint32_t>(io.count) * elementSize);
    const std::uint16_t card = context.card;
    const std::uint16_t offset = ByteOffset(io.locator);
    CardCode code = 0;
    if (writeSize != 0) {
        code = DevExchangeIO(card, offset, writeSize, context.sendBuffer, 0, 0, nullptr, context.timeout);
    } else if (AreaOf(io.locator.typeWord) == 'S') {
        code = DevReadSendData(card, offset, readSize, context.receiveBuffer);
    } else {
        code = DevExchangeIO(card, 0, 0, nullptr, offset, readSize, context.receiveBuffer, context.timeout);
    }
    if (code == 0) return kDone;
    // One wording for all three transfers, reads included.
    err(kEvent, "RIZUZ> DevExchangeIO in send request failed rc = %d", static_cast<int>(code));
    return kFailed;
}

}  // namespace rizuz
