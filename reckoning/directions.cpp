#include "reckoning/directions.h"

#include "reckoning/tables.h"

#include <array>

namespace reckoning {

namespace {

constexpr LuckyStars computeLuckyStars(int natal)
{
    LuckyStars lucky;
    const int element = starElement(natal);
    for (int s = 1; s <= StarCount; ++s) {
        const int distance = element > starElement(s) ? element - starElement(s) : starElement(s) - element;
        if (s != 5 && s != natal && (distance <= 1 || distance == 4)) {
            lucky.add(s);
        }
    }
    return lucky;
}

constexpr std::array<LuckyStars, 10> AllLuckyStars = [] {
    std::array<LuckyStars, 10> all{};
    for (int n = 1; n <= StarCount; ++n) {
        all[static_cast<std::size_t>(n)] = computeLuckyStars(n);
    }
    return all;
}();

// The same as bits, star s at bit s, for the test of every palace of a board.
constexpr std::array<unsigned, 10> LuckyBits = [] {
    std::array<unsigned, 10> bits{};
    for (std::size_t n = 1; n < bits.size(); ++n) {
        for (int s : AllLuckyStars[n]) {
            bits[n] |= 1u << s;
        }
    }
    return bits;
}();

}  // namespace

LuckyStars luckyStars(int natal)
{
    return isStar(natal) ? AllLuckyStars[static_cast<std::size_t>(natal)] : LuckyStars{};
}

std::string_view markText(PalaceMark mark)
{
    switch (mark) {
    case PalaceMark::None: return "";
    case PalaceMark::Lucky: return "吉";
    case PalaceMark::GoOuSatsu: return "五黄殺";
    case PalaceMark::AnkenSatsu: return "暗剣殺";
    case PalaceMark::HonmeiSatsu: return "本命殺";
    case PalaceMark::TekiSatsu: return "的殺";
    case PalaceMark::Worst: return "最大凶";
    }
    return "";
}

namespace {

// Where a second unlucky direction falls on an already marked palace, the palace
// becomes 最大凶; over 吉 or nothing it takes its own mark.
void overlay(PalaceMark& mark, PalaceMark unlucky)
{
    mark = (mark == PalaceMark::None || mark == PalaceMark::Lucky) ? unlucky : PalaceMark::Worst;
}

UnluckyRow makeRow(const Board& board, int palace)
{
    return {palace, isStar(palace) ? board.star[static_cast<std::size_t>(palace)] : 0};
}

// The text of every row a board can give, by star and palace: the longest is a
// four-kanji star name, four blanks and a two-kanji direction, 22 bytes of UTF-8.
struct RowText {
    std::array<char, 24> bytes{};
    std::size_t size = 0;

    constexpr void append(std::string_view part)
    {
        for (char c : part) {
            bytes[size++] = c;
        }
    }
};

constexpr std::array<std::array<RowText, 10>, 10> RowTexts = [] {
    std::array<std::array<RowText, 10>, 10> texts{};
    for (int star = 1; star <= StarCount; ++star) {
        for (int palace = 1; palace <= StarCount; ++palace) {
            RowText& text = texts[static_cast<std::size_t>(star)][static_cast<std::size_t>(palace)];
            if (palace == CentrePalace) {
                text.append(directionName(CentrePalace));
            } else {
                text.append(starName(star));
                text.append("    ");
                text.append(directionName(palace));
            }
        }
    }
    return texts;
}();

}  // namespace

std::string_view UnluckyRow::text() const
{
    if (!isStar(star) || !isStar(palace)) {
        return {};
    }
    const RowText& t = RowTexts[static_cast<std::size_t>(star)][static_cast<std::size_t>(palace)];
    return {t.bytes.data(), t.size};
}

Directions readDirections(const Board& board, int natal)
{
    Directions d;
    const unsigned lucky = isStar(natal) ? LuckyBits[static_cast<std::size_t>(natal)] : 0;
    int goOu = 0;
    int honmei = 0;
    for (int p = 1; p <= StarCount; ++p) {
        const int s = board.star[static_cast<std::size_t>(p)];
        PalaceMark& mark = d.marks[static_cast<std::size_t>(p)];
        if ((lucky >> s) & 1u) {
            mark = PalaceMark::Lucky;
        }
        if (s == 5 && natal == 5) {
            mark = PalaceMark::Worst;
            goOu = honmei = p;
        } else if (s == 5) {
            mark = PalaceMark::GoOuSatsu;
            goOu = p;
        } else if (s == natal) {
            mark = PalaceMark::HonmeiSatsu;
            honmei = p;
        }
    }
    const int anken = opposite(goOu);
    const int teki = opposite(honmei);
    if (anken != 0) {
        overlay(d.marks[static_cast<std::size_t>(anken)], PalaceMark::AnkenSatsu);
    }
    if (teki != 0) {
        overlay(d.marks[static_cast<std::size_t>(teki)], PalaceMark::TekiSatsu);
    }
    d.rows = {makeRow(board, goOu), makeRow(board, anken), makeRow(board, honmei), makeRow(board, teki)};
    return d;
}

}  // namespace reckoning
