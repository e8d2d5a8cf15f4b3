#include "mainwindow/spoken_reading.h"

#include "reckoning/directions.h"
#include "reckoning/tables.h"

#include <string_view>

namespace mainwindow {

namespace {

// Words joined by one blank; empty words are left out.
void append(std::string& spoken, std::string_view word)
{
    if (word.empty()) {
        return;
    }
    if (!spoken.empty()) {
        spoken += ' ';
    }
    spoken += word;
}

// A row's value "五黄土星    西" with its run of blanks read as one.
std::string squeezeBlanks(std::string_view text)
{
    std::string squeezed;
    for (const char c : text) {
        if (c != ' ' || (!squeezed.empty() && squeezed.back() != ' ')) {
            squeezed += c;
        }
    }
    while (!squeezed.empty() && squeezed.back() == ' ') {
        squeezed.pop_back();
    }
    return squeezed;
}

// The name of each unlucky row, in the order of ReadingDisplay's rows.
constexpr std::array<reckoning::PalaceMark, 4> RowMarks = {reckoning::PalaceMark::GoOuSatsu,
                                                           reckoning::PalaceMark::AnkenSatsu,
                                                           reckoning::PalaceMark::HonmeiSatsu,
                                                           reckoning::PalaceMark::TekiSatsu};

void speakBoard(std::string_view board, const std::array<CellDisplay, 10>& cells, const std::array<std::string, 10>& marks,
                const std::array<RowDisplay, 4>& rows, std::array<std::string, 10>& spokenCells,
                std::array<std::string, 4>& spokenRows)
{
    for (int p = 1; p <= 9; ++p) {
        const auto i = static_cast<std::size_t>(p);
        std::string& spoken = spokenCells[i];
        spoken = board;
        append(spoken, reckoning::spokenCell(p, cells[i].caption));
        // The centre's mark never shows: the centre is no direction to go.
        if (p != reckoning::CentrePalace) {
            append(spoken, marks[i]);
        }
    }
    for (std::size_t k = 0; k < rows.size(); ++k) {
        std::string& spoken = spokenRows[k];
        spoken = board;
        append(spoken, reckoning::markText(RowMarks[k]));
        append(spoken, squeezeBlanks(rows[k].value.caption));
    }
}

}  // namespace

SpokenReading spokenReading(const ReadingDisplay& display)
{
    SpokenReading spoken;
    spoken.natalCell = "本命星";
    append(spoken.natalCell, display.natalName.caption);
    for (std::size_t k = 1; k < spoken.luckySlots.size(); ++k) {
        if (!display.luckySlots[k].caption.empty()) {
            spoken.luckySlots[k] = "吉方 " + display.luckySlots[k].caption;
        }
    }
    speakBoard("月盤", display.monthCells, display.monthMarks, display.monthRows, spoken.monthCells, spoken.monthRows);
    speakBoard("年盤", display.yearCells, display.yearMarks, display.yearRows, spoken.yearCells, spoken.yearRows);
    return spoken;
}

}  // namespace mainwindow
