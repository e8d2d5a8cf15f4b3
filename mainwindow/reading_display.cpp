#include "mainwindow/reading_display.h"

#include "reckoning/board.h"
#include "reckoning/tables.h"

namespace mainwindow {

ReadingDisplay startDisplay()
{
    ReadingDisplay d;
    // The natal-star cell already holds a star's numeral, drawn black on black, so
    // that it shows as an empty bordered square until the first reading.
    d.natalCell = {std::string(reckoning::boardNumeral(5)), 0x000000};
    d.natalName = {"", RowTextColour};
    for (std::size_t k = 1; k < d.luckySlots.size(); ++k) {
        d.luckySlots[k] = {"", 0x000000};
    }
    const reckoning::Board home = reckoning::homeBoard();
    for (int p = 1; p <= 9; ++p) {
        const int star = home.star[static_cast<std::size_t>(p)];
        const CellDisplay cell{std::string(reckoning::boardNumeral(star)), reckoning::starColour(star)};
        d.monthCells[static_cast<std::size_t>(p)] = cell;
        d.yearCells[static_cast<std::size_t>(p)] = cell;
    }
    d.monthMarks[0] = "Label14";  // the spare element's placeholder, drawn in black
    for (auto* rows : {&d.monthRows, &d.yearRows}) {
        for (RowDisplay& row : *rows) {
            row = {RowTextColour, {"", RowTextColour}};
        }
        (*rows)[0].value.caption = std::string(reckoning::starName(5));
    }
    // Three value labels of the year board were left with the toolkit's default
    // text colour; the first reading replaces it before they show any text.
    for (std::size_t k = 1; k < 4; ++k) {
        d.yearRows[k].value.colour = DefaultLabelTextColour;
    }
    return d;
}

}  // namespace mainwindow
