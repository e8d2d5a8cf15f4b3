#pragma once

// The main window's controls: name, place, look and start content, in one table.
//
// Form2 creates its controls by walking `Controls` in order, so the order is also
// the stacking order: the marks come after the board cells they are laid over.
// Captions and colours of the labels a reading writes (board cells, marks, natal
// star, lucky slots, unlucky rows) are not listed here: the window renders
// mainwindow::startDisplay() into them when it is built, so the start state and
// the display model cannot disagree.
//
// Positions are pixels of the client area at 96 dpi; sizes of type in points.

#include "mainwindow/reading_display.h"
#include "reckoning/tables.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace mainwindow::form2_layout {

enum class Kind : std::uint8_t { Label, LineEdit, Combo, Button, Grid };
enum class Face : std::uint8_t { Mincho, Ui, Gothic };
enum class Align : std::uint8_t { Left, Centre };

// How a label's caption is broken into lines. Wrap breaks at a line feed and
// where the caption does not fit the width; Stacked puts every character on a
// line of its own (the marks are one character wide); BreakAtBlanks turns a run
// of ideographic blanks into one line break, which is how the legend heading was
// padded to break after "各方角".
enum class Lines : std::uint8_t { Wrap, Stacked, BreakAtBlanks };

struct Point {
    int x = 0;
    int y = 0;
};

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

struct Font {
    Face face = Face::Ui;
    double points = 9;
};

inline constexpr int NotArray = -1;

struct Control {
    std::string_view name{};
    int index = NotArray;  // element of a control array, or NotArray
    Kind kind = Kind::Label;
    Rect rect{};
    Font font{};
    std::string_view text{};                    // caption or start text
    std::optional<std::uint32_t> textColour{};  // none: the toolkit's default
    std::optional<std::uint32_t> fill{};        // none: clear, the window shows through
    Align align = Align::Left;
    Lines lines = Lines::Wrap;
    bool border = false;
    bool hidden = false;
    bool inputMethod = false;  // Japanese conversion allowed in this input
    int items = 0;             // drop-down list of "1" .. "items"
    std::string_view tooltip{};
    // What a screen reader calls an input: its caption in the window. Buttons
    // and labels are called by their own caption.
    std::string_view accessibleName{};
    // The input a label captions; a screen reader on Linux names a drop-down
    // list by such a label rather than by its accessible name.
    std::string_view buddy{};
    // Left out of what a screen reader finds: another label reads out its
    // meaning (a mark with its board cell, a row's name with its value).
    bool silent = false;
};

// ---- Sizes and colours -----------------------------------------------------

inline constexpr Rect LayoutArea{0, 0, 993, 665};
inline constexpr Point RestoredClientSize{819, 573};

inline constexpr std::uint32_t Black = 0x000000;
inline constexpr std::uint32_t BirthBlue = 0xC0C0FF;     // date of birth, headings
inline constexpr std::uint32_t ReadingGreen = 0xC0FFC0;  // date read, board headings
inline constexpr std::uint32_t ReadingGrey = 0xE0E0E0;   // date read inputs
inline constexpr std::uint32_t MarkPink = 0xFFC0C0;
inline constexpr std::uint32_t ListHeading = 0xFFE0C0;
inline constexpr std::uint32_t RowYellow = RowTextColour;

inline constexpr Font Mincho1425{Face::Mincho, 14.25};
inline constexpr Font Mincho12{Face::Mincho, 12};
inline constexpr Font Mincho1125{Face::Mincho, 11.25};
inline constexpr Font Mincho9{Face::Mincho, 9};
inline constexpr Font UiFont{Face::Ui, 9};
inline constexpr Font Gothic9{Face::Gothic, 9};

// Board cells overlap their neighbours by one pixel, so that two cells share one
// border line.
inline constexpr int CellSize = 73;
inline constexpr int CellPitch = CellSize - 1;
inline constexpr Point MonthBoardOrigin{8, 16};
inline constexpr Point YearBoardOrigin{280, 16};
inline constexpr Point MarkOffset{24, 8};
inline constexpr Point MarkSize{25, 57};
inline constexpr int LegendCellSize = 49;
inline constexpr int LegendPitch = LegendCellSize - 1;
inline constexpr Point LegendOrigin{8, 480};
// The spare marks stand in the black gap between the boards: Label14(0) shows its
// placeholder caption in black there, Label13(0) is hidden.
inline constexpr Rect SpareMark{248, 16, MarkSize.x, MarkSize.y};

inline constexpr int RowHeight = 17;
inline constexpr int RowNameWidth = 41;
inline constexpr int RowValueWidth = 121;
inline constexpr std::array<int, 4> RowTops = {384, 408, 432, 456};
inline constexpr int MonthRowNameX = 8;
inline constexpr int MonthRowValueX = 104;
inline constexpr int YearRowNameX = 280;
inline constexpr int YearRowValueX = 376;

inline constexpr Point LuckySlotSize{73, 17};
inline constexpr std::array<Point, 6> LuckySlotPlaces = {{
    {0, 0}, {272, 320}, {272, 344}, {360, 320}, {360, 344}, {440, 320},
}};

// The four unlucky rows of each board, in the order of ReadingDisplay's rows.
struct UnluckyRowNames {
    std::string_view month;
    std::string_view year;
    std::string_view caption;
};
inline constexpr std::array<UnluckyRowNames, 4> UnluckyRows = {{
    {"Label4", "Label20", "五黄殺"},
    {"Label16", "Label21", "暗剣殺"},
    {"Label15", "Label22", "本命殺"},
    {"Label17", "Label23", "的殺"},
}};

// The legend writes the palace's numeral in kanji: 二 (U+4E8C) for palace 2,
// where the boards write the katakana ニ of the star's name.
inline constexpr std::array<std::string_view, 10> LegendCaptions = {
    "", "北\n一", "南西\n二", "東\n三", "南東\n四", "", "北西\n六", "西\n七", "北東\n八", "南\n九",
};

inline constexpr std::array<std::string_view, 15> TabOrder = {
    "Text1",  "Text4",       "Command1", "Combo1",   "Combo2",   "Combo3",   "Combo4",   "Command2",
    "MSFlexGrid1", "Text2", "Command3", "Command4", "Command5", "Command6", "Command7",
};

// ---- Generated groups ------------------------------------------------------

constexpr Rect gridCellRect(Point origin, int pitch, int size, int palace)
{
    const reckoning::GridCell at = reckoning::gridCell(palace);
    return {origin.x + at.column * pitch, origin.y + at.row * pitch, size, size};
}

// Palaces in the order their cells are stacked: row by row from the top left, so
// that each shared border line is the shadow edge of the lower or right-hand cell
// and every inner line of a board looks the same.
inline constexpr std::array<int, 9> StackingOrder = [] {
    std::array<int, 9> order{};
    for (int k = 0; k < 9; ++k) {
        order[static_cast<std::size_t>(k)] = reckoning::palaceAt(k / 3, k % 3);
    }
    return order;
}();

constexpr std::array<Control, 9> boardCells(std::string_view name, Point origin)
{
    std::array<Control, 9> cells{};
    for (std::size_t k = 0; k < StackingOrder.size(); ++k) {
        const int p = StackingOrder[k];
        cells[k] = {
            .name = name, .index = p, .rect = gridCellRect(origin, CellPitch, CellSize, p),
            .font = Mincho12, .textColour = Black, .fill = Black, .align = Align::Centre, .border = true,
        };
    }
    return cells;
}

// Element 5 (the centre) is written by every reading but never shown.
constexpr std::array<Control, 10> boardMarks(std::string_view name, Point origin, Align align,
                                             bool spareShown)
{
    std::array<Control, 10> marks{};
    for (int p = 0; p <= 9; ++p) {
        const Rect cell = gridCellRect(origin, CellPitch, CellSize, p);
        const bool spare = p == 0;
        marks[static_cast<std::size_t>(p)] = {
            .name = name, .index = p,
            .rect = spare ? SpareMark : Rect{cell.x + MarkOffset.x, cell.y + MarkOffset.y, MarkSize.x, MarkSize.y},
            .font = Mincho1425, .textColour = spare ? Black : MarkPink, .align = align,
            .lines = Lines::Stacked,
            .hidden = p == reckoning::CentrePalace || (spare && !spareShown), .silent = true,
        };
    }
    return marks;
}

constexpr std::array<Control, 8> unluckyRows(bool month)
{
    std::array<Control, 8> rows{};
    for (std::size_t k = 0; k < UnluckyRows.size(); ++k) {
        const UnluckyRowNames& names = UnluckyRows[k];
        const std::string_view name = month ? names.month : names.year;
        rows[2 * k] = {
            .name = name, .index = 1,
            .rect = {month ? MonthRowNameX : YearRowNameX, RowTops[k], RowNameWidth, RowHeight},
            .font = Mincho9, .text = names.caption, .textColour = RowYellow, .silent = true,
        };
        rows[2 * k + 1] = {
            .name = name, .index = 2,
            .rect = {month ? MonthRowValueX : YearRowValueX, RowTops[k], RowValueWidth, RowHeight},
            .font = Mincho9, .textColour = RowYellow,
        };
    }
    return rows;
}

constexpr std::array<Control, 5> luckySlots()
{
    std::array<Control, 5> lucky{};
    for (int k = 1; k <= 5; ++k) {
        const Point at = LuckySlotPlaces[static_cast<std::size_t>(k)];
        lucky[static_cast<std::size_t>(k - 1)] = {
            .name = "Label24", .index = k, .rect = {at.x, at.y, LuckySlotSize.x, LuckySlotSize.y},
            .font = Mincho1125, .textColour = Black,
        };
    }
    return lucky;
}

// The small home board: each palace in its home star's colour, the centre empty.
inline constexpr std::string_view LegendName = "Label30";
constexpr std::array<Control, 9> legend()
{
    std::array<Control, 9> cells{};
    for (std::size_t k = 0; k < StackingOrder.size(); ++k) {
        const int p = StackingOrder[k];
        cells[k] = {
            .name = LegendName, .index = p,
            .rect = gridCellRect(LegendOrigin, LegendPitch, LegendCellSize, p),
            .font = Mincho1125, .text = LegendCaptions[static_cast<std::size_t>(p)], .textColour = Black,
            .fill = reckoning::starColour(p), .align = Align::Centre, .border = true,
            .tooltip = reckoning::palaceMeaning(p),
        };
    }
    return cells;
}

// ---- The inputs, the commands and the fixed labels -------------------------

inline constexpr std::array<Control, 16> Inputs = {{
    {.name = "Label26", .rect = {520, 24, 65, 25}, .font = Mincho1425, .text = "名前",
     .textColour = BirthBlue, .fill = Black, .buddy = "Text2"},
    {.name = "Text2", .kind = Kind::LineEdit, .rect = {528, 48, 153, 25}, .font = Mincho1425,
     .inputMethod = true, .accessibleName = "名前"},
    {.name = "Label11", .rect = {544, 96, 113, 17}, .font = Mincho1425, .text = "生年月日",
     .textColour = BirthBlue},
    {.name = "Text1", .kind = Kind::LineEdit, .rect = {576, 120, 65, 18}, .fill = BirthBlue,
     .accessibleName = "生年月日 年"},
    {.name = "Label5", .rect = {648, 120, 25, 17}, .font = Mincho1125, .text = "年",
     .textColour = BirthBlue, .align = Align::Centre, .buddy = "Text1"},
    {.name = "Combo1", .kind = Kind::Combo, .rect = {576, 144, 65, 20}, .text = "1", .fill = BirthBlue,
     .items = 12, .accessibleName = "生年月日 月"},
    {.name = "Label6", .rect = {648, 144, 25, 17}, .font = Mincho1125, .text = "月",
     .textColour = BirthBlue, .align = Align::Centre, .buddy = "Combo1"},
    {.name = "Combo2", .kind = Kind::Combo, .rect = {576, 168, 65, 20}, .text = "4", .fill = BirthBlue,
     .items = 31, .accessibleName = "生年月日 日"},
    {.name = "Label7", .rect = {648, 168, 25, 17}, .font = Mincho1125, .text = "日",
     .textColour = BirthBlue, .align = Align::Centre, .buddy = "Combo2"},
    {.name = "Label12", .rect = {544, 200, 113, 17}, .font = Mincho1425, .text = "占う年月",
     .textColour = ReadingGreen},
    {.name = "Text4", .kind = Kind::LineEdit, .rect = {576, 224, 65, 18}, .fill = ReadingGrey,
     .accessibleName = "占う年月 年"},
    {.name = "Label8", .rect = {648, 224, 25, 17}, .font = Mincho1125, .text = "年",
     .textColour = ReadingGreen, .align = Align::Centre, .buddy = "Text4"},
    {.name = "Combo3", .kind = Kind::Combo, .rect = {576, 248, 65, 20}, .text = "1", .fill = ReadingGrey,
     .items = 12, .accessibleName = "占う年月 月"},
    {.name = "Label9", .rect = {648, 248, 25, 17}, .font = Mincho1125, .text = "月",
     .textColour = ReadingGreen, .align = Align::Centre, .buddy = "Combo3"},
    {.name = "Combo4", .kind = Kind::Combo, .rect = {576, 272, 65, 20}, .text = "10", .fill = ReadingGrey,
     .items = 31, .accessibleName = "占う年月 日"},
    {.name = "Label10", .rect = {648, 272, 25, 17}, .font = Mincho1125, .text = "日",
     .textColour = ReadingGreen, .align = Align::Centre, .buddy = "Combo4"},
}};

inline constexpr std::array<Control, 10> Commands = {{
    {.name = "Command1", .kind = Kind::Button, .rect = {576, 304, 97, 17}, .font = Mincho9, .text = "算出"},
    {.name = "Command3", .kind = Kind::Button, .rect = {576, 328, 97, 17}, .text = "リスト登録"},
    {.name = "Label27", .rect = {544, 376, 113, 17}, .font = Mincho1425, .text = "選択データ",
     .textColour = ListHeading},
    {.name = "Command4", .kind = Kind::Button, .rect = {576, 408, 97, 17}, .text = "読み出し"},
    {.name = "Command7", .kind = Kind::Button, .rect = {576, 432, 97, 17}, .text = "削除"},
    {.name = "MSFlexGrid1", .kind = Kind::Grid, .rect = {696, 32, 293, 585}, .font = Gothic9,
     .accessibleName = "リスト"},
    {.name = "Command6", .kind = Kind::Button, .rect = {792, 624, 97, 17}, .text = "リストを開く"},
    {.name = "Command5", .kind = Kind::Button, .rect = {896, 624, 97, 17}, .text = "リスト保存"},
    {.name = "Command2", .kind = Kind::Button, .rect = {896, 648, 97, 17}, .font = Mincho9,
     .text = "イメージ"},
    {.name = "Label25", .rect = {8, 632, 161, 33}, .font = Mincho1125,
     .text = "定位盤(九星及び各方角　　　　　の意味）", .textColour = ReadingGreen,
     .lines = Lines::BreakAtBlanks},
}};

inline constexpr std::array<Control, 7> Results = {{
    {.name = "Label18", .rect = {8, 248, 145, 17}, .font = Mincho12, .text = "月盤　(月の方位盤)",
     .textColour = ReadingGreen},
    {.name = "Label19", .rect = {280, 248, 145, 17}, .font = Mincho12, .text = "年盤　(年の方位盤)",
     .textColour = ReadingGreen},
    {.name = "Label3", .index = 1, .rect = {96, 296, 153, 17}, .font = Mincho9,
     .text = "本命星　(あなたの生まれ星)", .textColour = BirthBlue},
    {.name = "Label1", .index = 0, .rect = {8, 296, CellSize, CellSize}, .font = Mincho12,
     .textColour = Black, .fill = Black, .align = Align::Centre, .border = true},
    {.name = "Label3", .index = 2, .rect = {96, 328, 73, 17}, .font = Mincho1125, .textColour = RowYellow,
     .silent = true},
    {.name = "Label3", .index = 3, .rect = {176, 328, 73, 17}, .font = Mincho1125, .text = "Label3",
     .textColour = RowYellow, .hidden = true},
    {.name = "Label24", .index = 0, .rect = {272, 296, 185, 17}, .font = Mincho9,
     .text = "吉方 (凶方と重なる時は使えません)", .textColour = BirthBlue},
}};

// ---- The whole window ------------------------------------------------------

template <std::size_t... N>
constexpr auto join(const std::array<Control, N>&... groups)
{
    std::array<Control, (N + ...)> all{};
    auto out = all.begin();
    ((out = std::copy(groups.begin(), groups.end(), out)), ...);
    return all;
}

inline constexpr auto Controls =
    join(Inputs, Commands, boardCells("Label1", MonthBoardOrigin), boardMarks("Label14", MonthBoardOrigin, Align::Left, true),
         boardCells("Label2", YearBoardOrigin), boardMarks("Label13", YearBoardOrigin, Align::Centre, false),
         Results, luckySlots(), unluckyRows(true), unluckyRows(false), legend());

// Position of a control in `Controls`, or Controls.size() when there is none.
constexpr std::size_t indexOf(std::string_view name, int index = NotArray)
{
    for (std::size_t i = 0; i < Controls.size(); ++i) {
        if (Controls[i].name == name && Controls[i].index == index) {
            return i;
        }
    }
    return Controls.size();
}

// ---- Handles ---------------------------------------------------------------
//
// The window reaches its controls through these constants, never by a name
// looked up at run time: each is worked out while compiling, and a name that is
// not in the table, or a control of another kind, stops the build.

template <Kind K>
struct Handle {
    std::size_t at = 0;  // position in Controls
};

// Only ever evaluated while compiling: the throw is what stops the build.
constexpr std::size_t checkedIndexOf(std::string_view name, int index, Kind kind)
{
    const std::size_t at = indexOf(name, index);
    if (at == Controls.size() || Controls[at].kind != kind) {
        throw "no control of that name and kind in the layout";
    }
    return at;
}

template <Kind K>
constexpr Handle<K> handle(std::string_view name, int index = NotArray)
{
    return {checkedIndexOf(name, index, K)};
}

// Elements 0..N-1 of a control array; elements not in the window stay at 0 and
// are never used (board cells have no element 0 of their own, it is the natal
// cell of another meaning).
template <std::size_t N>
constexpr std::array<Handle<Kind::Label>, N> labelArray(std::string_view name, int first)
{
    std::array<Handle<Kind::Label>, N> handles{};
    for (int i = first; i < static_cast<int>(N); ++i) {
        handles[static_cast<std::size_t>(i)] = handle<Kind::Label>(name, i);
    }
    return handles;
}

namespace control {

inline constexpr auto Text2 = handle<Kind::LineEdit>("Text2");  // name
inline constexpr auto Text1 = handle<Kind::LineEdit>("Text1");  // birth year
inline constexpr auto Combo1 = handle<Kind::Combo>("Combo1");   // birth month
inline constexpr auto Combo2 = handle<Kind::Combo>("Combo2");   // birth day
inline constexpr auto Text4 = handle<Kind::LineEdit>("Text4");  // reading year
inline constexpr auto Combo3 = handle<Kind::Combo>("Combo3");   // reading month
inline constexpr auto Combo4 = handle<Kind::Combo>("Combo4");   // reading day

inline constexpr auto Command1 = handle<Kind::Button>("Command1");  // 算出
inline constexpr auto Command2 = handle<Kind::Button>("Command2");  // イメージ
inline constexpr auto Command3 = handle<Kind::Button>("Command3");  // リスト登録
inline constexpr auto Command4 = handle<Kind::Button>("Command4");  // 読み出し
inline constexpr auto Command5 = handle<Kind::Button>("Command5");  // リスト保存
inline constexpr auto Command6 = handle<Kind::Button>("Command6");  // リストを開く
inline constexpr auto Command7 = handle<Kind::Button>("Command7");  // 削除
inline constexpr auto MSFlexGrid1 = handle<Kind::Grid>("MSFlexGrid1");

inline constexpr auto NatalCell = handle<Kind::Label>("Label1", 0);
inline constexpr auto NatalName = handle<Kind::Label>("Label3", 2);
inline constexpr auto LuckySlots = labelArray<6>("Label24", 1);  // [0] unused
inline constexpr auto MonthCells = labelArray<10>("Label1", 1);  // [0] unused
inline constexpr auto YearCells = labelArray<10>("Label2", 1);   // [0] unused
inline constexpr auto MonthMarks = labelArray<10>("Label14", 0);
inline constexpr auto YearMarks = labelArray<10>("Label13", 0);

// Name (element 1) and value (element 2) label of each unlucky row, in the order
// of ReadingDisplay's rows.
struct RowHandles {
    Handle<Kind::Label> name;
    Handle<Kind::Label> value;
};
constexpr std::array<RowHandles, 4> rowHandles(bool month)
{
    std::array<RowHandles, 4> rows{};
    for (std::size_t k = 0; k < UnluckyRows.size(); ++k) {
        const std::string_view name = month ? UnluckyRows[k].month : UnluckyRows[k].year;
        rows[k] = {handle<Kind::Label>(name, 1), handle<Kind::Label>(name, 2)};
    }
    return rows;
}
inline constexpr auto MonthRows = rowHandles(true);
inline constexpr auto YearRows = rowHandles(false);

}  // namespace control

// The keyboard order as positions in Controls; a name not in the table stops
// the build here too.
inline constexpr auto TabStops = [] {
    std::array<std::size_t, TabOrder.size()> stops{};
    for (std::size_t i = 0; i < TabOrder.size(); ++i) {
        stops[i] = indexOf(TabOrder[i]);
        if (stops[i] == Controls.size()) {
            throw "a tab stop that is not in the layout";
        }
    }
    return stops;
}();

// Every label that names a buddy names a control of the table.
static_assert(std::ranges::all_of(Controls, [](const Control& c) {
    return c.buddy.empty() || indexOf(c.buddy) != Controls.size();
}));

}  // namespace mainwindow::form2_layout
