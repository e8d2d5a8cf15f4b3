#pragma once

// Writes a ReadingDisplay into the labels of the main window. The labels are the
// only place a reading is shown; this class only copies captions and colours,
// all of the reckoning happens before, in calculate().

#include "mainwindow/reading_display.h"

#include <array>
#include <span>

class QWidget;

namespace mainwindow {

class CaptionLabel;

class ReadingView {
public:
    // `controls` are the window's controls in the order of form2_layout::Controls.
    explicit ReadingView(std::span<QWidget* const> controls);

    // Captions and colours, and what a screen reader reads for each label.
    void show(const ReadingDisplay& display);

private:
    struct Row {
        CaptionLabel* name = nullptr;
        CaptionLabel* value = nullptr;
    };

    CaptionLabel* m_natalCell = nullptr;
    CaptionLabel* m_natalName = nullptr;
    std::array<CaptionLabel*, 6> m_luckySlots{};  // [0] unused
    std::array<CaptionLabel*, 10> m_monthCells{};  // [0] unused
    std::array<CaptionLabel*, 10> m_yearCells{};
    std::array<CaptionLabel*, 10> m_monthMarks{};
    std::array<CaptionLabel*, 10> m_yearMarks{};
    std::array<Row, 4> m_monthRows{};
    std::array<Row, 4> m_yearRows{};
};

}  // namespace mainwindow
