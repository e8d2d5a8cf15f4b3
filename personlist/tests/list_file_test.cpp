#include "personlist/list_file.h"

#include "test_files.h"

#include <gtest/gtest.h>

#include <cctype>
#include <random>

namespace personlist {
namespace {

using testing::hexBytes;
using testing::paddedField;
using testing::readBytes;
using testing::record;
using testing::ScratchDir;
using testing::writeBytes;

std::string fieldString(std::string_view text)
{
    const FieldBytes field = encodeField(text);
    return std::string(field.data(), field.size());
}

const Person Yamada{"山田", "1960", "3", "12"};

TEST(FieldText, IsCutBeforeTheFirstCharacterThatDoesNotFitWhole)
{
    const struct {
        const char* label;
        const char* text;
        std::string field;
    } cases[] = {
        {"short text padded with blanks", "1960", paddedField("1960")},
        {"twenty single bytes fill the field with no blank", "ABCDEFGHIJKLMNOPQRST", "ABCDEFGHIJKLMNOPQRST"},
        {"twenty-one single bytes lose the last", "ABCDEFGHIJKLMNOPQRSTU", "ABCDEFGHIJKLMNOPQRST"},
        {"eleven kanji keep ten", "一二三四五六七八九十百",
         hexBytes("88 EA 93 F1 8E 4F 8E 6C 8C DC 98 5A 8E B5 94 AA 8B E3 8F 5C")},
        {"kanji straddling byte 20 is dropped, a blank takes its byte", "A一二三四五六七八九十",
         "A" + hexBytes("88 EA 93 F1 8E 4F 8E 6C 8C DC 98 5A 8E B5 94 AA 8B E3") + " "},
        {"nothing after a dropped kanji is written", "A一二三四五六七八九十B",
         "A" + hexBytes("88 EA 93 F1 8E 4F 8E 6C 8C DC 98 5A 8E B5 94 AA 8B E3") + " "},
        {"half-width katakana take one byte each", "ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅ",
         hexBytes("B1 B2 B3 B4 B5 B6 B7 B8 B9 BA BB BC BD BE BF C0 C1 C2 C3 C4")},
        {"invalid UTF-8 byte is one question mark", "A\xFF" "B", paddedField("A?B")},
        {"empty text is all blanks", "", std::string(20, ' ')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(fieldString(c.text), c.field);
    }
}

TEST(FieldText, ComesBackWithBlankRunsShortened)
{
    const struct {
        const char* label;
        std::string field;
        const char* text;
    } cases[] = {
        {"padding goes", paddedField("1960"), "1960"},
        {"single blank between words stays", paddedField("Ann Lee"), "Ann Lee"},
        {"two blanks between words become one", paddedField("Ann  Lee"), "Ann Lee"},
        {"leading blanks become one", paddedField("   Ann"), " Ann"},
        {"blanks only give the empty text", std::string(20, ' '), ""},
        {"full-width space is no blank", paddedField(hexBytes("81 40 81 40 8E 52")), "　　山"},
        {"twentieth character of a full field kept", "ABCDEFGHIJKLMNOPQRST", "ABCDEFGHIJKLMNOPQRST"},
        {"lead byte in the last byte is dropped", "ABCDEFGHIJKLMNOPQRS" + hexBytes("81"), "ABCDEFGHIJKLMNOPQRS"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(trimBlankPairs(decodeField(c.field)), c.text);
    }
}

TEST(ListFile, OpeningShowsEveryFieldAsDecodingAndTrimmingTheWholeFieldWould)
{
    // Random fields of blanks, ASCII, lead and trail bytes and half-width kana,
    // with blank runs of every length, lead bytes before blanks and at the end.
    std::mt19937 random(932);
    const unsigned char pieces[] = {0x20, 0x20, 0x20, 0x41, 0x31, 0x81, 0x8E, 0x52, 0x93, 0x63, 0xB1, 0xFC, 0x40, 0xFF};
    std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1);
    std::vector<std::string> fields;
    std::string bytes = record("2001");
    for (int i = 0; i < 2000 * 4; ++i) {
        std::string field(20, ' ');
        const std::size_t used = random() % 21;
        for (std::size_t k = 0; k < used; ++k) {
            field[k] = static_cast<char>(pieces[pick(random)]);
        }
        fields.push_back(field);
        bytes += field + std::string(20, '\0');
    }
    const ListFileContents opened = parseListFile(bytes);
    ASSERT_EQ(opened.error, std::nullopt);
    ASSERT_EQ(opened.persons.size(), 2000u);
    for (std::size_t p = 0; p < opened.persons.size(); ++p) {
        const Person& person = opened.persons[p];
        const std::string* texts[] = {&person.name, &person.year, &person.month, &person.day};
        for (std::size_t c = 0; c < 4; ++c) {
            const std::string& field = fields[p * 4 + c];
            ASSERT_EQ(*texts[c], trimBlankPairs(decodeField(field))) << "field " << p * 4 + c;
        }
    }
}

TEST(CountRecord, IsAWholeDecimalNumberWithBlanksAroundIt)
{
    EXPECT_EQ(parseCount("3"), 3u);
    EXPECT_EQ(parseCount("  12   "), 12u);
    EXPECT_EQ(parseCount("007"), 7u);
    EXPECT_EQ(parseCount("0"), 0u);
    EXPECT_EQ(parseCount(""), std::nullopt);
    EXPECT_EQ(parseCount("    "), std::nullopt);
    EXPECT_EQ(parseCount("1 2"), std::nullopt);
    EXPECT_EQ(parseCount("+3"), std::nullopt);
    EXPECT_EQ(parseCount("-3"), std::nullopt);
    EXPECT_EQ(parseCount("3.0"), std::nullopt);
    EXPECT_EQ(parseCount("３"), std::nullopt);
    // Too large for any file, but never wrapped round to a small count.
    EXPECT_GT(*parseCount("99999999999999999999999999"), 1'000'000'000'000u);
}

TEST(ListFileBytes, OnePersonIsFiveRecordsOfFieldTextAndZeroFiller)
{
    const std::string expected = record("2") + record(hexBytes("8E 52 93 63")) + record("1960") + record("3") +
                                 record("12");
    EXPECT_EQ(expected.size(), 200u);
    EXPECT_EQ(listFileBytes({Yamada}), expected);
}

TEST(ListFileBytes, AnEmptyListIsOneCountRecord)
{
    EXPECT_EQ(listFileBytes({}), record("1"));
}

TEST(ListFileBytes, TwoPersonsAreNineRecordsWithACountOfThree)
{
    const std::string bytes = listFileBytes({Yamada, {"佐藤", "1975", "11", "30"}});
    ASSERT_EQ(bytes.size(), 360u);
    EXPECT_EQ(bytes.substr(0, 40), record("3"));
    EXPECT_EQ(bytes.substr(200, 40), record(hexBytes("8D B2 93 A1")));
    EXPECT_EQ(bytes.substr(320, 40), record("30"));
}

TEST(ListFile, RoundTripKeepsEveryTextThatFitsExceptBlankRuns)
{
    const std::vector<Person> saved = {
        Yamada,
        {"～〜①㈱Ⅰ髙ｱ", "昭和35", "13", "x"},
        {"ABCDEFGHIJKLMNOPQRST", "", "", ""},
        {"一二三四五六七八九十百", "  1960", "3  ", "1  2"},
        {"山　田", "\\~", "−", "—"},
    };
    const std::vector<Person> expected = {
        Yamada,
        {"～～①㈱Ⅰ髙ｱ", "昭和35", "13", "x"},
        {"ABCDEFGHIJKLMNOPQRST", "", "", ""},
        {"一二三四五六七八九十", " 1960", "3", "1 2"},
        {"山　田", "\\~", "－", "―"},
    };
    ScratchDir dir;
    ASSERT_EQ(writeListFile(dir / "list.orx", saved), std::nullopt);
    const ListFileContents opened = readListFile(dir / "list.orx");
    ASSERT_EQ(opened.error, std::nullopt);
    EXPECT_EQ(opened.persons, expected);
}

TEST(SavedText, IsAlteredWhereAUserWouldReadAnotherText)
{
    const struct {
        const char* label;
        const char* typed;
        std::optional<std::string> saved;  // nothing: comes back as typed
    } cases[] = {
        {"kanji and kana", "山田はなこ", std::nullopt},
        {"kanji beyond the BMP", "𠮷田花子", "?田花子"},
        {"emoji", "花子😀", "花子?"},
        {"snowman", "☃", "?"},
        {"hangul", "김민준", "???"},
        {"umlauts and sharp s", "Jörg Müßig", "J?rg M??ig"},
        {"two blanks folded into one", "Ann  Lee", std::nullopt},
        {"leading and trailing blanks", "  陽子  ", std::nullopt},
        {"wave dash, minus, double bar, em dash", "〜−‖—", std::nullopt},
        {"cent, pound and not signs", "¢£¬", std::nullopt},
        {"windows form beside a lost character", "〜😀", "～?"},
        {"backslash and tilde", "\\~", std::nullopt},
        {"yen sign comes back as a backslash", "¥100", "\\100"},
        {"twenty single bytes", "ABCDEFGHIJKLMNOPQRST", std::nullopt},
        {"ten kanji", "一二三四五六七八九十", std::nullopt},
        {"cut at 20 bytes", "ABCDEFGHIJKLMNOPQRSTU", "ABCDEFGHIJKLMNOPQRST"},
        {"eleven kanji", "一二三四五六七八九十百", "一二三四五六七八九十"},
        {"cut in the middle of a two-byte character", "A一二三四五六七八九十", "A一二三四五六七八九"},
        {"cut just after a blank", "ABCDEFGHIJKLMNOPQRS T", "ABCDEFGHIJKLMNOPQRS"},
        {"only blanks past byte 20", "ABCDEFGHIJKLMNOPQRST   ", std::nullopt},
        {"invalid UTF-8", "A\xFF", "A?"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(savedTextIfAltered(c.typed), c.saved);
    }
}

TEST(SavedText, AlteredPersonsAreListedUpToTheLimitWithEachAlteredText)
{
    std::vector<Person> persons = {Yamada, {"𠮷田", "1960😀", "3", "12"}, {"Ann  Lee", "〜", "3", "12"}};
    for (int i = 0; i < 6; ++i) {
        persons.push_back({"김" + std::to_string(i), "1960", "3", "12"});
    }
    const auto altered = personsAlteredBySaving(persons, 5);
    ASSERT_EQ(altered.size(), 5u);
    EXPECT_EQ(altered[0], (std::vector<AlteredText>{{"𠮷田", "?田"}, {"1960😀", "1960?"}}));
    EXPECT_EQ(altered[4], (std::vector<AlteredText>{{"김3", "?3"}}));
    EXPECT_TRUE(personsAlteredBySaving({Yamada, persons[2]}, 5).empty());
}

TEST(ListFile, RecordsAfterTheCountedOnesAreIgnored)
{
    const std::string bytes = listFileBytes({Yamada}) + record("stray") + "partial";
    const ListFileContents opened = parseListFile(bytes);
    ASSERT_EQ(opened.error, std::nullopt);
    EXPECT_EQ(opened.persons, std::vector<Person>{Yamada});
}

TEST(ListFile, LeadByteAtTheEndOfAFieldDoesNotSpoilTheNextField)
{
    const std::string bytes =
        record("2") + "ABCDEFGHIJKLMNOPQRS" + hexBytes("81") + std::string(20, '\0') + record("1960") +
        record("3") + record("12");
    const ListFileContents opened = parseListFile(bytes);
    ASSERT_EQ(opened.error, std::nullopt);
    EXPECT_EQ(opened.persons, (std::vector<Person>{{"ABCDEFGHIJKLMNOPQRS", "1960", "3", "12"}}));
}

TEST(ListFile, CountWithBlanksAroundItAndAFullLastRecordOpen)
{
    const std::string bytes = record("  2  ") + listFileBytes({Yamada}).substr(40);
    EXPECT_EQ(parseListFile(bytes).persons, std::vector<Person>{Yamada});
}

using Kind = FileError::Kind;

TEST(ListFile, MalformedFilesGiveAnErrorAndNoPersons)
{
    const std::string onePerson = listFileBytes({Yamada});
    const struct {
        const char* label;
        std::string bytes;
        Kind kind;
    } cases[] = {
        {"empty file", "", Kind::TooShort},
        {"39 bytes", record("1").substr(0, 39), Kind::TooShort},
        {"count not a number", record("ABC") + onePerson.substr(40), Kind::NotANumber},
        {"count of blanks", record("") + onePerson.substr(40), Kind::NotANumber},
        {"count below one", record("0"), Kind::CountBelowOne},
        {"huge count in one record", record("2000000000"), Kind::TooShort},
        {"count beyond 64 bits", record("99999999999999999999"), Kind::TooShort},
        {"fewer records than promised", record("3") + onePerson.substr(40), Kind::TooShort},
        {"last record cut in its filler", onePerson.substr(0, 199), Kind::TooShort},
        {"all FF", std::string(200, '\xFF'), Kind::NotANumber},
        {"text file", "name,year,month,day\n山田,1960,3,12\n佐藤,1975,11,30\n", Kind::NotANumber},
    };
    ScratchDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const ListFileContents parsed = parseListFile(c.bytes);
        ASSERT_TRUE(parsed.error.has_value());
        EXPECT_EQ(parsed.error->kind, c.kind);
        EXPECT_TRUE(parsed.persons.empty());

        writeBytes(dir / "bad.orx", c.bytes);
        const ListFileContents read = readListFile(dir / "bad.orx");
        ASSERT_TRUE(read.error.has_value());
        EXPECT_EQ(read.error->kind, c.kind);
        EXPECT_TRUE(read.persons.empty());
    }
}

TEST(ListFile, OpeningAMissingPathFailsAndCreatesNothing)
{
    ScratchDir dir;
    const ListFileContents read = readListFile(dir / "missing.orx");
    EXPECT_EQ(read.error, (FileError{Kind::System, ENOENT}));
    EXPECT_FALSE(std::filesystem::exists(dir / "missing.orx"));
    EXPECT_EQ(readListFile("").error, (FileError{Kind::System, ENOENT}));
}

}  // namespace
}  // namespace personlist
