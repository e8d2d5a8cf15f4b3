#include "mainwindow/caption_label.h"

#include "uikit/device_pixels.h"
#include "uikit/look.h"

#include <QPainter>

namespace mainwindow {

namespace {

constexpr char16_t IdeographicBlank = u'\u3000';
constexpr QRgb BorderShadow = 0x808080;
constexpr QRgb BorderLight = 0xFFFFFF;

QString stacked(const QString& caption)
{
    QString out;
    out.reserve(caption.size() * 2);
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (!out.isEmpty() && !caption.at(i).isLowSurrogate()) {
            out += u'\n';
        }
        out += caption.at(i);
    }
    return out;
}

QString brokenAtBlanks(const QString& caption)
{
    QString out;
    out.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) != IdeographicBlank) {
            out += caption.at(i);
        } else if (i == 0 || caption.at(i - 1) != IdeographicBlank) {
            out += u'\n';
        }
    }
    return out;
}

}  // namespace

QString drawnText(const QString& caption, form2_layout::Lines lines)
{
    switch (lines) {
    case form2_layout::Lines::Stacked:
        return stacked(caption);
    case form2_layout::Lines::BreakAtBlanks:
        return brokenAtBlanks(caption);
    case form2_layout::Lines::Wrap:
        break;
    }
    return caption;
}

CaptionLabel::CaptionLabel(QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void CaptionLabel::setTextColour(std::uint32_t rgb)
{
    if (rgb != m_textColour) {
        m_textColour = rgb;
        update();
    }
}

void CaptionLabel::setFill(std::optional<std::uint32_t> rgb)
{
    if (rgb != m_fill) {
        m_fill = rgb;
        update();
    }
}

void CaptionLabel::setBordered(bool bordered)
{
    m_bordered = bordered;
    update();
}

void CaptionLabel::setLines(form2_layout::Lines lines)
{
    m_lines = lines;
    update();
}

void CaptionLabel::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    const QRect all = rect();
    QRect inside = all;
    if (m_bordered) {
        // The cells of a board overlap by one pixel, and the lower or right-hand
        // cell is drawn last: its shadow edge is the one line between the two.
        // On device pixels, so that the two cells agree on where that line is.
        uikit::DevicePixels device(painter);
        const QRect cell = device.bordered(all);
        if (m_fill) {
            painter.fillRect(cell, uikit::colour(*m_fill));
        }
        device.drawSunkenBorder(cell, QColor::fromRgb(BorderShadow), QColor::fromRgb(BorderLight));
        inside = all.adjusted(1, 1, -1, -1);
    } else if (m_fill) {
        painter.fillRect(all, uikit::colour(*m_fill));
    }
    if (text().isEmpty()) {
        return;
    }
    painter.setPen(uikit::colour(m_textColour));
    const Qt::Alignment across = alignment() & Qt::AlignHorizontal_Mask;
    painter.drawText(inside, static_cast<int>(across | Qt::AlignTop | Qt::TextWordWrap),
                     drawnText(text(), m_lines));
}

}  // namespace mainwindow
