#include "reckoning/board.h"

#include "reckoning/calendar.h"

#include <array>

namespace reckoning {

namespace {

// The nine possible boards, indexed by centre mod 9, built once at compile time:
// a reading lays out two boards, and a look-up is cheaper than nine divisions.
constexpr std::array<Board, 9> AllBoards = [] {
    std::array<Board, 9> boards{};
    for (int c = 0; c < 9; ++c) {
        for (int p = 1; p <= 9; ++p) {
            boards[static_cast<std::size_t>(c)].star[static_cast<std::size_t>(p)] = mod9(c + p - 6) + 1;
        }
    }
    return boards;
}();

}  // namespace

Board boardFromCentre(std::int64_t centre)
{
    return AllBoards[static_cast<std::size_t>(mod9(centre))];
}

Board yearBoard(std::int64_t year, int yearOffset)
{
    // The year board is centred on the star of its solar year.
    return boardFromCentre(9 - mod9(mod9(year) - 2 - yearOffset));
}

Board monthBoard(std::int64_t year, std::int64_t month, int monthOffset)
{
    // 12 x year is reduced modulo 9 first (12 = 3 mod 9) so that no year overflows.
    const int months = mod9(3 * mod9(year) + mod9(month));
    return boardFromCentre(9 - mod9(months - 4 - monthOffset));
}

}  // namespace reckoning
