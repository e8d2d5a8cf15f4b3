#include "reckoning/board.h"
#include "reckoning/tests/palace_of.h"

#include "reckoning/calendar.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

namespace reckoning {
namespace {

using tests::palaceOf;

Board boardOf(std::initializer_list<int> stars)
{
    Board b;
    std::copy(stars.begin(), stars.end(), b.star.begin() + 1);
    return b;
}

TEST(BoardFromCentre, EveryCentreGivesAFullBoardFilledInFlightOrder)
{
    constexpr int flightOrder[] = {5, 6, 7, 8, 9, 1, 2, 3, 4};
    for (int c = 1; c <= 9; ++c) {
        SCOPED_TRACE(c);
        const Board b = boardFromCentre(c);
        EXPECT_EQ(centre(b), c);
        EXPECT_EQ(b.star[0], 0);
        std::array<int, 9> sorted{};
        std::copy(b.star.begin() + 1, b.star.end(), sorted.begin());
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(sorted, (std::array<int, 9>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
        for (int k = 0; k < 9; ++k) {
            EXPECT_EQ(b.star[static_cast<std::size_t>(flightOrder[k])], (c - 1 + k) % 9 + 1);
            EXPECT_EQ(palaceOf(b, b.star[static_cast<std::size_t>(flightOrder[k])]), flightOrder[k]);
        }
    }
    EXPECT_EQ(homeBoard(), boardOf({1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(boardFromCentre(14), boardFromCentre(5));
    EXPECT_EQ(boardFromCentre(-4), boardFromCentre(5));
    EXPECT_EQ(palaceOf(homeBoard(), 0), 0);
}

// The formulas as written in the reckoning rules, for years where every dividend
// is positive.
int yearStarFormula(std::int64_t y, int p, int yearOffset) { return 9 - static_cast<int>((y + 3 - p - yearOffset) % 9); }
int monthStarFormula(std::int64_t y, int m, int p, int monthOffset)
{
    return 9 - static_cast<int>((12 * y + m - p - monthOffset + 1) % 9);
}

TEST(YearBoard, AgreesWithTheYearFormulaFrom1900To2100)
{
    for (std::int64_t year = 1900; year <= 2100; ++year) {
        for (int offset : {0, 1}) {
            const Board b = yearBoard(year, offset);
            for (int p = 1; p <= 9; ++p) {
                ASSERT_EQ(b.star[static_cast<std::size_t>(p)], yearStarFormula(year, p, offset))
                    << year << " offset " << offset << " palace " << p;
            }
            ASSERT_EQ(centre(b), natalStar(year, offset));
        }
    }
}

TEST(MonthBoard, AgreesWithTheMonthFormulaFrom1900To2100)
{
    for (std::int64_t year = 1900; year <= 2100; ++year) {
        for (int month = 1; month <= 12; ++month) {
            for (int offset : {0, 1}) {
                const Board b = monthBoard(year, month, offset);
                for (int p = 1; p <= 9; ++p) {
                    ASSERT_EQ(b.star[static_cast<std::size_t>(p)], monthStarFormula(year, month, p, offset))
                        << year << "-" << month << " offset " << offset << " palace " << p;
                }
            }
        }
    }
}

TEST(YearBoard, KnownDates)
{
    EXPECT_EQ(yearBoard(2024, 0), boardOf({8, 9, 1, 2, 3, 4, 5, 6, 7}));  // 10 Feb 2024
    EXPECT_EQ(yearBoard(2024, 1), boardOf({9, 1, 2, 3, 4, 5, 6, 7, 8}));  // 10 Jan 2024
}

TEST(MonthBoard, KnownDates)
{
    EXPECT_EQ(monthBoard(2024, 2, 0), homeBoard());
    EXPECT_EQ(monthBoard(2024, 1, 0), boardOf({2, 3, 4, 5, 6, 7, 8, 9, 1}));
    EXPECT_EQ(monthBoard(2024, 2, 1), boardOf({2, 3, 4, 5, 6, 7, 8, 9, 1}));
    EXPECT_EQ(centre(monthBoard(2024, 1, 1)), 7);
    EXPECT_EQ(centre(monthBoard(2024, 8, 1)), 9);
    EXPECT_EQ(centre(monthBoard(2024, 8, 0)), 8);

    const std::pair<int, std::array<int, 12>> centres[] = {
        {2024, {6, 5, 4, 3, 2, 1, 9, 8, 7, 6, 5, 4}},
        {2023, {9, 8, 7, 6, 5, 4, 3, 2, 1, 9, 8, 7}},
        {2022, {3, 2, 1, 9, 8, 7, 6, 5, 4, 3, 2, 1}},
        {2025, {3, 2, 1, 9, 8, 7, 6, 5, 4, 3, 2, 1}},
    };
    for (const auto& [year, expected] : centres) {
        for (int month = 1; month <= 12; ++month) {
            EXPECT_EQ(centre(monthBoard(year, month, 0)), expected[static_cast<std::size_t>(month - 1)])
                << year << "-" << month;
        }
    }
}

// Walks the calendar day by day: the month centre may only change on a boundary
// day, and then falls by exactly one, also from one solar (and civil) year to the
// next; the year centre changes only on 4 February.
TEST(MonthBoard, CentreFallsByOnePerSolarMonthAcrossYearEnds)
{
    using namespace std::chrono;
    int previousMonthCentre = 0;
    int previousYearCentre = 0;
    int monthChanges = 0;
    for (sys_days d = sys_days{year{1999} / 1 / 1}; d <= sys_days{year{2031} / 12 / 31}; d += days{1}) {
        const year_month_day ymd{d};
        const int m = static_cast<int>(unsigned{ymd.month()});
        const int day = static_cast<int>(unsigned{ymd.day()});
        const std::int64_t y = int{ymd.year()};
        const ReadingOffsets off = readingOffsets(*offsetRowForMonth(m), day);
        const int monthCentre = centre(monthBoard(y, m, off.month));
        const int yearCentre = centre(yearBoard(y, off.year));
        if (previousMonthCentre != 0) {
            const bool boundary = day == boundaryDay(*offsetRowForMonth(m));
            if (boundary) {
                ++monthChanges;
                ASSERT_EQ(monthCentre, previousMonthCentre == 1 ? 9 : previousMonthCentre - 1) << y << "-" << m << "-" << day;
            } else {
                ASSERT_EQ(monthCentre, previousMonthCentre) << y << "-" << m << "-" << day;
            }
            const bool newSolarYear = m == 2 && day == 4;
            ASSERT_EQ(yearCentre, newSolarYear ? (previousYearCentre == 1 ? 9 : previousYearCentre - 1) : previousYearCentre)
                << y << "-" << m << "-" << day;
        }
        previousMonthCentre = monthCentre;
        previousYearCentre = yearCentre;
    }
    EXPECT_EQ(monthChanges, 33 * 12);
}

TEST(Boards, ExtremeYearsAndMonthsGiveFullBoards)
{
    const std::int64_t years[] = {6, 7, 0, -1, -9, -10, 1'000'000'000'000'000, INT64_MAX, INT64_MIN};
    const std::int64_t months[] = {1, 12, 0, 13, -1, INT32_MAX, INT32_MIN, INT64_MIN};
    for (std::int64_t y : years) {
        EXPECT_EQ(yearBoard(y, 0), boardFromCentre(natalStar(y, 0))) << y;
        EXPECT_EQ(yearBoard(y, 1), boardFromCentre(natalStar(y, 1))) << y;
        for (std::int64_t m : months) {
            const Board b = monthBoard(y, m, 1);
            EXPECT_EQ(b, boardFromCentre(centre(b))) << y << "-" << m;
            EXPECT_GE(centre(b), 1);
            EXPECT_LE(centre(b), 9);
        }
    }
    // Below year 7 the rules keep running in step: month 13 of a year is January
    // of the next, and year 0 follows year -1.
    EXPECT_EQ(monthBoard(-1, 13, 0), monthBoard(0, 1, 0));
    EXPECT_EQ(monthBoard(6, 0, 0), monthBoard(5, 12, 0));
    EXPECT_EQ(yearBoard(0, 1), yearBoard(-1, 0));
}

}  // namespace
}  // namespace reckoning
