#pragma once

// The calculate command (算出) as a pure function of the six input texts and of
// what the window showed before.

#include "mainwindow/reading_display.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace mainwindow {

// The six texts the command reads, exactly as they stand in the inputs (UTF-8).
struct ReadingInputs {
    std::string birthYear;     // Text1
    std::string birthMonth;    // Combo1
    std::string birthDay;      // Combo2
    std::string readingYear;   // Text4
    std::string readingMonth;  // Combo3
    std::string readingDay;    // Combo4
};

// The six inputs, in the order of ReadingInputs: top to bottom on the window.
enum class ReadingField { BirthYear, BirthMonth, BirthDay, ReadingYear, ReadingMonth, ReadingDay };

// A whole decimal number with an optional sign and blanks around it; full-width
// digits count as digits. Anything else, or a value outside 32 bits, is no number.
std::optional<std::int32_t> parseNumber(std::string_view text);

// A Japanese era year as its Western year: 明治, 大正, 昭和, 平成 or 令和, or the
// initial M, T, S, H or R (either case, half- or full-width), then the year of
// the era as a number or 元, then an optional 年, with blanks around. A year
// past the era's last (明治45, 大正15, 昭和64, 平成31) or below 1 is no year.
std::optional<std::int32_t> parseEraYear(std::string_view text);

// A year: a number as above, or a Japanese era year written as people write them
// on forms, 昭和55, S55, 平成元年, 令和6年, as its Western year.
std::optional<std::int32_t> parseYear(std::string_view text);

// With either year box empty the command does nothing at all, silently.
bool yearBoxEmpty(const ReadingInputs& inputs);

// The first input whose text is no number (an era year counts in the year
// boxes); nothing when all six are numbers.
std::optional<ReadingField> firstNonNumber(const ReadingInputs& inputs);

// The whole reading of the six inputs. With a year box empty, or any text that
// is no number, nothing is read: the result is `previous`, unchanged, so the
// window never mixes one person's reading with another's.
ReadingDisplay calculate(const ReadingInputs& inputs, ReadingDisplay previous);

}  // namespace mainwindow
