#pragma once

// The solar calendar of Nine Star Ki as the program reckons it: the solar year
// begins on 4 February and every solar month on a fixed boundary day of its civil
// month, the same in every year (no table of solar terms is consulted).

#include <cstdint>
#include <optional>
#include <string_view>

namespace reckoning {

// Never negative, whatever the sign of n: years below 7 (and below 0) still
// land on a star instead of running off the tables.
constexpr int mod9(std::int64_t n)
{
    const auto r = static_cast<int>(n % 9);
    return r < 0 ? r + 9 : r;
}

// 1 when a birthday lies before 4 February, so that the person belongs to the
// solar year before the civil one.
constexpr int birthYearOffset(std::int64_t month, std::int64_t day)
{
    return (month == 1 || (month == 2 && day < 4)) ? 1 : 0;
}

// Rows of the reading-offset table; each row has its own boundary day.
enum class OffsetRow {
    January,         // boundary 6
    February,        // boundary 4: start of the solar year and of its first month
    MarchToMay,      // boundary 5
    June,            // boundary 6
    July,            // boundary 7
    AugustToOctober, // boundary 8
    NovemberDecember // boundary 7; also every month text that matches no other row
};

struct ReadingOffsets {
    int year = 0;   // 1: the date belongs to the previous solar year
    int month = 0;  // 1: the date lies before the boundary day of its civil month
    friend bool operator==(const ReadingOffsets&, const ReadingOffsets&) = default;
};

int boundaryDay(OffsetRow row);

// Row for a month number 1..12; no row for any other number.
std::optional<OffsetRow> offsetRowForMonth(std::int64_t month);

// Row for the text of the reading-month box, compared as text, code unit by code
// unit, the way the reading has always picked it: "3" up to "5" covers every text
// that sorts between them, and anything unmatched, "03" and "13" included, falls to
// the November/December row. For "1".."12" this agrees with offsetRowForMonth.
OffsetRow offsetRowForMonthText(std::string_view monthText);

ReadingOffsets readingOffsets(OffsetRow row, std::int64_t day);

// 本命星: the star of the solar year of birth, 9 - ((Y - 2 - b) mod 9).
constexpr int natalStar(std::int64_t year, int birthOffset)
{
    return 9 - mod9(mod9(year) - 2 - birthOffset);
}

}  // namespace reckoning
