#include "mainwindow/calculate.h"
#include "mainwindow/spoken_reading.h"

#include <gtest/gtest.h>

namespace mainwindow {
namespace {

using Names10 = std::array<std::string, 10>;
using Names4 = std::array<std::string, 4>;

// Born 1980-05-05, read for 2024-02-10: natal star 2; the month board is the home
// board, the year board has 3 in the centre.
TEST(SpokenReading, WorkedExampleSaysEveryMarkWithItsBoardDirectionAndStar)
{
    const SpokenReading s = spokenReading(calculate({"1980", "5", "5", "2024", "2", "10"}, startDisplay()));
    EXPECT_EQ(s.natalCell, "本命星 ニ黒土星");
    EXPECT_EQ(s.luckySlots, (std::array<std::string, 6>{"", "吉方 六白金星", "吉方 七赤金星", "吉方 八白土星",
                                                        "吉方 九紫火星", ""}));
    EXPECT_EQ(s.monthCells, (Names10{"", "月盤 北 一白水星", "月盤 南西 ニ黒土星 本命殺", "月盤 東 三碧木星",
                                     "月盤 南東 四緑木星", "月盤 中央 五黄土星", "月盤 北西 六白金星 吉",
                                     "月盤 西 七赤金星 吉", "月盤 北東 八白土星 的殺", "月盤 南 九紫火星 吉"}));
    EXPECT_EQ(s.yearCells, (Names10{"", "年盤 北 八白土星 吉", "年盤 南西 九紫火星 吉", "年盤 東 一白水星 暗剣殺",
                                    "年盤 南東 ニ黒土星 本命殺", "年盤 中央 三碧木星", "年盤 北西 四緑木星 的殺",
                                    "年盤 西 五黄土星 五黄殺", "年盤 北東 六白金星 吉", "年盤 南 七赤金星 吉"}));
    EXPECT_EQ(s.monthRows, (Names4{"月盤 五黄殺 ナシ", "月盤 暗剣殺 ナシ", "月盤 本命殺 ニ黒土星 南西",
                                   "月盤 的殺 八白土星 北東"}));
    EXPECT_EQ(s.yearRows, (Names4{"年盤 五黄殺 五黄土星 西", "年盤 暗剣殺 一白水星 東", "年盤 本命殺 ニ黒土星 南東",
                                  "年盤 的殺 四緑木星 北西"}));
}

TEST(SpokenReading, BeforeAnyReadingOnlyTheHomeBoardsAreSaid)
{
    const SpokenReading s = spokenReading(startDisplay());
    // The natal cell holds a numeral drawn black on black: no star is shown yet.
    EXPECT_EQ(s.natalCell, "本命星");
    for (const auto& slot : s.luckySlots) EXPECT_EQ(slot, "");
    EXPECT_EQ(s.monthCells[2], "月盤 南西 ニ黒土星");
    EXPECT_EQ(s.yearCells[5], "年盤 中央 五黄土星");
    EXPECT_EQ(s.monthRows, (Names4{"月盤 五黄殺 五黄土星", "月盤 暗剣殺", "月盤 本命殺", "月盤 的殺"}));
}

TEST(SpokenReading, OnlyMarksThatShowAreSaid)
{
    ReadingDisplay d = startDisplay();
    d.monthMarks[5] = "最大凶";  // the centre's mark label is hidden
    d.monthMarks[0] = "Label14";
    d.yearMarks[1] = "最大凶";
    const SpokenReading s = spokenReading(d);
    EXPECT_EQ(s.monthCells[5], "月盤 中央 五黄土星");
    EXPECT_EQ(s.yearCells[1], "年盤 北 一白水星 最大凶");
    for (const auto& cell : s.monthCells) EXPECT_EQ(cell.find("Label14"), std::string::npos);
}

}  // namespace
}  // namespace mainwindow
