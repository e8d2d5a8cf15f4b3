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

// The row of the offset table is the caller's: the main window picks it from the
// text of the reading month, which for a typed "03" is not the row of month 3.
Reading readingFor(const CivilDate& birth, const CivilDate& read, OffsetRow readingRow);

}  // namespace reckoning
