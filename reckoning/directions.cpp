#include "reckoning/directions.h"

#include "reckoning/tables.h"

#include <algorithm>
#include <cstring>

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

void UnluckyRow::append(std::string_view part)
{
    const std::size_t n = std::min(part.size(), m_text.size() - m_size);
    std::memcpy(m_text.data() + m_size, part.data(), n);
    m_size += n;
}

void UnluckyRow::setText(std::string_view starName, std::string_view direction)
{
    m_size = 0;
    append(starName);
    append("    ");
    append(direction);
}

void UnluckyRow::setNone()
{
    m_size = 0;
    append(directionName(CentrePalace));
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
    UnluckyRow row;
    row.palace = palace;
    if (!isStar(palace)) {
        return row;
    }
    row.star = board.star[static_cast<std::size_t>(palace)];
    if (palace == CentrePalace) {
        row.setNone();
    } else {
        row.setText(starName(row.star), directionName(palace));
    }
    return row;
}

}  // namespace

Directions readDirections(const Board& board, int natal)
{
    Directions d;
    const LuckyStars lucky = luckyStars(natal);
    int goOu = 0;
    int honmei = 0;
    for (int p = 1; p <= StarCount; ++p) {
        const int s = board.star[static_cast<std::size_t>(p)];
        PalaceMark& mark = d.marks[static_cast<std::size_t>(p)];
        if (lucky.contains(s)) {
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
