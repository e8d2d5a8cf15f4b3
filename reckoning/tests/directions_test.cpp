#include "reckoning/directions.h"
#include "reckoning/tests/palace_of.h"

#include "reckoning/reading.h"
#include "reckoning/tables.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace reckoning {
namespace {

using tests::palaceOf;

std::vector<int> toVector(const LuckyStars& lucky) { return {lucky.begin(), lucky.end()}; }

std::string rowText(int star, int palace)
{
    return std::string(starName(star)) + "    " + std::string(directionName(palace));
}

TEST(LuckyStars, EveryNatalStar)
{
    const std::vector<int> expected[] = {
        {}, {3, 4, 6, 7}, {6, 7, 8, 9}, {1, 4, 9}, {1, 3, 9}, {2, 6, 7, 8, 9},
        {1, 2, 7, 8}, {1, 2, 6, 8}, {2, 6, 7, 9}, {2, 3, 4, 8},
    };
    for (int n = 1; n <= 9; ++n) {
        EXPECT_EQ(toVector(luckyStars(n)), expected[n]) << "natal " << n;
    }
    EXPECT_TRUE(toVector(luckyStars(0)).empty());
    EXPECT_TRUE(toVector(luckyStars(10)).empty());
}

// For every centre star and every natal star, each palace's mark must be what the
// unlucky directions falling on it make it: two or more give 最大凶, one gives its
// own mark, none leaves 吉 or nothing.
TEST(ReadDirections, MarksAndRowsOverTheWholeSpace)
{
    for (int c = 1; c <= 9; ++c) {
        for (int n = 1; n <= 9; ++n) {
            SCOPED_TRACE(testing::Message() << "centre " << c << " natal " << n);
            const Board board = boardFromCentre(c);
            const Directions d = readDirections(board, n);
            const LuckyStars lucky = luckyStars(n);
            const int goOu = palaceOf(board, 5);
            const int honmei = palaceOf(board, n);
            const int unluckyPalaces[] = {goOu, 10 - goOu, honmei, 10 - honmei};
            const PalaceMark unluckyMarks[] = {PalaceMark::GoOuSatsu, PalaceMark::AnkenSatsu,
                                               PalaceMark::HonmeiSatsu, PalaceMark::TekiSatsu};
            int worstOuter = 0;
            for (int p = 1; p <= 9; ++p) {
                int hits = 0;
                PalaceMark own = lucky.contains(board.star[static_cast<std::size_t>(p)]) ? PalaceMark::Lucky
                                                                                          : PalaceMark::None;
                for (int k = 0; k < 4; ++k) {
                    if (unluckyPalaces[k] == p) {
                        ++hits;
                        own = unluckyMarks[k];
                    }
                }
                const PalaceMark expected = hits >= 2 ? PalaceMark::Worst : own;
                EXPECT_EQ(d.mark(p), expected) << "palace " << p;
                if (p != 5 && d.mark(p) == PalaceMark::Worst) {
                    ++worstOuter;
                }
            }
            const bool worstExpected = (n == 5 && goOu != 5) || (honmei == 10 - goOu && goOu != 5);
            EXPECT_EQ(worstOuter, worstExpected ? 2 : 0);

            for (int k = 0; k < 4; ++k) {
                const UnluckyRow& row = d.rows[static_cast<std::size_t>(k)];
                const int q = unluckyPalaces[k];
                EXPECT_EQ(row.palace, q) << "row " << k;
                EXPECT_EQ(row.star, board.star[static_cast<std::size_t>(q)]) << "row " << k;
                EXPECT_EQ(row.text(), q == 5 ? "ナシ" : rowText(row.star, q)) << "row " << k;
            }
            EXPECT_EQ(d.row(UnluckyKind::GoOuSatsu).star, 5);
            EXPECT_EQ(d.row(UnluckyKind::HonmeiSatsu).star, n);
            // The ナシ rows come in pairs: star 5 or the natal star in the centre.
            EXPECT_EQ(d.row(UnluckyKind::GoOuSatsu).text() == "ナシ", d.row(UnluckyKind::AnkenSatsu).text() == "ナシ");
            EXPECT_EQ(d.row(UnluckyKind::HonmeiSatsu).text() == "ナシ", d.row(UnluckyKind::TekiSatsu).text() == "ナシ");
        }
    }
}

TEST(ReadDirections, NatalTwoOnTheHomeBoard)
{
    const Directions d = readDirections(homeBoard(), 2);
    EXPECT_EQ(d.mark(2), PalaceMark::HonmeiSatsu);
    EXPECT_EQ(d.mark(8), PalaceMark::TekiSatsu);
    for (int p : {6, 7, 9}) EXPECT_EQ(d.mark(p), PalaceMark::Lucky) << p;
    for (int p : {1, 3, 4}) EXPECT_EQ(d.mark(p), PalaceMark::None) << p;
    EXPECT_EQ(d.row(UnluckyKind::GoOuSatsu).text(), "ナシ");
    EXPECT_EQ(d.row(UnluckyKind::AnkenSatsu).text(), "ナシ");
    EXPECT_EQ(d.row(UnluckyKind::HonmeiSatsu).text(), "\u30CB黒土星    南西");
    EXPECT_EQ(d.row(UnluckyKind::TekiSatsu).text(), "八白土星    北東");
}

TEST(ReadDirections, TwoDirectionsOnOnePalaceGiveWorst)
{
    const Board year2024 = yearBoard(2024, 0);  // star 5 in 西, star 1 in 東

    const Directions five = readDirections(year2024, 5);
    EXPECT_EQ(five.mark(7), PalaceMark::Worst);
    EXPECT_EQ(five.mark(3), PalaceMark::Worst);
    EXPECT_EQ(five.row(UnluckyKind::GoOuSatsu).text(), "五黄土星    西");
    EXPECT_EQ(five.row(UnluckyKind::HonmeiSatsu).text(), "五黄土星    西");
    EXPECT_EQ(five.row(UnluckyKind::AnkenSatsu).text(), "一白水星    東");
    EXPECT_EQ(five.row(UnluckyKind::TekiSatsu).text(), "一白水星    東");

    const Directions one = readDirections(year2024, 1);
    EXPECT_EQ(one.mark(3), PalaceMark::Worst);
    EXPECT_EQ(one.mark(7), PalaceMark::Worst);
    EXPECT_EQ(one.row(UnluckyKind::HonmeiSatsu).text(), "一白水星    東");
    EXPECT_EQ(one.row(UnluckyKind::AnkenSatsu).text(), "一白水星    東");
    EXPECT_EQ(one.row(UnluckyKind::GoOuSatsu).text(), "五黄土星    西");
    EXPECT_EQ(one.row(UnluckyKind::TekiSatsu).text(), "五黄土星    西");
    for (int p : {5, 6, 8, 9}) EXPECT_EQ(one.mark(p), PalaceMark::Lucky) << p;
}

TEST(ReadDirections, UnluckyMarksOverwriteLucky)
{
    // Natal 3 on the year board of 2024: star 1 (lucky for 3) stands in the
    // 暗剣殺 palace 東 and loses its 吉.
    const Directions d = readDirections(yearBoard(2024, 0), 3);
    EXPECT_EQ(d.mark(7), PalaceMark::GoOuSatsu);
    EXPECT_EQ(d.mark(3), PalaceMark::AnkenSatsu);
    EXPECT_EQ(d.row(UnluckyKind::AnkenSatsu).text(), "一白水星    東");
    EXPECT_EQ(d.row(UnluckyKind::HonmeiSatsu).text(), "ナシ");
    EXPECT_EQ(d.row(UnluckyKind::TekiSatsu).text(), "ナシ");
    EXPECT_EQ(d.mark(2), PalaceMark::Lucky);
    EXPECT_EQ(d.mark(6), PalaceMark::Lucky);

    // Natal 5 on the home board: the centre takes every unlucky direction.
    const Directions home = readDirections(homeBoard(), 5);
    for (const UnluckyRow& row : home.rows) EXPECT_EQ(row.text(), "ナシ");
    for (int p : {2, 6, 7, 8, 9}) EXPECT_EQ(home.mark(p), PalaceMark::Lucky) << p;
    for (int p : {1, 3, 4}) EXPECT_EQ(home.mark(p), PalaceMark::None) << p;
}

TEST(ReadDirections, NatalStarOutsideTheTablesStandsNowhere)
{
    const Directions d = readDirections(homeBoard(), 0);
    EXPECT_EQ(d.row(UnluckyKind::HonmeiSatsu).palace, 0);
    EXPECT_EQ(d.row(UnluckyKind::HonmeiSatsu).text(), "");
    EXPECT_EQ(d.row(UnluckyKind::TekiSatsu).text(), "");
    EXPECT_EQ(d.row(UnluckyKind::GoOuSatsu).text(), "ナシ");
    for (int p = 1; p <= 9; ++p) EXPECT_NE(d.mark(p), PalaceMark::Lucky);
}

TEST(Reading, WorkedExampleBorn1980May5ReadOn2024February10)
{
    const Reading r = readingFor({1980, 5, 5}, {2024, 2, 10}, OffsetRow::February);
    EXPECT_EQ(r.birthOffset, 0);
    EXPECT_EQ(r.offsets, (ReadingOffsets{0, 0}));
    EXPECT_EQ(r.natal, 2);
    EXPECT_EQ(toVector(r.lucky), (std::vector<int>{6, 7, 8, 9}));
    EXPECT_EQ(r.monthBoard, homeBoard());
    EXPECT_EQ(centre(r.yearBoard), 3);

    EXPECT_EQ(r.yearDirections.mark(7), PalaceMark::GoOuSatsu);
    EXPECT_EQ(r.yearDirections.mark(3), PalaceMark::AnkenSatsu);
    EXPECT_EQ(r.yearDirections.mark(4), PalaceMark::HonmeiSatsu);
    EXPECT_EQ(r.yearDirections.mark(6), PalaceMark::TekiSatsu);
    EXPECT_EQ(r.yearDirections.row(UnluckyKind::HonmeiSatsu).text(), "\u30CB黒土星    南東");

    EXPECT_EQ(r.monthDirections.row(UnluckyKind::GoOuSatsu).text(), "ナシ");
    EXPECT_EQ(r.monthDirections.row(UnluckyKind::AnkenSatsu).text(), "ナシ");
    EXPECT_EQ(r.monthDirections.mark(2), PalaceMark::HonmeiSatsu);
    EXPECT_EQ(r.monthDirections.mark(8), PalaceMark::TekiSatsu);
    EXPECT_EQ(r.monthDirections.row(UnluckyKind::HonmeiSatsu).text(), "\u30CB黒土星    南西");
}

TEST(Reading, BornInJanuaryReadInEarlyJanuary)
{
    // Born 4 January 1980 (solar year 1979), read on 10 January 2024 (solar 2023).
    const Reading r = readingFor({1980, 1, 4}, {2024, 1, 10}, OffsetRow::January);
    EXPECT_EQ(r.natal, 3);
    EXPECT_EQ(toVector(r.lucky), (std::vector<int>{1, 4, 9}));
    EXPECT_EQ(centre(r.yearBoard), 4);
    EXPECT_EQ(centre(r.monthBoard), 6);
}

}  // namespace
}  // namespace reckoning
