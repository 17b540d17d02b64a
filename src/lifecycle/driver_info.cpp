// Function 14: what the driver is and how large a context the host must
// allocate. The host asks before any context exists, so nothing here may look
// at request.context.
#include <array>
#include <cstddef>

#include "host/handlers.hpp"

namespace rizuz {
namespace {

// The words at 0, 16 and 28 mean something to the host only; it expects these.
constexpr std::int32_t kHostWord0 = 70;
constexpr std::int32_t kHostWord16 = 2;
constexpr std::int32_t kHostWord28 = 19;

constexpr char kShortName[] = "Hilscher CIF30";

// The banner: a box of code page 437 line-drawing characters around one line
// of text. A CR LF first, then three lines of 76 characters (the box, 68 wide
// with its corners, and 8 blanks), each ended by CR LF.
constexpr char kBoxText[] = " RIZUZ: HILSCHER CIF30 cards: Profibus DP, Interbus-S and CanOpen ";
constexpr std::size_t kBoxInside = 66;
constexpr std::size_t kBlanksAfterBox = 8;
constexpr std::size_t kBannerLength = 2 + 3 * (1 + kBoxInside + 1 + kBlanksAfterBox + 2);
static_assert(sizeof kBoxText - 1 == kBoxInside);
static_assert(kBannerLength == 236);

// Code page 437 line-drawing characters.
constexpr unsigned char kTopLeft = 0xDA;
constexpr unsigned char kTopRight = 0xBF;
constexpr unsigned char kBottomLeft = 0xC0;
constexpr unsigned char kBottomRight = 0xD9;
constexpr unsigned char kHorizontal = 0xC4;
constexpr unsigned char kVertical = 0xB3;

constexpr std::array<char, kBannerLength + 1> MakeBanner() {
    std::array<char, kBannerLength + 1> banner{};  // the last byte stays the NUL
    std::size_t at = 0;
    auto put = [&](unsigned char c) { banner[at++] = static_cast<char>(c); };
    auto lineEnd = [&] {
        put('\r');
        put('\n');
    };
    // One line of the box: its two edge characters around either the text or a rule.
    auto boxLine = [&](unsigned char left, const char* text, unsigned char right) {
        put(left);
        for (std::size_t i = 0; i < kBoxInside; ++i) {
            put(text != nullptr ? static_cast<unsigned char>(text[i]) : kHorizontal);
        }
        put(right);
        for (std::size_t i = 0; i < kBlanksAfterBox; ++i) put(' ');
        lineEnd();
    };
    lineEnd();
    boxLine(kTopLeft, nullptr, kTopRight);
    boxLine(kVertical, kBoxText, kVertical);
    boxLine(kBottomLeft, nullptr, kBottomRight);
    return banner;
}

// Constant text inside the library: the pointers handed to the host stay valid
// while the library is loaded and are the same on every call.
constexpr std::array<char, kBannerLength + 1> kBanner = MakeBanner();

}  // namespace

NuvResult GetDriverInfo(const DriverRequest& request) {
    auto& info = *static_cast<DriverInfo*>(request.params);
    info.word0 = kHostWord0;
    info.shortName = kShortName;
    info.banner = kBanner.data();
    info.contextSize = kContextSize;
    info.word16 = kHostWord16;
    info.word28 = kHostWord28;  // words 20 and 24 stay as the host set them
    return kDone;
}

}  // namespace rizuz
