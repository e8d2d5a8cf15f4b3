#include "textcodec/cp932.h"
#include "textcodec/utf8.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace textcodec {
namespace {

std::string encodeAll(std::string_view text)
{
    std::string bytes;
    for (std::size_t at = 0; at < text.size();) {
        const utf8::Character c = utf8::characterAt(text, at);
        const cp932::Encoded e = cp932::encode(c.value);
        bytes.append(e.bytes, e.size);
        at += c.length;
    }
    return bytes;
}

// "81 60" as the two bytes it names.
std::string hexBytes(std::string_view hex)
{
    std::string bytes;
    for (std::size_t at = 0; at + 1 < hex.size(); at += 3) {
        bytes += static_cast<char>(std::stoi(std::string(hex.substr(at, 2)), nullptr, 16));
    }
    return bytes;
}

TEST(Cp932, EveryDecodedCharacterIsWrittenBackToBytesThatDecodeToIt)
{
    // Over the whole double-byte table: writing what was read may pick another
    // of several equal byte pairs (NEC and IBM duplicates), but must never
    // change the character.
    int pairs = 0;
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            const std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
            const std::string text = cp932::decode(bytes);
            if (text == "\uFFFD" || text.empty() || text.size() > 3 || static_cast<unsigned char>(text[0]) < 0x80) {
                continue;
            }
            ++pairs;
            ASSERT_EQ(cp932::decode(encodeAll(text)), text) << std::hex << lead << ' ' << trail;
        }
    }
    // JIS X 0208, the NEC and IBM extensions and the user-defined area.
    EXPECT_GT(pairs, 9000);
}

TEST(Cp932, DamagedBytesDecodeToReplacementCharactersWithoutReadingOn)
{
    const struct {
        const char* label;
        const char* bytes;
        const char* text;
    } cases[] = {
        {"lead byte at the end is dropped", "41 81", "A"},
        {"lead byte alone", "E0", ""},
        {"lead byte before an ASCII digit", "81 31", "\uFFFD" "1"},
        {"lead byte before DEL", "81 7F", "\uFFFD\x7F"},
        {"lead byte before FF", "81 FF", "\uFFFD\uF8F3"},
        {"empty cell of the table", "85 40", "\uFFFD"},
        {"unassigned row EB", "EB 40 41", "\uFFFD" "A"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(cp932::decode(hexBytes(c.bytes)), c.text);
    }
}

}  // namespace
}  // namespace textcodec
