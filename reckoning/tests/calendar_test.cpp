#include "reckoning/calendar.h"

#include <gtest/gtest.h>

#include <climits>

namespace reckoning {
namespace {

TEST(BirthYearOffset, SolarYearStartsOnFourthFebruary)
{
    for (int day = 1; day <= 31; ++day) {
        EXPECT_EQ(birthYearOffset(1, day), 1) << "January " << day;
    }
    EXPECT_EQ(birthYearOffset(2, 3), 1);
    EXPECT_EQ(birthYearOffset(2, 4), 0);
    EXPECT_EQ(birthYearOffset(2, 30), 0);  // days are compared, not checked
    for (int month = 3; month <= 12; ++month) {
        EXPECT_EQ(birthYearOffset(month, 1), 0) << "month " << month;
    }
    EXPECT_EQ(birthYearOffset(13, 1), 0);
    EXPECT_EQ(birthYearOffset(0, 1), 0);
}

TEST(ReadingOffsets, DayBeforeAndOnEveryBoundary)
{
    struct Case {
        int month;
        int boundary;
        ReadingOffsets before;
        ReadingOffsets onOrAfter;
    };
    const Case cases[] = {
        {1, 6, {1, 1}, {1, 0}}, {2, 4, {1, 1}, {0, 0}},  {3, 5, {0, 1}, {0, 0}},
        {4, 5, {0, 1}, {0, 0}}, {5, 5, {0, 1}, {0, 0}},  {6, 6, {0, 1}, {0, 0}},
        {7, 7, {0, 1}, {0, 0}}, {8, 8, {0, 1}, {0, 0}},  {9, 8, {0, 1}, {0, 0}},
        {10, 8, {0, 1}, {0, 0}}, {11, 7, {0, 1}, {0, 0}}, {12, 7, {0, 1}, {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.month);
        const OffsetRow row = *offsetRowForMonth(c.month);
        EXPECT_EQ(readingOffsets(row, 1), c.before);
        EXPECT_EQ(readingOffsets(row, c.boundary - 1), c.before);
        EXPECT_EQ(readingOffsets(row, c.boundary), c.onOrAfter);
        EXPECT_EQ(readingOffsets(row, 31), c.onOrAfter);
        // The year offset follows the birth-year rule: all of January, 1-3 February.
        for (int day = 1; day <= 31; ++day) {
            EXPECT_EQ(readingOffsets(row, day).year, birthYearOffset(c.month, day)) << "day " << day;
        }
    }
}

TEST(OffsetRowForMonthText, ListItemsPickTheirOwnMonthsRow)
{
    for (int month = 1; month <= 12; ++month) {
        EXPECT_EQ(offsetRowForMonthText(std::to_string(month)), offsetRowForMonth(month)) << month;
    }
}

TEST(OffsetRowForMonthText, TypedTextsAreComparedAsText)
{
    struct Case {
        std::string_view text;
        OffsetRow row;
    };
    const Case cases[] = {
        {"03", OffsetRow::NovemberDecember},  // "0" sorts before "3"
        {"13", OffsetRow::NovemberDecember},
        {"10", OffsetRow::AugustToOctober},
        {"11", OffsetRow::NovemberDecember},
        {"", OffsetRow::NovemberDecember},
        {"30", OffsetRow::MarchToMay},        // between "3" and "5" as text
        {"4x", OffsetRow::MarchToMay},
        {"5", OffsetRow::MarchToMay},
        {"50", OffsetRow::NovemberDecember},  // sorts after "5"
        {" 3", OffsetRow::NovemberDecember},
        {"２", OffsetRow::NovemberDecember},
        {"2 ", OffsetRow::NovemberDecember},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(offsetRowForMonthText(c.text), c.row) << '"' << c.text << '"';
    }
}

TEST(OffsetRowForMonth, NoRowOutsideTheCivilMonths)
{
    EXPECT_FALSE(offsetRowForMonth(0).has_value());
    EXPECT_FALSE(offsetRowForMonth(13).has_value());
    EXPECT_FALSE(offsetRowForMonth(-1).has_value());
}

TEST(NatalStar, KnownBirthDates)
{
    EXPECT_EQ(natalStar(1980, birthYearOffset(5, 5)), 2);
    EXPECT_EQ(natalStar(1980, birthYearOffset(2, 3)), 3);
    EXPECT_EQ(natalStar(1980, birthYearOffset(2, 4)), 2);
    EXPECT_EQ(natalStar(2000, birthYearOffset(1, 31)), 1);
    for (int year : {1991, 2000, 2009, 2018}) {
        EXPECT_EQ(natalStar(year, 0), 9) << year;
    }
    EXPECT_EQ(natalStar(2024, 0), 3);
    EXPECT_EQ(natalStar(1999, 0), 1);
    EXPECT_EQ(natalStar(2001, 0), 8);
    EXPECT_EQ(natalStar(2002, 0), 7);
}

TEST(NatalStar, FallsByOneEachYearThroughZeroAndNegativeYears)
{
    // The plain formula goes negative below year 7; the star sequence must not
    // notice where it crosses zero.
    for (std::int64_t year = -40; year <= 40; ++year) {
        SCOPED_TRACE(year);
        const int star = natalStar(year, 0);
        ASSERT_GE(star, 1);
        ASSERT_LE(star, 9);
        EXPECT_EQ(natalStar(year + 1, 0), star == 1 ? 9 : star - 1);
        EXPECT_EQ(natalStar(year, 1), natalStar(year - 1, 0));
    }
    EXPECT_EQ(natalStar(7, 0), 4);  // 9 - (5 mod 9)
    EXPECT_EQ(natalStar(6, 0), 5);
    EXPECT_EQ(natalStar(2, 0), 9);
    EXPECT_EQ(natalStar(0, 0), 2);  // -2 mod 9 = 7
}

TEST(NatalStar, ExtremeYearsStayOnTheBoard)
{
    for (std::int64_t year : {std::int64_t{1'000'000'000'000'000}, std::int64_t{INT32_MAX},
                              std::int64_t{INT32_MIN}, INT64_MAX, INT64_MIN}) {
        for (int offset : {0, 1}) {
            const int star = natalStar(year, offset);
            EXPECT_GE(star, 1) << year;
            EXPECT_LE(star, 9) << year;
        }
    }
    // 10^15 - 2 = 999999999999998, digit sum 9 x 14 + 8 = 134 -> 8 mod 9.
    EXPECT_EQ(natalStar(1'000'000'000'000'000, 0), 1);
}

}  // namespace
}  // namespace reckoning
