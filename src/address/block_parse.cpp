// Function 4: the definition of a block, a run of elements that is read and
// written in one transfer. The address is parsed like a single gate's; the
// block must then fit the transfer.
#include "address/address_text.hpp"
#include "address/memory_type_rules.hpp"
#include "address/parse.hpp"
#include "address/string_length.hpp"
#include "host/handlers.hpp"
#include "rizuz/host_log.hpp"
#include "rizuz/memory_type.hpp"

namespace rizuz {
namespace {

// A block travels through one of the context's staging buffers.
constexpr std::int64_t kLargestBlockBytes = static_cast<std::int64_t>(kStagingBufferSize);
// offset + count must stay at or below this: a D block ends at byte 98 at the latest.
constexpr std::int64_t kDiagBlockEnd = 99;

NuvResult CheckBlockSize(const char* address, const GateLocator& locator, std::int32_t blockCount) {
    // Nothing of zero or fewer elements can be read or written; such a count must
    // never reach a transfer or a copy as a size.
    if (blockCount < 1) {
        err(kEvent, "RIZUZ> Block parse fail, block count %d of '%s' must be at least 1", static_cast<int>(blockCount),
            address);
        return kRefused;
    }
    // Widened: the host's count may be as large as a 32-bit word holds.
    if (locator.typeWord == kDiagTypeWord) {
        if (std::int64_t{locator.offset} + blockCount > kDiagBlockEnd) {
            err(kEvent, "RIZUZ> Block parse fail, blocksize DIAG block '%s' out of range", address);
            return kRefused;
        }
        return kDone;
    }
    if (std::int64_t{TypeSizeOf(MemoryTypeOf(locator.typeWord))} * blockCount > kLargestBlockBytes) {
        err(kEvent, "RIZUZ> Block parse fail, total size exceeds %d", static_cast<int>(kLargestBlockBytes));
        return kRefused;
    }
    return kDone;
}

}  // namespace

NuvResult BlockParse(const DriverRequest& request) {
    char* const address = DefinitionAddress(request);
    UpperCaseInPlace(address);
    const char* const shown = ShownAddress(address);

    if (IsStringGateAddress(shown)) {
        err(kEvent, "RIZUZ> String gates can not be defined as a block.");
        return kRefused;
    }
    if (PARSE(request) != kDone) {
        err(kEvent, "RIZUZ> BlockParse() faile due to single parse fail (%s)", shown);
        return kRefused;
    }
    const GateDefinition& definition = *DefinitionOf(request);
    // Said, not refused: the limits alone decide whether a bit block is accepted.
    if (definition.locator.bit != kNoBit) err(kEvent, "RIZUZ> Special digital gates no allowed as a block");
    return CheckBlockSize(shown, definition.locator, definition.blockCount);
}

}  // namespace rizuz
