#pragma once

// Everything the calculate command writes into the main window, as plain values:
// captions (UTF-8) and colours (0xRRGGBB). The main window owns the current
// ReadingDisplay and copies it into its labels; nothing here knows about widgets.

#include <array>
#include <cstdint>
#include <string>

namespace mainwindow {

// A board cell or the natal-star cell: caption drawn in black on the fill.
struct CellDisplay {
    std::string caption;
    std::uint32_t fill = 0;
    friend bool operator==(const CellDisplay&, const CellDisplay&) = default;
};

// A clear label: caption in a text colour.
struct TextDisplay {
    std::string caption;
    std::uint32_t colour = 0;
    friend bool operator==(const TextDisplay&, const TextDisplay&) = default;
};

// One unlucky row: the fixed name label (element 1) and the value label
// (element 2). Only the colours of the name label change; its caption is fixed.
struct RowDisplay {
    std::uint32_t nameColour = 0;
    TextDisplay value;
    friend bool operator==(const RowDisplay&, const RowDisplay&) = default;
};

// Text colour of a label that was never given one (the toolkit's default).
inline constexpr std::uint32_t DefaultLabelTextColour = 0x000000;
inline constexpr std::uint32_t RowTextColour = 0xFFFF00;

struct ReadingDisplay {
    CellDisplay natalCell;                   // Label1(0)
    TextDisplay natalName;                   // Label3(2)
    std::array<TextDisplay, 6> luckySlots;   // Label24(1..5); [0] unused
    std::array<CellDisplay, 10> monthCells;  // Label1(1..9), by palace; [0] unused
    std::array<CellDisplay, 10> yearCells;   // Label2(1..9)
    std::array<std::string, 10> monthMarks;  // Label14(0..9); 5 is hidden
    std::array<std::string, 10> yearMarks;   // Label13(0..9); 0 and 5 are hidden
    std::array<RowDisplay, 4> monthRows;     // Label4, Label16, Label15, Label17
    std::array<RowDisplay, 4> yearRows;      // Label20, Label21, Label22, Label23
    friend bool operator==(const ReadingDisplay&, const ReadingDisplay&) = default;
};

// What the window shows before the first calculation: the home board on both
// boards, no marks, an empty black natal-star cell, "五黄土星" in both 五黄殺 rows.
ReadingDisplay startDisplay();

}  // namespace mainwindow
