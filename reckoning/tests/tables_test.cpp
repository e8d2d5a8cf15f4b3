#include "reckoning/tables.h"

#include <gtest/gtest.h>

namespace reckoning {
namespace {

TEST(StarTables, StarTwoIsWrittenWithKatakanaNi)
{
    EXPECT_EQ(starName(2), "\u30CB黒土星");
    EXPECT_EQ(boardNumeral(2), "\u30CB");
    EXPECT_NE(boardNumeral(2), "\u4E8C");
}

TEST(StarTables, NumeralIsFirstCharacterOfEveryName)
{
    for (int s = 1; s <= 9; ++s) {
        SCOPED_TRACE(s);
        EXPECT_EQ(starName(s).size(), 12u);
        EXPECT_TRUE(starName(s).starts_with(boardNumeral(s)));
        EXPECT_EQ(boardNumeral(s).size(), 3u);
    }
}

TEST(StarTables, ElementIsThirdCharacterOfName)
{
    constexpr std::string_view elementKanji[] = {"木", "火", "土", "金", "水"};
    for (int s = 1; s <= 9; ++s) {
        SCOPED_TRACE(s);
        EXPECT_EQ(starName(s).substr(6, 3), elementKanji[starElement(s)]);
    }
}

TEST(StarTables, NumbersOutsideOneToNineGiveEmptyValues)
{
    for (std::int64_t n : {std::int64_t{0}, std::int64_t{10}, std::int64_t{-1}, INT64_MIN}) {
        SCOPED_TRACE(n);
        EXPECT_EQ(starName(n), "");
        EXPECT_EQ(boardNumeral(n), "");
        EXPECT_EQ(starElement(n), 0);
        EXPECT_EQ(starColour(n), 0u);
        EXPECT_EQ(directionName(n), "");
    }
    EXPECT_EQ(StarNames[0], "");
    EXPECT_EQ(StarColours[0], 0u);
}

TEST(StarTables, EveryNumeralIsReadBackAsItsStar)
{
    for (int s = 1; s <= 9; ++s) {
        EXPECT_EQ(starOfNumeral(boardNumeral(s)), s);
    }
    EXPECT_EQ(starOfNumeral("二"), 2);  // the legend's kanji
    for (std::string_view other : {"", "Label14", "五黄土星", "十", "四 ", "\xE5"}) {
        EXPECT_EQ(starOfNumeral(other), 0) << other;
    }
}

TEST(PalaceTables, CentreHasNoDirectionAndNoMeaning)
{
    EXPECT_EQ(directionName(5), "ナシ");
    EXPECT_EQ(spokenPalace(5), "中央");
    EXPECT_EQ(spokenPalace(9), "南");
    EXPECT_EQ(palaceMeaning(5), "");
    EXPECT_EQ(opposite(5), 5);
    for (int p = 1; p <= 9; ++p) {
        SCOPED_TRACE(p);
        EXPECT_EQ(opposite(opposite(p)), p);
        EXPECT_EQ(p == 5, palaceMeaning(p).empty());
    }
}

TEST(PalaceTables, GridHasSouthOnTopAndEastOnTheLeft)
{
    EXPECT_EQ(gridCell(9), (GridCell{0, 1}));
    EXPECT_EQ(gridCell(1), (GridCell{2, 1}));
    EXPECT_EQ(gridCell(3), (GridCell{1, 0}));
    EXPECT_EQ(gridCell(7), (GridCell{1, 2}));
    // Opposite palaces mirror each other through the centre cell.
    for (int p = 1; p <= 9; ++p) {
        SCOPED_TRACE(p);
        EXPECT_EQ(palaceAt(gridCell(p).row, gridCell(p).column), p);
        EXPECT_EQ(gridCell(opposite(p)).row, 2 - gridCell(p).row);
        EXPECT_EQ(gridCell(opposite(p)).column, 2 - gridCell(p).column);
    }
}

}  // namespace
}  // namespace reckoning
