#pragma once

// The star flight of the training window, apart from any window: the training
// board, one tick of the flight, and what the speed slider's value means.
//
// At every tick all nine stars move one palace along the flight path
// 5 → 6 → 7 → 8 → 9 → 1 → 2 → 3 → 4 → 5 at once. Palaces are numbered after their
// home stars, so "onward" is simply palace p → p + 1 (9 → 1), which turns the board
// of centre star c into the board of c − 1: a run of 隠遁 steps walks through the
// boards of successive periods, a run of 陽遁 steps walks back through them.

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace training {

// What one cell of the training window shows. A star's caption and colour travel
// together and are never changed, only moved; the text colour belongs to the board.
struct Cell {
    std::string caption;                      // UTF-8
    std::optional<std::uint32_t> background;  // 0xRRGGBB; none: the toolkit's own
    friend bool operator==(const Cell&, const Cell&) = default;
};

inline constexpr std::size_t ScratchCell = 0;

struct TrainingBoard {
    // cell[p] is the content of palace p. cell[0] is the scratch cell the window
    // keeps hidden: after a step it holds what palace 1 held before it.
    std::array<Cell, 10> cell;
    friend bool operator==(const TrainingBoard&, const TrainingBoard&) = default;
};

// 定位盤 (star p in palace p) in board numerals and star colours; the scratch cell
// holds the placeholder caption "Label1" on the toolkit's colours.
TrainingBoard initialTrainingBoard();

inline constexpr std::string_view OnwardDirection = "隠遁";  // slider value 0 or more
inline constexpr std::string_view BackDirection = "陽遁";    // slider value below 0

struct FlightStep {
    TrainingBoard board;
    std::string_view direction;
};

// One tick. The sign of the slider decides the direction at every tick; the
// direction text is meant to be written before the cells, whether or not it
// changed, so the label always names the step the user just saw.
FlightStep flightStep(const TrainingBoard& board, int sliderValue);

// The period label for a slider value: |V| / 2 seconds in its shortest decimal
// form, "0秒", "0.5秒", "2秒", "59.5秒". Any int gives its text; no overflow.
std::string periodText(int sliderValue);

// |V| x 500 ms; zero means the board stands still.
std::chrono::milliseconds tickPeriod(int sliderValue);

}  // namespace training
