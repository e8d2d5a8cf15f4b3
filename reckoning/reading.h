#pragma once

// A whole reading as data: from a date of birth and a date being read to the
// natal star, the lucky stars and both boards with their directions.

#include "reckoning/board.h"
#include "reckoning/calendar.h"
#include "reckoning/directions.h"

#include <cstdint>

namespace reckoning {

struct CivilDate {
    std::int64_t year = 0;
    std::int64_t month = 0;
    std::int64_t day = 0;
};

struct Reading {
    int birthOffset = 0;
    ReadingOffsets offsets;
    int natal = 0;
    LuckyStars lucky;
    Board monthBoard;
    Board yearBoard;
    Directions monthDirections;
    Directions yearDirections;
};

// The offset row is picked from the reading month's number; a month outside 1..12
// takes the November/December row, as its text would.
Reading readingFor(const CivilDate& birth, const CivilDate& read);

}  // namespace reckoning
