#include "textcodec/cp932.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>

namespace textcodec {
namespace {

constexpr UINT CodePage932 = 932;

// Where the program parts from Windows on purpose: what the program gives,
// then what Windows gives ("none" for no character or no bytes).
struct Choice {
    const char* what;
    const char* program;
    const char* windows;
    bool onlyUnderWine = false;
};

const Choice documentedChoices[] = {
    // What Linux input methods type, written as Windows writes the character.
    {"encode U+00A2", "81 91", "none"}, {"encode U+00A3", "81 92", "none"}, {"encode U+00AC", "81 CA", "none"},
    {"encode U+2014", "81 5C", "none"}, {"encode U+2016", "81 61", "none"}, {"encode U+2212", "81 7C", "none"},
    {"encode U+301C", "81 60", "none"},
    // The yen sign and the overline as their JIS-Roman bytes, as glibc has them.
    {"encode U+00A5", "5C", "none"}, {"encode U+203E", "7E", "none"},
    // wine differs: Windows reads these bytes as the program does (and wine, too,
    // writes the characters as these bytes); wine reads them as no character.
    {"decode A0", "U+F8F0", "none", true}, {"decode FD", "U+F8F1", "none", true},
    {"decode FE", "U+F8F2", "none", true}, {"decode FF", "U+F8F3", "none", true},
};

std::string hex(const char* format, unsigned value)
{
    char text[16];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string hexBytes(const char* bytes, int n)
{
    std::string text = n > 0 ? "" : "none";
    for (int i = 0; i < n; ++i) {
        text += hex(i == 0 ? "%02X" : " %02X", static_cast<unsigned char>(bytes[i]));
    }
    return text;
}

// The one UTF-16 character that bytes stand for, as the program and as Windows
// read them; "none" for no character.
std::pair<std::string, std::string> decodings(const std::string& bytes)
{
    const auto character = [](const wchar_t* text, int n) {
        return n == 0 ? "none" : n == 1 ? hex("U+%04X", text[0]) : "several";
    };
    const std::string utf8 = cp932::decode(bytes);
    wchar_t ours[4] = {};
    wchar_t windows[4] = {};
    return {character(ours, utf8 == "\uFFFD" ? 0 : MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), ours, 4)),
            character(windows, MultiByteToWideChar(CodePage932, MB_ERR_INVALID_CHARS, bytes.data(), int(bytes.size()),
                                                   windows, 4))};
}

TEST(Cp932, MatchesWindowsCodePage932OnWindows)
{
    std::map<std::string, std::pair<std::string, std::string>> differences;
    const auto compare = [&](const std::string& what, const std::string& program, const std::string& windows) {
        if (program != windows) {
            differences[what] = {program, windows};
        }
    };
    const auto compareDecoding = [&](const std::string& bytes) {
        const auto [program, windows] = decodings(bytes);
        compare("decode " + hexBytes(bytes.data(), int(bytes.size())), program, windows);
    };
    for (unsigned b = 0; b < 0x100; ++b) {
        const bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
        compare(hex("lead byte %02X", b), lead ? "lead" : "single",
                IsDBCSLeadByteEx(CodePage932, static_cast<BYTE>(b)) ? "lead" : "single");
        if (!lead) {
            compareDecoding(std::string(1, char(b)));
        }
        for (unsigned trail = 0x40; lead && trail <= 0xFC; ++trail) {
            if (trail != 0x7F) {
                compareDecoding({char(b), char(trail)});
            }
        }
    }
    for (unsigned c = 0; c <= 0xFFFF; ++c) {
        if (c < 0xD800 || c > 0xDFFF) {
            const cp932::Encoded program = cp932::encode(c);
            const wchar_t wide = static_cast<wchar_t>(c);
            char bytes[4] = {};
            BOOL usedDefault = FALSE;
            const int n = WideCharToMultiByte(CodePage932, WC_NO_BEST_FIT_CHARS, &wide, 1, bytes, 4, nullptr, &usedDefault);
            compare(hex("encode U+%04X", c), hexBytes(program.bytes, program.size), hexBytes(bytes, usedDefault ? 0 : n));
        }
    }

    for (const Choice& choice : documentedChoices) {
        SCOPED_TRACE(choice.what);
        const auto found = differences.find(choice.what);
        if (found == differences.end()) {
            EXPECT_TRUE(choice.onlyUnderWine) << "no longer differs";
            continue;
        }
        EXPECT_EQ(found->second, std::make_pair(std::string(choice.program), std::string(choice.windows)));
        differences.erase(found);
    }
    for (const auto& [what, results] : differences) {
        ADD_FAILURE() << what << ": program " << results.first << ", Windows " << results.second;
    }
}

}  // namespace
}  // namespace textcodec
