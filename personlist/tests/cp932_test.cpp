#include "personlist/list_file.h"

#include "test_files.h"

#include <gtest/gtest.h>

namespace personlist {
namespace {

using testing::hexBytes;

// What a field holds of a text, without the padding.
std::string encodeAll(std::string_view text)
{
    const FieldBytes field = encodeField(text);
    std::string bytes(field.data(), field.size());
    return bytes.substr(0, bytes.find_last_not_of(' ') + 1);
}

struct KnownCharacter {
    const char* label;
    const char* typed;     // what the user typed (UTF-8)
    const char* bytes;     // its CP932 bytes in a list file
    const char* readBack;  // what opening the file shows
};

// One known byte sequence per character that a converter is likely to get
// wrong: the duplicates among the NEC and IBM extensions, the characters Linux
// input methods type in place of Windows' ones, and the single bytes.
const KnownCharacter knownCharacters[] = {
    {"kanji", "山田", "8E 52 93 63", "山田"},
    {"full-width tilde", "～", "81 60", "～"},
    {"wave dash typed by input methods", "〜", "81 60", "～"},
    {"circled one, NEC row 13", "①", "87 40", "①"},
    {"parenthesised kabu, NEC row 13", "㈱", "87 8A", "㈱"},
    {"roman numeral one, NEC row 13", "Ⅰ", "87 54", "Ⅰ"},
    {"small roman numeral one, IBM row", "ⅰ", "FA 40", "ⅰ"},
    {"taka with ladder, IBM row", "髙", "FB FC", "髙"},
    {"because, JIS row rather than NEC or IBM", "∵", "81 E6", "∵"},
    {"nearly equal, JIS row rather than NEC", "≒", "81 E0", "≒"},
    {"half-width katakana a", "ｱ", "B1", "ｱ"},
    {"backslash stays a backslash", "\\", "5C", "\\"},
    {"tilde stays a tilde", "~", "7E", "~"},
    {"minus sign typed by input methods", "−", "81 7C", "－"},
    {"double vertical line typed by input methods", "‖", "81 61", "∥"},
    {"em dash typed by input methods", "—", "81 5C", "―"},
    {"cent sign typed by input methods", "¢", "81 91", "￠"},
    {"pound sign typed by input methods", "£", "81 92", "￡"},
    {"not sign typed by input methods", "¬", "81 CA", "￢"},
    {"full-width space", "山　田", "8E 52 81 40 93 63", "山　田"},
    {"user-defined area", "\uE000", "F0 40", "\uE000"},
    {"Windows single byte A0", "\uF8F0", "A0", "\uF8F0"},
    {"Windows single byte FF", "\uF8F3", "FF", "\uF8F3"},
    {"hangul has no CP932 form", "한", "3F", "?"},
    {"emoji has no CP932 form", "😀", "3F", "?"},
};

TEST(Cp932, KnownCharactersAreWrittenAndReadAsWindowsDoes)
{
    for (const KnownCharacter& c : knownCharacters) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(encodeAll(c.typed), hexBytes(c.bytes));
        EXPECT_EQ(decodeField(hexBytes(c.bytes)), c.readBack);
    }
}

}  // namespace
}  // namespace personlist
