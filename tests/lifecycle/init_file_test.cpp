// The init file: its name, its three keys and everything reported about them.
#include <filesystem>
#include <string>
#include <vector>

#include "lifecycle/init_file.hpp"
#include "lifecycle_fixture.hpp"

namespace rizuz::testing {
namespace {

using Texts = std::vector<std::string>;

const std::string kFile = "RIZUZ01.INT";

enum Key { kCard, kSwap, kConvert, kNoKey };

const char* const kNotFound[] = {
    "RIZUZ> Could not find parameter CARD in Init file RIZUZ01.INT....",
    "RIZUZ> Could not find parameter SWAP in Init file RIZUZ01.INT....",
    "RIZUZ> Could not find parameter CONVERT in Init file RIZUZ01.INT....",
};
const char* const kUsingDefault[] = {
    "RIZUZ> ....Using default: CARD=0 (CardNumber 0)",
    "RIZUZ> ....Using default: SWAP=0 (No swapping, Intel format)",
    "RIZUZ> ....Using default: CONVERT=0 (No conversion of floating points data)",
};

Texts Opened() { return {"RIZUZ> Opening init file " + kFile, "RIZUZ> Init file " + kFile + " opened"}; }

Texts Skipped(const std::string& line, int number) {
    return {"RIZUZ> Skipping unrecognized line " + line + " (Line number:" + std::to_string(number) +
            ") in Init file " + kFile};
}

Texts MissingAll() {
    Texts texts;
    for (int k = kCard; k <= kConvert; ++k) texts.insert(texts.end(), {kNotFound[k], kUsingDefault[k]});
    return texts;
}

Texts operator+(Texts a, const Texts& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class InitFileTest : public LifecycleTest {
protected:
    // Reads `bytes` as the init file of instance 1, with every setting on before.
    void Read(const std::string& bytes) {
        ScratchDirectory::Write(kFile, bytes);
        context().card = 3;
        context().swap = 1;
        context().convert = 1;
        ClearMessages();
        ReadInitFile(context(), 1);
    }
    std::uint8_t Setting(Key key) {
        switch (key) {
            case kCard: return context().card;
            case kSwap: return context().swap;
            case kConvert: return context().convert;
            case kNoKey: break;
        }
        return 0;
    }
    void ExpectSettings(int card, int swap, int convert) {
        EXPECT_EQ(context().card, card);
        EXPECT_EQ(context().swap, swap);
        EXPECT_EQ(context().convert, convert);
    }
    ScratchDirectory scratch_;
};

TEST_F(InitFileTest, NoFileReportsTheDefaults) {
    context().card = 3;
    context().swap = 1;
    context().convert = 1;
    ReadInitFile(context(), 1);
    const Texts expected = {
        "RIZUZ> Opening init file RIZUZ01.INT",
        "RIZUZ> Initialisation file RIZUZ01.INT not found - using default:",
        "RIZUZ> CARD    (Card Number)                              set to 0",
        "RIZUZ> SWAP    (Allows usage of Motorola format)          set to off",
        "RIZUZ> CONVERT (Convert floating point to Siemens format) set to off",
    };
    EXPECT_EQ(MessageTexts(), expected);
    for (std::size_t line = 2; line < expected.size(); ++line) {  // the columns the host's log lines up
        EXPECT_EQ(expected[line].find('('), 15u);
        EXPECT_EQ(expected[line].find("set to"), 58u);
    }
    for (const auto& m : Messages()) EXPECT_EQ(m.msgClass, kEvent);
    ExpectSettings(0, 0, 0);
}

TEST_F(InitFileTest, FilesWithoutKeysReportEveryKeyMissing) {
    for (const char* bytes : {"", "; comment\n\n;CARD = 2\n", "\r\n;SWAP = 1\r\n\r\n"}) {
        SCOPED_TRACE(bytes);
        Read(bytes);
        EXPECT_EQ(MessageTexts(), Opened() + MissingAll());
        ExpectSettings(0, 0, 0);
    }
}

TEST_F(InitFileTest, EachKeyLineIsAcceptedRefusedOrSkipped) {
    enum Outcome { kFound, kWrong, kSkipped };
    struct Case {
        const char* line;
        Key key;
        Outcome outcome;
        int value;            // the setting afterwards
        const char* message;  // for kFound and kWrong
    };
    const Case cases[] = {
        {"CARD = 2", kCard, kFound, 2, "RIZUZ> Detected configuration for card 2"},
        {"CARD=0", kCard, kFound, 0, "RIZUZ> Detected configuration for card 0"},
        {"CARD   =   3 and a remark", kCard, kFound, 3, "RIZUZ> Detected configuration for card 3"},
        {"CARD\t=\t+1", kCard, kFound, 1, "RIZUZ> Detected configuration for card 1"},
        {"CARD = 4", kCard, kWrong, 0, "RIZUZ> Incorrect value 4 for parameter CARD (Range:0-3)..."},
        {"CARD = 5", kCard, kWrong, 0, "RIZUZ> Incorrect value 5 for parameter CARD (Range:0-3)..."},
        {"CARD = -1", kCard, kWrong, 0, "RIZUZ> Incorrect value -1 for parameter CARD (Range:0-3)..."},
        // Too large for 32 bits: out of range, shown at the limit.
        {"CARD = 99999999999", kCard, kWrong, 0,
         "RIZUZ> Incorrect value 2147483647 for parameter CARD (Range:0-3)..."},
        {"CARD = -99999999999", kCard, kWrong, 0,
         "RIZUZ> Incorrect value -2147483648 for parameter CARD (Range:0-3)..."},
        {"SWAP = 1", kSwap, kFound, 1, "RIZUZ> Detected configuration for swapping data (Motorola format)"},
        {"SWAP=0", kSwap, kFound, 0, "RIZUZ> Detected configuration for NO swapping of data (Intel format)"},
        {"SWAP = 2", kSwap, kWrong, 0, "RIZUZ> Incorrect value 2 for parameter SWAP (Range:0/1)..."},
        {"SWAP = 257", kSwap, kWrong, 0, "RIZUZ> Incorrect value 257 for parameter SWAP (Range:0/1)..."},
        {"SWAP = -1", kSwap, kWrong, 0, "RIZUZ> Incorrect value -1 for parameter SWAP (Range:0/1)..."},
        {"CONVERT = 1", kConvert, kFound, 1, "RIZUZ> Detected configuration for converting floating points values"},
        {"CONVERT =0", kConvert, kFound, 0,
         "RIZUZ> Detected configuration for NO conversion of floating points values"},
        {"CONVERT = 2", kConvert, kWrong, 0, "RIZUZ> Incorrect value 2 for parameter CONVERT (Range:0/1)..."},
        {"card = 1", kNoKey, kSkipped, 0, nullptr},
        {"Swap = 1", kNoKey, kSkipped, 0, nullptr},
        {" CARD = 1", kNoKey, kSkipped, 0, nullptr},
        {"\tCONVERT = 1", kNoKey, kSkipped, 0, nullptr},
        {"CARD = x", kNoKey, kSkipped, 0, nullptr},
        {"CARD =", kNoKey, kSkipped, 0, nullptr},
        {"CARD 1", kNoKey, kSkipped, 0, nullptr},
        {"CARDS = 1", kNoKey, kSkipped, 0, nullptr},
        {"SWAP = - 1", kNoKey, kSkipped, 0, nullptr},
        {"XYZ", kNoKey, kSkipped, 0, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        Read(std::string(c.line) + "\n");
        Texts expected = Opened();
        if (c.outcome == kSkipped) {
            expected = expected + Skipped(c.line, 1);
        } else {
            expected.push_back(c.message);
        }
        for (int k = kCard; k <= kConvert; ++k) {
            if (k == c.key && c.outcome == kFound) continue;
            if (k != c.key) expected.push_back(kNotFound[k]);
            expected.push_back(kUsingDefault[k]);
        }
        EXPECT_EQ(MessageTexts(), expected);
        for (int k = kCard; k <= kConvert; ++k) {
            EXPECT_EQ(Setting(static_cast<Key>(k)), k == c.key ? c.value : 0) << "key " << k;
        }
    }
}

TEST_F(InitFileTest, TheLastLineOfAKeyDecidesAndKeysAreIndependent) {
    struct Case {
        const char* bytes;
        int card, swap, convert;
        Texts lines;    // after the opened message
        Texts defaults; // at the end
    };
    const Case cases[] = {
        {"CARD = 2\nCARD = 7\n", 0, 0, 0,
         {"RIZUZ> Detected configuration for card 2", "RIZUZ> Incorrect value 7 for parameter CARD (Range:0-3)..."},
         {kUsingDefault[kCard], kNotFound[kSwap], kUsingDefault[kSwap], kNotFound[kConvert],
          kUsingDefault[kConvert]}},
        {"CARD = 7\nCARD = 2\n", 2, 0, 0,
         {"RIZUZ> Incorrect value 7 for parameter CARD (Range:0-3)...", "RIZUZ> Detected configuration for card 2"},
         {kNotFound[kSwap], kUsingDefault[kSwap], kNotFound[kConvert], kUsingDefault[kConvert]}},
        {"CONVERT = 1\nSWAP = 0\nCARD = 1\n", 1, 0, 1,
         {"RIZUZ> Detected configuration for converting floating points values",
          "RIZUZ> Detected configuration for NO swapping of data (Intel format)",
          "RIZUZ> Detected configuration for card 1"},
         {}},
        {"SWAP = 1\nSWAP = 0\n", 0, 0, 0,
         {"RIZUZ> Detected configuration for swapping data (Motorola format)",
          "RIZUZ> Detected configuration for NO swapping of data (Intel format)"},
         {kNotFound[kCard], kUsingDefault[kCard], kNotFound[kConvert], kUsingDefault[kConvert]}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        Read(c.bytes);
        EXPECT_EQ(MessageTexts(), Opened() + c.lines + c.defaults);
        ExpectSettings(c.card, c.swap, c.convert);
    }
}

TEST_F(InitFileTest, SkippedLinesAreShownWithTheirLineNumber) {
    struct Case {
        std::string bytes;
        Texts skipped;
    };
    const std::string longLine(300, 'A');
    const std::string almostFull(254, 'B');
    const Case cases[] = {
        {"; comment\n\nXYZ\n", Skipped("XYZ", 3)},
        // CR LF is one line end; an empty CR LF line is an empty line.
        {"CARD = 1\r\n\r\nXYZ\r\n", Skipped("XYZ", 3)},
        // A long line arrives in pieces of 255 characters, each a line of its own.
        {longLine + "\nXYZ\n", Skipped(longLine.substr(0, 255), 1) + Skipped(longLine.substr(255), 2) + Skipped("XYZ", 3)},
        // 254 characters and CR LF fill the buffer exactly, as one line.
        {almostFull + "\r\nXYZ\r\n", Skipped(almostFull, 1) + Skipped("XYZ", 2)},
        // The last line needs no line end and loses no character.
        {"SWAP = 1\nXYZ", Skipped("XYZ", 2)},
        // A lone CR is not a line end.
        {"AB\rC\n", Skipped("AB\rC", 1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes.substr(0, 40));
        Read(c.bytes);
        Texts texts = MessageTexts();
        Texts skipped;
        for (const auto& text : texts) {
            if (text.rfind("RIZUZ> Skipping", 0) == 0) skipped.push_back(text);
        }
        EXPECT_EQ(skipped, c.skipped);
    }
    // The CR LF file still found its key.
    Read("CARD = 1\r\n");
    EXPECT_EQ(context().card, 1);
}

TEST_F(InitFileTest, FileNameComesFromTheSignedInstance) {
    const struct {
        std::int32_t instance;
        const char* name;
    } cases[] = {{1, "RIZUZ01.INT"}, {0, "RIZUZ00.INT"}, {12, "RIZUZ12.INT"}, {123, "RIZUZ123.INT"},
                 {-1, "RIZUZ-1.INT"}, {-12, "RIZUZ-12.INT"}, {INT32_MIN, "RIZUZ-2147483648.INT"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchDirectory::Write(c.name, "CARD = 3\n");
        context().card = 0;
        ClearMessages();
        ReadInitFile(context(), c.instance);
        EXPECT_EQ(context().card, 3);
        const Texts texts = MessageTexts();
        ASSERT_GE(texts.size(), 2u);
        EXPECT_EQ(texts[0], std::string("RIZUZ> Opening init file ") + c.name);
        EXPECT_EQ(texts[1], std::string("RIZUZ> Init file ") + c.name + " opened");
        std::filesystem::remove(c.name);
    }
}

TEST_F(InitFileTest, TheFileIsAlwaysClosed) {
    auto openFiles = [] {
        std::size_t count = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) ++count;
        return count;
    };
    Read("CARD = 1\n");  // the first read may open what the C library keeps for itself
    const std::size_t before = openFiles();
    for (const char* bytes : {"CARD = 1\nSWAP = 9\nXYZ\n", ""}) {
        for (int round = 0; round < 20; ++round) Read(bytes);
    }
    std::filesystem::remove(kFile);
    for (int round = 0; round < 20; ++round) ReadInitFile(context(), 1);
    EXPECT_EQ(openFiles(), before);
}

}  // namespace
}  // namespace rizuz::testing
