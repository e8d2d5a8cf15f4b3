#pragma once

// What a screen reader says for the labels of a reading. On the screen a mark
// stands over its cell and colours tell the stars apart; read out, every label
// says all it means on its own: "月盤 南 九紫火星 吉", "年盤 五黄殺 五黄土星 西".
// The marks and the row names are then left out of what a screen reader finds.

#include "mainwindow/reading_display.h"

#include <array>
#include <string>

namespace mainwindow {

struct SpokenReading {
    std::string natalCell;                   // Label1(0): 本命星 四緑木星
    std::array<std::string, 6> luckySlots;   // Label24(1..5): 吉方 一白水星; an empty slot says nothing
    std::array<std::string, 10> monthCells;  // Label1(1..9): 月盤 南 九紫火星 吉; [0] unused
    std::array<std::string, 10> yearCells;   // Label2(1..9)
    std::array<std::string, 4> monthRows;    // value labels: 月盤 五黄殺 五黄土星 西
    std::array<std::string, 4> yearRows;
};

SpokenReading spokenReading(const ReadingDisplay& display);

}  // namespace mainwindow
