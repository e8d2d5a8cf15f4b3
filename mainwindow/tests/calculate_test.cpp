#include "mainwindow/calculate.h"

#include "reckoning/board.h"
#include "reckoning/tables.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mainwindow {
namespace {

using namespace std::string_literals;

constexpr std::uint32_t Yellow = 0xFFFF00;

ReadingInputs inputs(std::string birthYear, std::string birthMonth, std::string birthDay, std::string readingYear,
                     std::string readingMonth, std::string readingDay)
{
    return {std::move(birthYear), std::move(birthMonth), std::move(birthDay),
            std::move(readingYear), std::move(readingMonth), std::move(readingDay)};
}

const ReadingInputs WorkedExample = inputs("1980", "5", "5", "2024", "2", "10");

std::vector<std::string> luckyCaptions(const ReadingDisplay& d)
{
    std::vector<std::string> captions;
    for (int k = 1; k <= 5; ++k) captions.push_back(d.luckySlots[static_cast<std::size_t>(k)].caption);
    return captions;
}

// The cells of a board as the star numbers their captions name; 0 for a caption
// that is no star's numeral or a fill that does not match it.
reckoning::Board boardShown(const std::array<CellDisplay, 10>& cells)
{
    reckoning::Board b;
    for (int p = 1; p <= 9; ++p) {
        for (int s = 1; s <= 9; ++s) {
            const CellDisplay& cell = cells[static_cast<std::size_t>(p)];
            if (cell.caption == reckoning::boardNumeral(s) && cell.fill == reckoning::starColour(s)) {
                b.star[static_cast<std::size_t>(p)] = s;
            }
        }
    }
    return b;
}

// What a display shows: an emptied lucky slot keeps its last colour, unseen.
ReadingDisplay visible(ReadingDisplay d)
{
    for (TextDisplay& slot : d.luckySlots) {
        if (slot.caption.empty()) slot.colour = 0;
    }
    return d;
}

TEST(ParseNumber, AcceptsWholeDecimalNumbersOnly)
{
    const std::pair<std::string, std::optional<std::int32_t>> cases[] = {
        {"1980", 1980},
        {" 1980 ", 1980},
        {"\t7", 7},
        {"１９８０", 1980},
        {"1９8０", 1980},
        {"\u3000２０２４\u3000", 2024},
        {"-5", -5},
        {"+12", 12},
        {"03", 3},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt},
        {"99999999999", std::nullopt},
        {"99999999999999999999999", std::nullopt},
        {"", std::nullopt},
        {" ", std::nullopt},
        {"-", std::nullopt},
        {"- 5", std::nullopt},
        {"1e3", std::nullopt},
        {"1.5", std::nullopt},
        {"12a", std::nullopt},
        {"abc", std::nullopt},
        {"一九八〇", std::nullopt},
        {"0x10", std::nullopt},
        {"\xEF\xBC", std::nullopt},  // a full-width digit cut short
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(parseNumber(text), expected) << '"' << text << '"';
    }
}

TEST(Calculate, EmptyYearBoxChangesNothing)
{
    const ReadingDisplay shown = calculate(WorkedExample, startDisplay());
    EXPECT_EQ(calculate(inputs("1980", "5", "5", "", "2", "10"), shown), shown);
    EXPECT_EQ(calculate(inputs("", "5", "5", "2024", "2", "10"), shown), shown);
    EXPECT_EQ(calculate(inputs("", "", "", "", "", ""), startDisplay()), startDisplay());
}

TEST(Calculate, WorkedExample)
{
    const ReadingDisplay d = calculate(WorkedExample, startDisplay());
    EXPECT_EQ(d.natalCell, (CellDisplay{"\u30CB", 0x004040}));
    EXPECT_EQ(d.natalName, (TextDisplay{"\u30CB黒土星", 0x004040}));
    EXPECT_EQ(luckyCaptions(d), (std::vector<std::string>{"六白金星", "七赤金星", "八白土星", "九紫火星", ""}));
    EXPECT_EQ(d.luckySlots[1].colour, 0xFF7000u);

    EXPECT_EQ(boardShown(d.monthCells), reckoning::homeBoard());
    EXPECT_EQ(boardShown(d.yearCells), reckoning::boardFromCentre(3));

    EXPECT_EQ(d.yearMarks[7], "五黄殺");
    EXPECT_EQ(d.yearMarks[3], "暗剣殺");
    EXPECT_EQ(d.yearMarks[4], "本命殺");
    EXPECT_EQ(d.yearMarks[6], "的殺");
    EXPECT_EQ(d.monthMarks[2], "本命殺");
    EXPECT_EQ(d.monthMarks[8], "的殺");  // star 8 is lucky for 2, but the 的殺 wins
    EXPECT_EQ(d.monthMarks[9], "吉");
    EXPECT_EQ(d.monthMarks[1], "");

    EXPECT_EQ(d.monthRows[0].value, (TextDisplay{"ナシ", Yellow}));
    EXPECT_EQ(d.monthRows[1].value, (TextDisplay{"ナシ", Yellow}));  // star 5 in the centre
    EXPECT_EQ(d.monthRows[1].nameColour, Yellow);
    EXPECT_EQ(d.monthRows[2].value, (TextDisplay{"\u30CB黒土星    南西", 0x004040}));
    EXPECT_EQ(d.monthRows[3].value, (TextDisplay{"八白土星    北東", 0xDD00AA}));
    EXPECT_EQ(d.monthRows[3].nameColour, 0xDD00AAu);
    EXPECT_EQ(d.yearRows[0].value, (TextDisplay{"五黄土星    西", Yellow}));
    EXPECT_EQ(d.yearRows[1].value, (TextDisplay{"一白水星    東", 0x3000C0}));
    EXPECT_EQ(d.yearRows[2].value, (TextDisplay{"\u30CB黒土星    南東", 0x004040}));
    EXPECT_EQ(d.yearRows[3].value, (TextDisplay{"四緑木星    北西", 0x20BB50}));
}

TEST(Calculate, StartValuesOfTheListsWithYears1980And2024)
{
    const ReadingDisplay d = calculate(inputs("1980", "1", "4", "2024", "1", "10"), startDisplay());
    EXPECT_EQ(d.natalCell, (CellDisplay{"三", 0x008060}));
    EXPECT_EQ(d.natalName.caption, "三碧木星");
    EXPECT_EQ(luckyCaptions(d), (std::vector<std::string>{"一白水星", "四緑木星", "九紫火星", "", ""}));
    EXPECT_EQ(boardShown(d.yearCells), reckoning::boardFromCentre(4));
    EXPECT_EQ(boardShown(d.monthCells), reckoning::boardFromCentre(6));
}

TEST(Calculate, FewerLuckyStarsEmptyTheSlotsAfterTheLast)
{
    const ReadingDisplay five = calculate(inputs("1995", "5", "5", "2024", "2", "10"), startDisplay());
    ASSERT_EQ(five.natalName.caption, "五黄土星");
    EXPECT_EQ(luckyCaptions(five), (std::vector<std::string>{"ニ黒土星", "六白金星", "七赤金星", "八白土星", "九紫火星"}));
    const ReadingDisplay three = calculate(inputs("1979", "5", "5", "2024", "2", "10"), five);
    EXPECT_EQ(luckyCaptions(three), (std::vector<std::string>{"一白水星", "四緑木星", "九紫火星", "", ""}));
}

TEST(Calculate, UnluckyMarksWinOverLuckyAndDoubleUpAsWorst)
{
    // Natal 3: star 1, lucky for 3, stands in the year board's 暗剣殺 palace 東.
    const ReadingDisplay three = calculate(inputs("1979", "5", "5", "2024", "2", "10"), startDisplay());
    EXPECT_EQ(three.yearMarks[3], "暗剣殺");
    EXPECT_EQ(three.yearRows[2].value.caption, "ナシ");  // 3 stands in the centre
    EXPECT_EQ(three.yearRows[2].nameColour, 0x008060u);

    // Natal 5 with star 5 in 西: 西 and 東 both carry two directions.
    const ReadingDisplay five = calculate(inputs("1995", "5", "5", "2024", "2", "10"), startDisplay());
    EXPECT_EQ(five.yearMarks[7], "最大凶");
    EXPECT_EQ(five.yearMarks[3], "最大凶");
    EXPECT_EQ(five.yearRows[3].value.caption, "一白水星    東");
}

TEST(Calculate, MonthTextPicksTheOffsetRowButTheNumberLaysOutTheBoard)
{
    // On 6 March, "3" is past its boundary (5th), "03" falls to the last row whose
    // boundary is the 7th, so the date still belongs to the solar month before.
    const ReadingDisplay plain = calculate(inputs("1980", "5", "5", "2024", "3", "6"), startDisplay());
    const ReadingDisplay padded = calculate(inputs("1980", "5", "5", "2024", "03", "6"), startDisplay());
    EXPECT_EQ(boardShown(plain.monthCells), reckoning::monthBoard(2024, 3, 0));
    EXPECT_EQ(boardShown(padded.monthCells), reckoning::monthBoard(2024, 3, 1));
    EXPECT_EQ(boardShown(padded.yearCells), reckoning::yearBoard(2024, 0));
}

// A reading must not leave anything of the one before it: every output that a
// full reading writes differs from a poisoned previous display.
TEST(Calculate, EveryRunRewritesEveryOutput)
{
    ReadingDisplay poison;
    auto poisonText = [](TextDisplay& t) { t = {"X", 0x123456}; };
    poison.natalCell = {"X", 0x123456};
    poisonText(poison.natalName);
    for (auto& slot : poison.luckySlots) poisonText(slot);
    for (auto* cells : {&poison.monthCells, &poison.yearCells})
        for (auto& cell : *cells) cell = {"X", 0x123456};
    for (auto* marks : {&poison.monthMarks, &poison.yearMarks})
        for (auto& mark : *marks) mark = "X";
    for (auto* rows : {&poison.monthRows, &poison.yearRows})
        for (auto& row : *rows) row = {0x123456, {"X", 0x123456}};

    for (const ReadingInputs& in : {WorkedExample, inputs("1994", "1", "1", "1901", "12", "31")}) {
        const ReadingDisplay d = calculate(in, poison);
        EXPECT_NE(d.natalCell, poison.natalCell);
        EXPECT_NE(d.natalName, poison.natalName);
        for (int k = 1; k <= 5; ++k) EXPECT_NE(d.luckySlots[static_cast<std::size_t>(k)].caption, "X") << k;
        for (int p = 1; p <= 9; ++p) {
            const auto i = static_cast<std::size_t>(p);
            EXPECT_NE(d.monthCells[i], poison.monthCells[i]) << p;
            EXPECT_NE(d.yearCells[i], poison.yearCells[i]) << p;
            EXPECT_NE(d.monthMarks[i], "X") << p;
            EXPECT_NE(d.yearMarks[i], "X") << p;
        }
        for (std::size_t k = 0; k < 4; ++k) {
            EXPECT_NE(d.monthRows[k].value.caption, "X") << k;
            EXPECT_NE(d.yearRows[k].value.caption, "X") << k;
            // The 五黄殺 rows keep their fixed colour; every other row is recoloured.
            EXPECT_EQ(d.monthRows[k].nameColour == 0x123456, k == 0) << k;
            EXPECT_EQ(d.yearRows[k].value.colour == 0x123456, k == 0) << k;
        }
    }
}

// Hostile texts in every input: the command never fails, and a text that is no
// number leaves everything as it was: no half of a new reading beside half of
// the old one. A text that is a number gives a full reading.
TEST(Calculate, HostileTextsInEveryInput)
{
    const std::string hostile[] = {"abc", "１９８０", " 1980 ", "1e3", "99999999999", "-5", "", "13", "45",
                                   "0", "-2147483648", "2147483647", "\u3000", "\xFF\xFE", "五", "S", "昭和0"};
    const ReadingDisplay before = calculate(WorkedExample, startDisplay());
    for (int field = 0; field < 6; ++field) {
        for (const std::string& text : hostile) {
            ReadingInputs in = WorkedExample;
            std::string* fields[] = {&in.birthYear,   &in.birthMonth,   &in.birthDay,
                                     &in.readingYear, &in.readingMonth, &in.readingDay};
            *fields[field] = text;
            SCOPED_TRACE(testing::Message() << "field " << field << " text \"" << text << '"');
            const ReadingDisplay d = calculate(in, before);
            const bool year = field == 0 || field == 3;
            const bool number = (year ? parseYear(text) : parseNumber(text)).has_value();
            EXPECT_EQ(firstNonNumber(in), number ? std::nullopt : std::optional{static_cast<ReadingField>(field)});
            if (!number) {
                EXPECT_EQ(d, before);
                continue;
            }
            EXPECT_NE(boardShown(d.monthCells).star[5], 0);
            EXPECT_EQ(boardShown(d.monthCells), reckoning::boardFromCentre(boardShown(d.monthCells).star[5]));
            EXPECT_EQ(boardShown(d.yearCells), reckoning::boardFromCentre(boardShown(d.yearCells).star[5]));
            EXPECT_EQ(visible(d), visible(calculate(in, startDisplay())));  // nothing of the reading before
        }
    }
    // Full-width digits and blanks read as the plain number.
    EXPECT_EQ(calculate(inputs("１９８０", " 5", "５ ", "\u3000２０２４", "2", "10"), startDisplay()),
              calculate(WorkedExample, startDisplay()));
}

TEST(Calculate, FirstNonNumberCountsFromTheTop)
{
    EXPECT_EQ(firstNonNumber(WorkedExample), std::nullopt);
    EXPECT_EQ(firstNonNumber(inputs("1980", "x", "5", "2024", "y", "10")), ReadingField::BirthMonth);
    EXPECT_EQ(firstNonNumber(inputs("1980", "5", "5", "2024", "2", "十")), ReadingField::ReadingDay);
    EXPECT_EQ(firstNonNumber(inputs("abc", "", "", "", "", "")), ReadingField::BirthYear);
    // An era year is a year, but no month.
    EXPECT_EQ(firstNonNumber(inputs("S55", "5", "5", "R6", "H2", "10")), ReadingField::ReadingMonth);
}

TEST(EraYear, EveryEraFromItsFirstYearToItsLast)
{
    const std::pair<std::string, std::optional<std::int32_t>> cases[] = {
        {"明治1", 1868}, {"明治45", 1912}, {"明治46", std::nullopt},
        {"大正1", 1912}, {"大正15", 1926}, {"大正16", std::nullopt},
        {"昭和1", 1926}, {"昭和64", 1989}, {"昭和65", std::nullopt},
        {"平成1", 1989}, {"平成31", 2019}, {"平成32", std::nullopt},
        {"令和1", 2019}, {"令和6", 2024},  {"令和100", 2118},
        {"M45", 1912},   {"T15", 1926},    {"S64", 1989}, {"H31", 2019}, {"R6", 2024},
        {"S65", std::nullopt},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(parseEraYear(text), expected) << '"' << text << '"';
    }
}

TEST(EraYear, WrittenAsPeopleWriteThemOnForms)
{
    const std::pair<std::string, std::int32_t> cases[] = {
        {"昭和55", 1980},     {"昭和５５年", 1980},   {"S55", 1980},      {"ｓ55", 1980},
        {"s55", 1980},        {"Ｓ５５", 1980},       {"平成元年", 1989}, {"令和6", 2024},
        {"令和元年", 2019},   {"H元", 1989},          {"昭和55年", 1980}, {" 昭和 55 ", 1980},
        {"\t昭和55年\u3000", 1980}, {"\u3000Ｓ５５\u3000", 1980},     {"r 6 年", 2024},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(parseEraYear(text), expected) << '"' << text << '"';
        EXPECT_EQ(parseYear(text), expected) << '"' << text << '"';
    }
}

TEST(EraYear, WhatIsStillNoYear)
{
    for (const char* text : {"昭和", "昭和0", "S0", "昭和-5", "S+5", "S5.5", "X55", "55S", "元", "昭和元元",
                             "昭和55年年", "年", "S", "SS55", "1980年", "S2147483647", "\xEF\xBC", "\xEF\xBD",
                             "昭和\u300055x", "慶応3"}) {
        EXPECT_EQ(parseYear(text), std::nullopt) << '"' << text << '"';
    }
    EXPECT_EQ(parseYear("1980"), 1980);
    EXPECT_EQ(parseEraYear("1980"), std::nullopt);
    EXPECT_EQ(parseNumber("S55"), std::nullopt);  // a month or a day has no era
}

TEST(EraYear, ReadsAsItsWesternYearEndToEnd)
{
    EXPECT_EQ(calculate(inputs("昭和55", "5", "5", "令和6", "2", "10"), startDisplay()),
              calculate(WorkedExample, startDisplay()));
    EXPECT_EQ(calculate(inputs("Ｓ５５", "5", "5", "R6年", "2", "10"), startDisplay()),
              calculate(WorkedExample, startDisplay()));
    EXPECT_EQ(calculate(inputs("昭和65", "5", "5", "令和6", "2", "10"), startDisplay()), startDisplay());
}

TEST(Calculate, YearsBelowSevenStillGiveAFullReading)
{
    for (const char* year : {"6", "0", "-1", "-2147483648", "2147483647"}) {
        SCOPED_TRACE(year);
        const ReadingDisplay d = calculate(inputs(year, "1", "1", year, "1", "1"), startDisplay());
        EXPECT_FALSE(d.natalName.caption.empty());
        EXPECT_EQ(boardShown(d.yearCells), reckoning::boardFromCentre(boardShown(d.yearCells).star[5]));
        for (const auto& row : d.yearRows) EXPECT_FALSE(row.value.caption.empty());
    }
}

}  // namespace
}  // namespace mainwindow
