#include "mainwindow/calculate.h"

#include "reckoning/board.h"
#include "reckoning/calendar.h"
#include "reckoning/directions.h"
#include "reckoning/reading.h"
#include "reckoning/tables.h"

#include <array>
#include <limits>

namespace mainwindow {

namespace {

using reckoning::Board;
using reckoning::UnluckyKind;

// Blanks allowed around a number: ASCII blank, tab and the full-width space that
// a Japanese input method types for the space bar.
std::string_view trimBlanks(std::string_view text)
{
    constexpr std::string_view ideographicSpace = "\u3000";
    for (;;) {
        if (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
            text.remove_prefix(1);
        } else if (text.starts_with(ideographicSpace)) {
            text.remove_prefix(ideographicSpace.size());
        } else if (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
            text.remove_suffix(1);
        } else if (text.ends_with(ideographicSpace)) {
            text.remove_suffix(ideographicSpace.size());
        } else {
            return text;
        }
    }
}

// A digit '0'..'9' or full-width '０'..'９' (EF BC 90 .. EF BC 99) at the start of
// the text: its value and its length in bytes.
std::optional<std::pair<int, std::size_t>> leadingDigit(std::string_view text)
{
    if (!text.empty() && text[0] >= '0' && text[0] <= '9') {
        return std::pair{text[0] - '0', std::size_t{1}};
    }
    if (text.size() >= 3 && text[0] == '\xEF' && text[1] == '\xBC' && text[2] >= '\x90' && text[2] <= '\x99') {
        return std::pair{text[2] - '\x90', std::size_t{3}};
    }
    return std::nullopt;
}

// An era: its name, its initial, its first Western year and its last year.
struct Era {
    std::string_view name;
    char initial;
    std::int32_t firstYear;
    std::int32_t lastYearOfEra;  // 0 for the era that has not ended
};
constexpr std::array<Era, 5> Eras{{{"明治", 'M', 1868, 45},
                                   {"大正", 'T', 1912, 15},
                                   {"昭和", 'S', 1926, 64},
                                   {"平成", 'H', 1989, 31},
                                   {"令和", 'R', 2019, 0}}};

// A Latin letter at the start of the text, half- or full-width, either case, as
// its upper-case ASCII form, and its length in bytes.
std::optional<std::pair<char, std::size_t>> leadingLetter(std::string_view text)
{
    if (!text.empty() && ((text[0] >= 'A' && text[0] <= 'Z') || (text[0] >= 'a' && text[0] <= 'z'))) {
        return std::pair{static_cast<char>(text[0] & ~0x20), std::size_t{1}};
    }
    if (text.size() >= 3 && text[0] == '\xEF' && text[1] == '\xBC' && text[2] >= '\xA1' && text[2] <= '\xBA') {
        return std::pair{static_cast<char>('A' + (text[2] - '\xA1')), std::size_t{3}};  // Ａ..Ｚ
    }
    if (text.size() >= 3 && text[0] == '\xEF' && text[1] == '\xBD' && text[2] >= '\x81' && text[2] <= '\x9A') {
        return std::pair{static_cast<char>('A' + (text[2] - '\x81')), std::size_t{3}};  // ａ..ｚ
    }
    return std::nullopt;
}

// The era the text starts with, and its length in bytes.
std::optional<std::pair<Era, std::size_t>> leadingEra(std::string_view text)
{
    const auto letter = leadingLetter(text);
    for (const Era& era : Eras) {
        if (letter && letter->first == era.initial) {
            return std::pair{era, letter->second};
        }
        if (text.starts_with(era.name)) {
            return std::pair{era, era.name.size()};
        }
    }
    return std::nullopt;
}

// The six texts as numbers, in the order of ReadingField.
std::array<std::optional<std::int32_t>, 6> numbersOf(const ReadingInputs& in)
{
    return {parseYear(in.birthYear),   parseNumber(in.birthMonth),   parseNumber(in.birthDay),
            parseYear(in.readingYear), parseNumber(in.readingMonth), parseNumber(in.readingDay)};
}

CellDisplay cellOf(int star) { return {std::string(reckoning::boardNumeral(star)), reckoning::starColour(star)}; }

void setRow(RowDisplay& row, const reckoning::UnluckyRow& unlucky)
{
    row.value.caption = std::string(unlucky.text());
    row.value.colour = row.nameColour = reckoning::starColour(unlucky.star);
}

void showBoard(std::array<CellDisplay, 10>& cells, std::array<std::string, 10>& marks,
               std::array<RowDisplay, 4>& rows, const Board& board, const reckoning::Directions& directions)
{
    for (int p = 1; p <= 9; ++p) {
        const auto i = static_cast<std::size_t>(p);
        cells[i] = cellOf(board.star[i]);
        marks[i] = std::string(reckoning::markText(directions.marks[i]));
    }
    // Every 五黄殺 row names star 5 and keeps its fixed yellow.
    rows[0].value.caption = std::string(directions.row(UnluckyKind::GoOuSatsu).text());
    setRow(rows[1], directions.row(UnluckyKind::AnkenSatsu));
    setRow(rows[2], directions.row(UnluckyKind::HonmeiSatsu));
    setRow(rows[3], directions.row(UnluckyKind::TekiSatsu));
}

}  // namespace

std::optional<std::int32_t> parseNumber(std::string_view text)
{
    text = trimBlanks(text);
    bool negative = false;
    if (text.starts_with('+') || text.starts_with('-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    while (!text.empty()) {
        const auto digit = leadingDigit(text);
        if (!digit) {
            return std::nullopt;
        }
        value = value * 10 + digit->first;
        if (value > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) {
            return std::nullopt;
        }
        text.remove_prefix(digit->second);
    }
    value = negative ? -value : value;
    if (value > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

std::optional<std::int32_t> parseEraYear(std::string_view text)
{
    text = trimBlanks(text);
    const auto era = leadingEra(text);
    if (!era) {
        return std::nullopt;
    }
    text.remove_prefix(era->second);
    constexpr std::string_view yearSuffix = "年";
    if (text.ends_with(yearSuffix)) {
        text.remove_suffix(yearSuffix.size());
    }
    text = trimBlanks(text);
    std::int64_t yearOfEra = 0;
    if (text == "元") {
        yearOfEra = 1;
    } else if (!text.starts_with('+') && !text.starts_with('-')) {
        yearOfEra = parseNumber(text).value_or(0);
    }
    const std::int64_t year = era->first.firstYear + yearOfEra - 1;
    const std::int32_t lastYearOfEra = era->first.lastYearOfEra;
    if (yearOfEra < 1 || (lastYearOfEra != 0 && yearOfEra > lastYearOfEra) ||
        year > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(year);
}

std::optional<std::int32_t> parseYear(std::string_view text)
{
    if (const auto number = parseNumber(text)) {
        return number;
    }
    return parseEraYear(text);
}

bool yearBoxEmpty(const ReadingInputs& inputs) { return inputs.birthYear.empty() || inputs.readingYear.empty(); }

std::optional<ReadingField> firstNonNumber(const ReadingInputs& inputs)
{
    const auto numbers = numbersOf(inputs);
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (!numbers[i]) {
            return static_cast<ReadingField>(i);
        }
    }
    return std::nullopt;
}

ReadingDisplay calculate(const ReadingInputs& inputs, ReadingDisplay previous)
{
    if (yearBoxEmpty(inputs)) {
        return previous;
    }
    const auto numbers = numbersOf(inputs);
    for (const auto& number : numbers) {
        if (!number) {
            return previous;
        }
    }
    const auto at = [&numbers](ReadingField field) { return std::int64_t{*numbers[static_cast<std::size_t>(field)]}; };
    // The reading month picks its row of the offset table as text ("03" is not
    // "3"), but enters the month board as a number.
    const reckoning::Reading reading = reckoning::readingFor(
        {at(ReadingField::BirthYear), at(ReadingField::BirthMonth), at(ReadingField::BirthDay)},
        {at(ReadingField::ReadingYear), at(ReadingField::ReadingMonth), at(ReadingField::ReadingDay)},
        reckoning::offsetRowForMonthText(inputs.readingMonth));

    ReadingDisplay d = std::move(previous);
    d.natalCell = cellOf(reading.natal);
    d.natalName = {std::string(reckoning::starName(reading.natal)), reckoning::starColour(reading.natal)};
    for (int k = 1; k <= 5; ++k) {
        TextDisplay& slot = d.luckySlots[static_cast<std::size_t>(k)];
        if (k <= reading.lucky.size()) {
            const int star = reading.lucky[k - 1];
            slot = {std::string(reckoning::starName(star)), reckoning::starColour(star)};
        } else {
            slot.caption.clear();
        }
    }
    showBoard(d.monthCells, d.monthMarks, d.monthRows, reading.monthBoard, reading.monthDirections);
    showBoard(d.yearCells, d.yearMarks, d.yearRows, reading.yearBoard, reading.yearDirections);
    return d;
}

}  // namespace mainwindow
