#pragma once

// The reading itself: a person's lucky stars, and the marks and the four unlucky
// directions (凶方) of one board for that person.

#include "reckoning/board.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace reckoning {

// 3 to 5 stars, ascending. Empty for a natal star outside 1..9.
class LuckyStars {
public:
    constexpr void add(int star) { m_stars[static_cast<std::size_t>(m_count++)] = star; }
    constexpr int size() const { return m_count; }
    constexpr int operator[](int k) const { return m_stars[static_cast<std::size_t>(k)]; }
    constexpr const int* begin() const { return m_stars.data(); }
    constexpr const int* end() const { return m_stars.data() + m_count; }
    constexpr bool contains(int star) const
    {
        for (int s : *this) {
            if (s == star) return true;
        }
        return false;
    }
    friend bool operator==(const LuckyStars&, const LuckyStars&) = default;

private:
    std::array<int, 5> m_stars{};
    int m_count = 0;
};

// Star s is lucky for natal star n when s is neither 5 nor n and their elements are
// the same or neighbours in the generating cycle (|difference| 0, 1 or 4).
LuckyStars luckyStars(int natal);

enum class PalaceMark { None, Lucky, GoOuSatsu, AnkenSatsu, HonmeiSatsu, TekiSatsu, Worst };

// "", "吉", "五黄殺", "暗剣殺", "本命殺", "的殺", "最大凶"
std::string_view markText(PalaceMark mark);

// The four unlucky directions of a board, in the order in which they are listed.
enum class UnluckyKind { GoOuSatsu, AnkenSatsu, HonmeiSatsu, TekiSatsu };

struct UnluckyRow {
    int palace = 0;  // 5 when the direction falls on the centre, i.e. does not exist
    int star = 0;    // the star standing in that palace; its colour draws the row

    // star name + four U+0020 blanks + direction name, or "ナシ" for the centre;
    // empty for a row that stands nowhere (palace 0). The texts come from a table
    // made while compiling, so a reading neither builds nor copies any text.
    std::string_view text() const;

    friend bool operator==(const UnluckyRow&, const UnluckyRow&) = default;
};

struct Directions {
    std::array<PalaceMark, 10> marks{};  // indexed by palace; [0] unused
    std::array<UnluckyRow, 4> rows{};    // indexed by UnluckyKind

    const UnluckyRow& row(UnluckyKind kind) const { return rows[static_cast<std::size_t>(kind)]; }
    PalaceMark mark(int palace) const { return marks[static_cast<std::size_t>(palace)]; }
    friend bool operator==(const Directions&, const Directions&) = default;
};

// Marks every palace of the board for the natal star: 吉 first, then the unlucky
// marks over it, and 最大凶 where two unlucky directions fall on one palace. A
// natal star outside 1..9 stands nowhere: its two rows stay at palace 0, empty.
Directions readDirections(const Board& board, int natal);

}  // namespace reckoning
