#include "mainwindow/reading_view.h"

#include "mainwindow/caption_label.h"
#include "mainwindow/form2_layout.h"
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

}  // namespace

ReadingView::ReadingView(std::span<QWidget* const> controls)
{
    auto label = [controls](std::string_view name, int index = layout::NotArray) {
        return static_cast<CaptionLabel*>(controls[layout::indexOf(name, index)]);
    };
    m_natalCell = label("Label1", 0);
    m_natalName = label("Label3", 2);
    for (int k = 1; k <= 5; ++k) {
        m_luckySlots[static_cast<std::size_t>(k)] = label("Label24", k);
    }
    for (int p = 0; p <= 9; ++p) {
        const auto i = static_cast<std::size_t>(p);
        if (p > 0) {
            m_monthCells[i] = label("Label1", p);
            m_yearCells[i] = label("Label2", p);
        }
        m_monthMarks[i] = label("Label14", p);
        m_yearMarks[i] = label("Label13", p);
    }
    for (std::size_t k = 0; k < layout::UnluckyRows.size(); ++k) {
        m_monthRows[k] = {label(layout::UnluckyRows[k].month, 1), label(layout::UnluckyRows[k].month, 2)};
        m_yearRows[k] = {label(layout::UnluckyRows[k].year, 1), label(layout::UnluckyRows[k].year, 2)};
    }
}

void ReadingView::show(const ReadingDisplay& display)
{
    showCell(m_natalCell, display.natalCell);
    showText(m_natalName, display.natalName);
    for (std::size_t k = 1; k < m_luckySlots.size(); ++k) {
        showText(m_luckySlots[k], display.luckySlots[k]);
    }
    for (std::size_t p = 1; p < m_monthCells.size(); ++p) {
        showCell(m_monthCells[p], display.monthCells[p]);
        showCell(m_yearCells[p], display.yearCells[p]);
    }
    for (std::size_t p = 0; p < m_monthMarks.size(); ++p) {
        showCaption(m_monthMarks[p], display.monthMarks[p]);
        showCaption(m_yearMarks[p], display.yearMarks[p]);
    }
    auto showRow = [](const Row& labels, const RowDisplay& row) {
        labels.name->setTextColour(row.nameColour);
        showText(labels.value, row.value);
    };
    for (std::size_t k = 0; k < m_monthRows.size(); ++k) {
        showRow(m_monthRows[k], display.monthRows[k]);
        showRow(m_yearRows[k], display.yearRows[k]);
    }
}

}  // namespace mainwindow
