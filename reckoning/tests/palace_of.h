#pragma once

// Where a star stands on a board, searched the plain way: the tests' own answer,
// independent of how the program finds the marks.

#include "reckoning/board.h"

namespace reckoning::tests {

// The palace a star stands in, or 0 when it stands nowhere (not a star 1..9).
inline int palaceOf(const Board& board, int star)
{
    for (int p = 1; p <= 9; ++p) {
        if (board.star[static_cast<std::size_t>(p)] == star) {
            return p;
        }
    }
    return 0;
}

}  // namespace reckoning::tests
