#include "training/flight.h"

#include "reckoning/board.h"
#include "reckoning/tables.h"

#include <algorithm>
#include <cstdlib>

namespace training {

TrainingBoard initialTrainingBoard()
{
    // The window carries these captions and colours itself: they come from the
    // star tables, not from the main window, which need not be loaded yet.
    const reckoning::Board home = reckoning::homeBoard();
    TrainingBoard board;
    board.cell[ScratchCell] = Cell{"Label1", std::nullopt};
    for (std::size_t p = 1; p <= 9; ++p) {
        const int star = home.star[p];
        board.cell[p] = Cell{std::string(reckoning::boardNumeral(star)), reckoning::starColour(star)};
    }
    return board;
}

FlightStep flightStep(const TrainingBoard& board, int sliderValue)
{
    FlightStep step{board, sliderValue >= 0 ? OnwardDirection : BackDirection};
    auto& cells = step.board.cell;
    cells[ScratchCell] = board.cell[1];
    const auto first = cells.begin() + 1;
    if (sliderValue >= 0) {
        std::rotate(first, cells.end() - 1, cells.end());  // palace 9's star comes to palace 1
    } else {
        std::rotate(first, first + 1, cells.end());  // palace 1's star goes to palace 9
    }
    return step;
}

std::string periodText(int sliderValue)
{
    // Halves of whole numbers are exact in decimal: a whole part and at most ".5".
    const std::int64_t halves = std::abs(std::int64_t{sliderValue});
    std::string text = std::to_string(halves / 2);
    if (halves % 2 != 0) {
        text += ".5";
    }
    return text + "秒";
}

std::chrono::milliseconds tickPeriod(int sliderValue)
{
    return std::chrono::milliseconds{std::abs(std::int64_t{sliderValue}) * 500};
}

}  // namespace training
