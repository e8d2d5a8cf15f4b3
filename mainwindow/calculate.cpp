#include "mainwindow/calculate.h"

#include "reckoning/board.h"
#include "reckoning/calendar.h"
#include "reckoning/directions.h"
#include "reckoning/tables.h"

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

CellDisplay cellOf(int star) { return {std::string(reckoning::boardNumeral(star)), reckoning::starColour(star)}; }

void setRow(RowDisplay& row, const reckoning::UnluckyRow& unlucky)
{
    row.value.caption = std::string(unlucky.text());
    row.value.colour = row.nameColour = reckoning::starColour(unlucky.star);
}

// Writes one board with its marks and rows. Without a natal star (its year was no
// number) the board still shows where 五黄殺 and 暗剣殺 fall; the 本命殺 and 的殺
// rows keep what they showed, and no palace can be 吉.
void showBoard(std::array<CellDisplay, 10>& cells, std::array<std::string, 10>& marks,
               std::array<RowDisplay, 4>& rows, const Board& board, int natal)
{
    const reckoning::Directions directions = reckoning::readDirections(board, natal);
    for (int p = 1; p <= 9; ++p) {
        const auto i = static_cast<std::size_t>(p);
        cells[i] = cellOf(board.star[i]);
        marks[i] = std::string(reckoning::markText(directions.marks[i]));
    }
    // Every 五黄殺 row names star 5 and keeps its fixed yellow.
    rows[0].value.caption = std::string(directions.row(UnluckyKind::GoOuSatsu).text());
    setRow(rows[1], directions.row(UnluckyKind::AnkenSatsu));
    if (reckoning::isStar(natal)) {
        setRow(rows[2], directions.row(UnluckyKind::HonmeiSatsu));
        setRow(rows[3], directions.row(UnluckyKind::TekiSatsu));
    }
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

ReadingDisplay calculate(const ReadingInputs& inputs, ReadingDisplay previous)
{
    // With either year box empty the command does nothing at all.
    if (inputs.birthYear.empty() || inputs.readingYear.empty()) {
        return previous;
    }
    ReadingDisplay d = std::move(previous);

    // Every working value starts a run at 0; a text that is no number leaves the
    // value it would have given at 0 and the labels it would have written alone.
    int birthOffset = 0;
    const auto birthMonth = parseNumber(inputs.birthMonth);
    const auto birthDay = parseNumber(inputs.birthDay);
    if (birthMonth && birthDay) {
        birthOffset = reckoning::birthYearOffset(*birthMonth, *birthDay);
    }

    // The reading month picks its row of the offset table as text ("03" is not
    // "3"), but enters the month board as a number.
    reckoning::ReadingOffsets offsets;
    if (const auto readingDay = parseNumber(inputs.readingDay)) {
        offsets = reckoning::readingOffsets(reckoning::offsetRowForMonthText(inputs.readingMonth), *readingDay);
    }

    int natal = 0;
    if (const auto birthYear = parseNumber(inputs.birthYear)) {
        natal = reckoning::natalStar(*birthYear, birthOffset);
        d.natalCell = cellOf(natal);
        d.natalName = {std::string(reckoning::starName(natal)), reckoning::starColour(natal)};

        const reckoning::LuckyStars lucky = reckoning::luckyStars(natal);
        for (int k = 1; k <= 5; ++k) {
            TextDisplay& slot = d.luckySlots[static_cast<std::size_t>(k)];
            if (k <= lucky.size()) {
                slot = {std::string(reckoning::starName(lucky[k - 1])), reckoning::starColour(lucky[k - 1])};
            } else {
                slot.caption.clear();
            }
        }
    }

    // No mark of an earlier reading may stay on a board, even one that this run
    // cannot lay out.
    for (int p = 1; p <= 9; ++p) {
        d.monthMarks[static_cast<std::size_t>(p)].clear();
        d.yearMarks[static_cast<std::size_t>(p)].clear();
    }

    const auto readingYear = parseNumber(inputs.readingYear);
    const auto readingMonth = parseNumber(inputs.readingMonth);
    if (readingYear && readingMonth) {
        showBoard(d.monthCells, d.monthMarks, d.monthRows,
                  reckoning::monthBoard(*readingYear, *readingMonth, offsets.month), natal);
    }
    if (readingYear) {
        showBoard(d.yearCells, d.yearMarks, d.yearRows, reckoning::yearBoard(*readingYear, offsets.year), natal);
    }
    return d;
}

}  // namespace mainwindow
