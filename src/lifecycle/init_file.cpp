// Reading the init file: the three keys, what is reported for each line and,
// at the end, for each key that was missing or wrong.
#include "lifecycle/init_file.hpp"

#include <cstddef>
#include <cstdio>
#include <cstring>

#include "lifecycle/key_line.hpp"
#include "rizuz/host_log.hpp"

namespace rizuz {
namespace {

// A line arrives in a buffer of this size: at most 255 characters, line end
// included; the rest of a longer line arrives as the next line.
constexpr std::size_t kLineBufferSize = 256;
// "RIZUZ-2147483648.INT" is the longest name an instance number gives.
constexpr std::size_t kFileNameSize = 32;

enum class KeyStatus {
    NotSeen,
    Found,  // the last line of the key had an accepted value
    Wrong,  // the last line of the key had a value out of range
};

// One key of the file, in the order the keys are tried on each line. Every
// message is a literal of its own, so each key carries small senders.
struct Key {
    const char* name;
    std::uint8_t DriverContext::*setting;
    std::int32_t highest;  // accepted values are 0 to highest
    void (*detected)(std::int32_t value);
    void (*incorrect)(std::int32_t value);
    void (*notFound)(const char* fileName);
    void (*usingDefault)();
};

constexpr Key kKeys[] = {
    {"CARD", &DriverContext::card, 3,
     [](std::int32_t value) { err(kEvent, "RIZUZ> Detected configuration for card %d", static_cast<int>(value)); },
     [](std::int32_t value) {
         err(kEvent, "RIZUZ> Incorrect value %d for parameter CARD (Range:0-3)...", static_cast<int>(value));
     },
     [](const char* fileName) { err(kEvent, "RIZUZ> Could not find parameter CARD in Init file %s....", fileName); },
     [] { err(kEvent, "RIZUZ> ....Using default: CARD=0 (CardNumber 0)"); }},
    {"SWAP", &DriverContext::swap, 1,
     [](std::int32_t value) {
         if (value == 1) {
             err(kEvent, "RIZUZ> Detected configuration for swapping data (Motorola format)");
         } else {
             err(kEvent, "RIZUZ> Detected configuration for NO swapping of data (Intel format)");
         }
     },
     [](std::int32_t value) {
         err(kEvent, "RIZUZ> Incorrect value %d for parameter SWAP (Range:0/1)...", static_cast<int>(value));
     },
     [](const char* fileName) { err(kEvent, "RIZUZ> Could not find parameter SWAP in Init file %s....", fileName); },
     [] { err(kEvent, "RIZUZ> ....Using default: SWAP=0 (No swapping, Intel format)"); }},
    {"CONVERT", &DriverContext::convert, 1,
     [](std::int32_t value) {
         if (value == 1) {
             err(kEvent, "RIZUZ> Detected configuration for converting floating points values");
         } else {
             err(kEvent, "RIZUZ> Detected configuration for NO conversion of floating points values");
         }
     },
     [](std::int32_t value) {
         err(kEvent, "RIZUZ> Incorrect value %d for parameter CONVERT (Range:0/1)...", static_cast<int>(value));
     },
     [](const char* fileName) {
         err(kEvent, "RIZUZ> Could not find parameter CONVERT in Init file %s....", fileName);
     },
     [] { err(kEvent, "RIZUZ> ....Using default: CONVERT=0 (No conversion of floating points data)"); }},
};
constexpr std::size_t kKeyCount = sizeof kKeys / sizeof kKeys[0];

using KeyStatuses = KeyStatus[kKeyCount];

// Reads one line as a text-mode fgets into the line buffer does: up to and
// including the line end, at most kLineBufferSize - 1 characters. CR LF reads
// as one line end on every platform, also where the C library leaves it as two
// characters. False at the end of the file (or on a read error) with nothing read.
bool ReadLine(std::FILE* file, char (&line)[kLineBufferSize]) {
    std::size_t length = 0;
    while (length < kLineBufferSize - 1) {
        int c = std::fgetc(file);
        if (c == EOF) break;
        if (c == '\r') {
            const int next = std::fgetc(file);
            if (next == '\n') {
                c = '\n';
            } else if (next != EOF) {
                std::ungetc(next, file);
            }
        }
        line[length++] = static_cast<char>(c);
        if (c == '\n') break;
    }
    line[length] = '\0';
    return length > 0;
}

// The line as the user wrote it, for the log: without its line end. A piece of
// a long line and a last line without line end keep all their characters.
void DropLineEnd(char* line) {
    const std::size_t length = std::strlen(line);
    if (length > 0 && line[length - 1] == '\n') line[length - 1] = '\0';
}

void HandleLine(char* line, unsigned lineNumber, const char* fileName, DriverContext& context,
                KeyStatuses& statuses) {
    if (line[0] == ';' || line[0] == '\n') return;  // comment or empty line
    for (std::size_t k = 0; k < kKeyCount; ++k) {
        const Key& key = kKeys[k];
        const scan::Signed32 number = MatchKeyLine(line, key.name);
        if (!number.ok) continue;
        if (number.value >= 0 && number.value <= key.highest) {
            context.*key.setting = static_cast<std::uint8_t>(number.value);
            statuses[k] = KeyStatus::Found;
            key.detected(number.value);
        } else {
            context.*key.setting = 0;
            statuses[k] = KeyStatus::Wrong;
            key.incorrect(number.value);
        }
        return;
    }
    DropLineEnd(line);
    err(kEvent, "RIZUZ> Skipping unrecognized line %s (Line number:%d) in Init file %s", line,
        static_cast<int>(lineNumber), fileName);
}

void ReportDefaults(const KeyStatuses& statuses, const char* fileName) {
    for (std::size_t k = 0; k < kKeyCount; ++k) {
        if (statuses[k] == KeyStatus::Found) continue;
        if (statuses[k] == KeyStatus::NotSeen) kKeys[k].notFound(fileName);
        kKeys[k].usingDefault();
    }
}

void ReportNoFile(const char* fileName) {
    err(kEvent, "RIZUZ> Initialisation file %s not found - using default:", fileName);
    err(kEvent, "RIZUZ> CARD    (Card Number)                              set to 0");
    err(kEvent, "RIZUZ> SWAP    (Allows usage of Motorola format)          set to off");
    err(kEvent, "RIZUZ> CONVERT (Convert floating point to Siemens format) set to off");
}

}  // namespace

void ReadInitFile(DriverContext& context, std::int32_t instance) {
    for (const Key& key : kKeys) context.*key.setting = 0;

    char fileName[kFileNameSize];
    std::snprintf(fileName, sizeof fileName, "RIZUZ%02d.INT", static_cast<int>(instance));
    err(kEvent, "RIZUZ> Opening init file %s", fileName);

    std::FILE* file = std::fopen(fileName, "r");
    if (file == nullptr) {
        ReportNoFile(fileName);
        return;
    }
    err(kEvent, "RIZUZ> Init file %s opened", fileName);

    KeyStatuses statuses{};
    char line[kLineBufferSize];
    unsigned lineNumber = 0;
    while (ReadLine(file, line)) HandleLine(line, ++lineNumber, fileName, context, statuses);
    ReportDefaults(statuses, fileName);
    std::fclose(file);
}

}  // namespace rizuz
