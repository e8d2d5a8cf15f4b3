#pragma once

// Boards (方位盤): which star stands in which palace for one solar year or month.

#include <array>
#include <cstdint>

namespace reckoning {

struct Board {
    // star[p] is the star standing in palace p; star[0] is unused and stays 0.
    std::array<int, 10> star{};
    friend bool operator==(const Board&, const Board&) = default;
};

// The filling rule: star(p) = ((c + p - 6) mod 9) + 1, so the centre star c stands
// in palace 5 and each following star one palace further along 5, 6, 7, 8, 9, 1,
// 2, 3, 4. A centre outside 1..9 is taken modulo 9 like any other star number.
Board boardFromCentre(std::int64_t centre);

// 定位盤: star p in palace p.
inline Board homeBoard() { return boardFromCentre(5); }

// 年盤 of the solar year that a date being read falls in.
Board yearBoard(std::int64_t year, int yearOffset);

// 月盤: counts months continuously across years (12 x year + month), so it needs
// the month offset alone. The month enters as a number: a typed 13 is the January
// of the next year, as the arithmetic has it.
Board monthBoard(std::int64_t year, std::int64_t month, int monthOffset);

inline int centre(const Board& board) { return board.star[5]; }

}  // namespace reckoning
