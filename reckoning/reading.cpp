#include "reckoning/reading.h"

namespace reckoning {

Reading readingFor(const CivilDate& birth, const CivilDate& read, OffsetRow readingRow)
{
    Reading r;
    r.birthOffset = birthYearOffset(birth.month, birth.day);
    r.offsets = readingOffsets(readingRow, read.day);
    r.natal = natalStar(birth.year, r.birthOffset);
    r.lucky = luckyStars(r.natal);
    r.monthBoard = monthBoard(read.year, read.month, r.offsets.month);
    r.yearBoard = yearBoard(read.year, r.offsets.year);
    r.monthDirections = readDirections(r.monthBoard, r.natal);
    r.yearDirections = readDirections(r.yearBoard, r.natal);
    return r;
}

}  // namespace reckoning
