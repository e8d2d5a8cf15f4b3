#include "reckoning/calendar.h"

namespace reckoning {

int boundaryDay(OffsetRow row)
{
    switch (row) {
    case OffsetRow::January:
    case OffsetRow::June:
        return 6;
    case OffsetRow::February:
        return 4;
    case OffsetRow::MarchToMay:
        return 5;
    case OffsetRow::July:
    case OffsetRow::NovemberDecember:
        return 7;
    case OffsetRow::AugustToOctober:
        return 8;
    }
    return 7;
}

std::optional<OffsetRow> offsetRowForMonth(std::int64_t month)
{
    switch (month) {
    case 1: return OffsetRow::January;
    case 2: return OffsetRow::February;
    case 3: case 4: case 5: return OffsetRow::MarchToMay;
    case 6: return OffsetRow::June;
    case 7: return OffsetRow::July;
    case 8: case 9: case 10: return OffsetRow::AugustToOctober;
    case 11: case 12: return OffsetRow::NovemberDecember;
    default: return std::nullopt;
    }
}

OffsetRow offsetRowForMonthText(std::string_view monthText)
{
    // UTF-8 byte order equals code point order, and every text that could fall
    // inside "3".."5" starts with an ASCII byte, so comparing bytes picks the same
    // row as comparing UTF-16 code units.
    if (monthText == "2") return OffsetRow::February;
    if (monthText == "1") return OffsetRow::January;
    if (monthText >= "3" && monthText <= "5") return OffsetRow::MarchToMay;
    if (monthText == "6") return OffsetRow::June;
    if (monthText == "7") return OffsetRow::July;
    if (monthText == "8" || monthText == "9" || monthText == "10") return OffsetRow::AugustToOctober;
    return OffsetRow::NovemberDecember;
}

ReadingOffsets readingOffsets(OffsetRow row, std::int64_t day)
{
    const bool beforeBoundary = day < boundaryDay(row);
    switch (row) {
    case OffsetRow::January:
        // All of January still belongs to the previous solar year; on or after the
        // 6th it is that year's last solar month.
        return {1, beforeBoundary ? 1 : 0};
    case OffsetRow::February:
        return beforeBoundary ? ReadingOffsets{1, 1} : ReadingOffsets{0, 0};
    default:
        return {0, beforeBoundary ? 1 : 0};
    }
}

}  // namespace reckoning
