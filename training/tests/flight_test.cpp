#include "training/flight.h"

#include "reckoning/board.h"
#include "reckoning/tables.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <vector>

namespace training {
namespace {

constexpr int Onward = 4;  // the slider's value when the window opens
constexpr int Back = -4;

// The star whose numeral a caption is, or 0.
int starOfCaption(const std::string& caption)
{
    for (int s = 1; s <= 9; ++s) {
        if (reckoning::boardNumeral(s) == caption) {
            return s;
        }
    }
    return 0;
}

// Reads the nine palaces back as a reckoning board, and fails unless every
// caption still stands on its own star's colour.
reckoning::Board starsOf(const TrainingBoard& board)
{
    reckoning::Board stars;
    for (std::size_t p = 1; p <= 9; ++p) {
        const Cell& cell = board.cell[p];
        const int star = starOfCaption(cell.caption);
        EXPECT_NE(star, 0) << "palace " << p << " shows \"" << cell.caption << "\"";
        EXPECT_EQ(cell.background, std::optional{reckoning::starColour(star)}) << "palace " << p;
        stars.star[p] = star;
    }
    return stars;
}

bool samePalaces(const TrainingBoard& a, const TrainingBoard& b)
{
    return std::equal(a.cell.begin() + 1, a.cell.end(), b.cell.begin() + 1);
}

TrainingBoard boardOfCentre(int centre)
{
    TrainingBoard board = initialTrainingBoard();
    while (reckoning::centre(starsOf(board)) != centre) {
        board = flightStep(board, Onward).board;
    }
    return board;
}

TEST(InitialTrainingBoard, IsTheHomeBoardInNumeralsAndStarColours)
{
    const TrainingBoard board = initialTrainingBoard();
    EXPECT_EQ(starsOf(board), reckoning::homeBoard());
    // Star 2's numeral is the katakana ニ (U+30CB), not the kanji 二 (U+4E8C).
    EXPECT_EQ(board.cell[2].caption, "\xE3\x83\x8B");
    EXPECT_EQ(board.cell[1], (Cell{"一", 0x3000C0}));
    EXPECT_EQ(board.cell[5], (Cell{"五", 0xFFFF00}));
    EXPECT_EQ(board.cell[ScratchCell], (Cell{"Label1", std::nullopt}));
}

TEST(FlightStep, SuccessiveStepsBringEachStarToTheCentreInTurn)
{
    const struct {
        int slider;
        std::vector<std::string> centres;
    } runs[] = {
        {Onward, {"四", "三", "ニ", "一", "九", "八", "七", "六", "五"}},
        {0, {"四", "三", "ニ", "一", "九", "八", "七", "六", "五"}},
        {Back, {"六", "七", "八", "九", "一", "ニ", "三", "四", "五"}},
    };
    for (const auto& run : runs) {
        SCOPED_TRACE(run.slider);
        TrainingBoard board = initialTrainingBoard();
        for (const std::string& expected : run.centres) {
            board = flightStep(board, run.slider).board;
            EXPECT_EQ(board.cell[5].caption, expected);
        }
        EXPECT_TRUE(samePalaces(board, initialTrainingBoard()));
    }
}

// Every board the animation can show, both directions: the result is again a full
// board, one period on (隠遁: centre c − 1) or one period back (陽遁: c + 1).
TEST(FlightStep, TurnsEveryBoardIntoTheBoardOfTheNextOrPreviousPeriod)
{
    for (int c = 1; c <= 9; ++c) {
        SCOPED_TRACE(c);
        const TrainingBoard board = boardOfCentre(c);
        ASSERT_EQ(starsOf(board), reckoning::boardFromCentre(c));

        const FlightStep onward = flightStep(board, Onward);
        EXPECT_EQ(onward.direction, "隠遁");
        EXPECT_EQ(starsOf(onward.board), reckoning::boardFromCentre(c == 1 ? 9 : c - 1));

        const FlightStep back = flightStep(board, Back);
        EXPECT_EQ(back.direction, "陽遁");
        EXPECT_EQ(starsOf(back.board), reckoning::boardFromCentre(c == 9 ? 1 : c + 1));

        EXPECT_TRUE(samePalaces(flightStep(onward.board, Back).board, board));
        EXPECT_TRUE(samePalaces(flightStep(back.board, Onward).board, board));

        // The scratch cell ends with palace 1's old content and is never read:
        // whatever it held, the nine palaces come out the same.
        EXPECT_EQ(onward.board.cell[ScratchCell], board.cell[1]);
        EXPECT_EQ(back.board.cell[ScratchCell], board.cell[1]);
        TrainingBoard stale = board;
        stale.cell[ScratchCell] = Cell{"?", 0x123456};
        EXPECT_TRUE(samePalaces(flightStep(stale, Onward).board, onward.board));
        EXPECT_TRUE(samePalaces(flightStep(stale, Back).board, back.board));
    }
}

TEST(FlightStep, NineStepsOneWayBringTheBoardBack)
{
    for (int slider : {Onward, Back}) {
        TrainingBoard board = boardOfCentre(7);
        for (int i = 0; i < 9; ++i) {
            board = flightStep(board, slider).board;
            EXPECT_EQ(samePalaces(board, boardOfCentre(7)), i == 8) << slider << " step " << i + 1;
        }
    }
}

TEST(FlightStep, FirstTicksFromTheHomeBoard)
{
    const TrainingBoard onward = flightStep(initialTrainingBoard(), Onward).board;
    EXPECT_EQ(onward.cell[5].caption, "四");
    EXPECT_EQ(onward.cell[6], (Cell{"五", 0xFFFF00}));  // 北西
    EXPECT_EQ(onward.cell[1], (Cell{"九", 0x800080}));  // 北
    EXPECT_EQ(onward.cell[ScratchCell], (Cell{"一", 0x3000C0}));

    const TrainingBoard back = flightStep(initialTrainingBoard(), Back).board;
    EXPECT_EQ(back.cell[5].caption, "六");
    EXPECT_EQ(back.cell[4], (Cell{"五", 0xFFFF00}));  // 南東
    EXPECT_EQ(back.cell[9], (Cell{"一", 0x3000C0}));  // 南
    EXPECT_EQ(back.cell[ScratchCell], (Cell{"一", 0x3000C0}));
}

TEST(FlightStep, TheSignAloneChoosesTheDirection)
{
    const std::pair<int, std::string_view> cases[] = {
        {0, "隠遁"},    {1, "隠遁"},    {120, "隠遁"},  {INT_MAX, "隠遁"},
        {-1, "陽遁"}, {-120, "陽遁"}, {INT_MIN, "陽遁"},
    };
    for (const auto& [slider, direction] : cases) {
        EXPECT_EQ(flightStep(initialTrainingBoard(), slider).direction, direction) << slider;
    }
}

TEST(SliderMeaning, PeriodTextAndTickPeriod)
{
    const struct {
        int value;
        std::string text;
        long long milliseconds;
    } cases[] = {
        {-120, "60秒", 60000}, {-5, "2.5秒", 2500},   {-4, "2秒", 2000}, {-1, "0.5秒", 500},
        {0, "0秒", 0},         {1, "0.5秒", 500},     {3, "1.5秒", 1500}, {4, "2秒", 2000},
        {119, "59.5秒", 59500}, {120, "60秒", 60000},
        // Outside the slider's range the arithmetic still may not overflow.
        {INT_MAX, "1073741823.5秒", 1073741823500LL}, {INT_MIN, "1073741824秒", 1073741824000LL},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(periodText(c.value), c.text) << c.value;
        EXPECT_EQ(tickPeriod(c.value).count(), c.milliseconds) << c.value;
    }
}

}  // namespace
}  // namespace training
