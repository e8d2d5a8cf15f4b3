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

// A whole decimal number with an optional sign and blanks around it; full-width
// digits count as digits. Anything else, or a value outside 32 bits, is no number.
std::optional<std::int32_t> parseNumber(std::string_view text);

// Runs the command's steps on the inputs. Where a step cannot run (a text that is
// not a number), the outputs it would have written keep their value in `previous`.
ReadingDisplay calculate(const ReadingInputs& inputs, ReadingDisplay previous);

}  // namespace mainwindow
