#include "mainwindow/reading_view.h"

#include "mainwindow/form2_widgets.h"
#include "mainwindow/spoken_reading.h"
#include "uikit/look.h"

namespace mainwindow {

namespace {

void showCaption(CaptionLabel* label, const std::string& caption)
{
    // QLabel::setText returns early for an unchanged caption, so an unchanged
    // label costs one conversion and one comparison.
    label->setText(uikit::qtText(caption));
}

void showCell(CaptionLabel* label, const CellDisplay& cell)
{
    showCaption(label, cell.caption);
    label->setFill(cell.fill);
}

void showText(CaptionLabel* label, const TextDisplay& text)
{
    showCaption(label, text.caption);
    label->setTextColour(text.colour);
}

// What a screen reader reads for the label: the whole meaning of what it shows.
void say(CaptionLabel* label, const std::string& name) { label->setAccessibleName(uikit::qtText(name)); }

}  // namespace

ReadingView::ReadingView(std::span<QWidget* const> controls)
{
    using namespace form2_layout::control;
    auto label = [controls](form2_layout::Handle<form2_layout::Kind::Label> handle) { return widgetAt(controls, handle); };
    m_natalCell = label(NatalCell);
    m_natalName = label(NatalName);
    for (std::size_t k = 1; k < m_luckySlots.size(); ++k) {
        m_luckySlots[k] = label(LuckySlots[k]);
    }
    for (std::size_t p = 0; p <= 9; ++p) {
        if (p > 0) {
            m_monthCells[p] = label(MonthCells[p]);
            m_yearCells[p] = label(YearCells[p]);
        }
        m_monthMarks[p] = label(MonthMarks[p]);
        m_yearMarks[p] = label(YearMarks[p]);
    }
    for (std::size_t k = 0; k < MonthRows.size(); ++k) {
        m_monthRows[k] = {label(MonthRows[k].name), label(MonthRows[k].value)};
        m_yearRows[k] = {label(YearRows[k].name), label(YearRows[k].value)};
    }
}

void ReadingView::show(const ReadingDisplay& display)
{
    const SpokenReading spoken = spokenReading(display);
    showCell(m_natalCell, display.natalCell);
    say(m_natalCell, spoken.natalCell);
    showText(m_natalName, display.natalName);
    for (std::size_t k = 1; k < m_luckySlots.size(); ++k) {
        showText(m_luckySlots[k], display.luckySlots[k]);
        say(m_luckySlots[k], spoken.luckySlots[k]);
    }
    for (std::size_t p = 1; p < m_monthCells.size(); ++p) {
        showCell(m_monthCells[p], display.monthCells[p]);
        say(m_monthCells[p], spoken.monthCells[p]);
        showCell(m_yearCells[p], display.yearCells[p]);
        say(m_yearCells[p], spoken.yearCells[p]);
    }
    for (std::size_t p = 0; p < m_monthMarks.size(); ++p) {
        showCaption(m_monthMarks[p], display.monthMarks[p]);
        showCaption(m_yearMarks[p], display.yearMarks[p]);
    }
    auto showRow = [](const Row& labels, const RowDisplay& row, const std::string& name) {
        labels.name->setTextColour(row.nameColour);
        showText(labels.value, row.value);
        say(labels.value, name);
    };
    for (std::size_t k = 0; k < m_monthRows.size(); ++k) {
        showRow(m_monthRows[k], display.monthRows[k], spoken.monthRows[k]);
        showRow(m_yearRows[k], display.yearRows[k], spoken.yearRows[k]);
    }
}

}  // namespace mainwindow
