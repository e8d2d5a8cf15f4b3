#pragma once

// The labels of the main window. They draw themselves the way the window was
// designed: the caption starts at the top of the label (centred across or
// left-aligned), a label is either clear or filled, and a board cell has a thin
// sunken border that shows on the black window and on every star colour alike.
//
// text() is always the plain caption a reading wrote ("五黄殺"); how it is broken
// into lines is decided only when it is drawn (see drawnText), so code and tests
// read exactly what was written.

#include "mainwindow/form2_layout.h"

#include <QLabel>
#include <QRgb>

#include <optional>

namespace mainwindow {

// The caption as it is drawn: Stacked puts a line feed between characters,
// BreakAtBlanks turns each run of ideographic blanks (U+3000) into one line feed.
QString drawnText(const QString& caption, form2_layout::Lines lines);

class CaptionLabel final : public QLabel {
    Q_OBJECT

public:
    explicit CaptionLabel(QWidget* parent = nullptr);

    // Colours as 0xRRGGBB; each setter repaints only when the colour changes.
    void setTextColour(std::uint32_t rgb);
    void setFill(std::optional<std::uint32_t> rgb);
    std::uint32_t textColour() const { return m_textColour; }
    std::optional<std::uint32_t> fill() const { return m_fill; }

    void setBordered(bool bordered);
    void setLines(form2_layout::Lines lines);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::uint32_t m_textColour = 0;
    std::optional<std::uint32_t> m_fill;
    form2_layout::Lines m_lines = form2_layout::Lines::Wrap;
    bool m_bordered = false;
};

}  // namespace mainwindow
