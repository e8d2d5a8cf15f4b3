#pragma once

// The fixed vocabulary of the reckoning: the nine stars and the nine palaces.
//
// Every table has ten slots so that it can be indexed directly by a star or
// palace number 1..9; slot 0 holds the empty value of its kind (empty text,
// element 0, black) and is never meant to be read. The look-up functions below
// return that empty value for any number outside 1..9 instead of reading past
// the table.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace reckoning {

inline constexpr int StarCount = 9;
inline constexpr int CentrePalace = 5;

// Star 2 is written with the katakana ニ (U+30CB), in its name and as its board
// numeral; only the home-board legend of the main window uses the kanji 二.
inline constexpr std::array<std::string_view, 10> StarNames = {
    "",         "一白水星", "ニ黒土星", "三碧木星", "四緑木星",
    "五黄土星", "六白金星", "七赤金星", "八白土星", "九紫火星",
};

// Element codes follow the generating cycle 木 0 → 火 1 → 土 2 → 金 3 → 水 4 → 木.
inline constexpr std::array<std::int16_t, 10> StarElements = {0, 4, 2, 0, 0, 2, 3, 3, 2, 1};

// 0xRRGGBB, the background of a star's cell on every board.
inline constexpr std::array<std::uint32_t, 10> StarColours = {
    0x000000, 0x3000C0, 0x004040, 0x008060, 0x20BB50,
    0xFFFF00, 0xFF7000, 0xFF0000, 0xDD00AA, 0x800080,
};

// Palace 5 is the centre and has no direction: its name is "ナシ" (none).
inline constexpr std::array<std::string_view, 10> DirectionNames = {
    "", "北", "南西", "東", "南東", "ナシ", "北西", "西", "北東", "南",
};

inline constexpr std::array<std::string_view, 10> PalaceMeanings = {
    "",
    "健康、子供、セックス運",
    "家庭、職業運",
    "成功、発展運",
    "結婚、信用、営業運",
    "",
    "地位、社会運",
    "恋愛、金銭運",
    "親類、友人、不動産運",
    "知性、名誉運",
};

struct GridCell {
    int row = 0;     // 0 top (south) .. 2 bottom (north)
    int column = 0;  // 0 left (east) .. 2 right (west)
    friend bool operator==(const GridCell&, const GridCell&) = default;
};

// South at the top, east at the left, as every board of the program is drawn.
inline constexpr std::array<GridCell, 10> GridCells = {{
    {1, 1},
    {2, 1}, {0, 2}, {1, 0}, {0, 0}, {1, 1}, {2, 2}, {1, 2}, {2, 0}, {0, 1},
}};

constexpr bool isStar(std::int64_t n) { return n >= 1 && n <= StarCount; }

constexpr std::string_view starName(std::int64_t star)
{
    return isStar(star) ? StarNames[static_cast<std::size_t>(star)] : std::string_view{};
}

// The one-character caption of a star's board cell: the first character of its
// name (every numeral is a three-byte UTF-8 character).
constexpr std::string_view boardNumeral(std::int64_t star)
{
    return starName(star).substr(0, isStar(star) ? 3 : 0);
}

constexpr std::int16_t starElement(std::int64_t star)
{
    return isStar(star) ? StarElements[static_cast<std::size_t>(star)] : std::int16_t{0};
}

constexpr std::uint32_t starColour(std::int64_t star)
{
    return isStar(star) ? StarColours[static_cast<std::size_t>(star)] : 0u;
}

constexpr std::string_view directionName(std::int64_t palace)
{
    return isStar(palace) ? DirectionNames[static_cast<std::size_t>(palace)] : std::string_view{};
}

// A palace as it is read out: its direction, or 中央 for the centre.
constexpr std::string_view spokenPalace(std::int64_t palace)
{
    return palace == CentrePalace ? std::string_view{"中央"} : directionName(palace);
}

// The star whose board numeral the caption is (ニ, or the kanji 二 of the
// legend, for star 2); 0 for any other text.
constexpr int starOfNumeral(std::string_view caption)
{
    for (int star = 1; star <= StarCount; ++star) {
        if (caption == boardNumeral(star)) {
            return star;
        }
    }
    return caption == "二" ? 2 : 0;
}

// A board cell as it is read out: "南 九紫火星", "中央 五黄土星". A caption that
// is no numeral is read as it stands.
inline std::string spokenCell(int palace, std::string_view caption)
{
    const int star = starOfNumeral(caption);
    std::string spoken(spokenPalace(palace));
    spoken += ' ';
    spoken += star != 0 ? starName(star) : caption;
    return spoken;
}

// Empty for the centre, which governs no fortune area of its own.
constexpr std::string_view palaceMeaning(std::int64_t palace)
{
    return isStar(palace) ? PalaceMeanings[static_cast<std::size_t>(palace)] : std::string_view{};
}

constexpr GridCell gridCell(int palace)
{
    return isStar(palace) ? GridCells[static_cast<std::size_t>(palace)] : GridCell{1, 1};
}

// The centre is its own opposite.
constexpr int opposite(int palace) { return isStar(palace) ? 10 - palace : 0; }

// The palace drawn at (row, column) of the 3 x 3 grid, or 0 outside it.
constexpr int palaceAt(int row, int column)
{
    for (int p = 1; p <= StarCount; ++p) {
        if (GridCells[static_cast<std::size_t>(p)] == GridCell{row, column}) {
            return p;
        }
    }
    return 0;
}

}  // namespace reckoning
