#include "uikit/look.h"

#include "reckoning/tables.h"

#include <QPainter>
#include <QPixmap>

#include <cmath>

namespace uikit {

namespace {

QFont withFamilies(QStringList families, double points)
{
    QFont font;
    font.setFamilies(families);
    font.setPixelSize(pixelsForPoints(points));
    font.setWeight(QFont::Normal);
    font.setStyleHint(QFont::AnyStyle, QFont::PreferDefault);
    return font;
}

}  // namespace

int pixelsForPoints(double points) { return static_cast<int>(std::lround(points * 96.0 / 72.0)); }

QFont mincho(double points)
{
    QFont font = withFamilies({MinchoFamily, QStringLiteral("IPAPMincho"), QStringLiteral("IPAMincho"),
                               QStringLiteral("Noto Serif CJK JP")},
                              points);
    font.setStyleHint(QFont::Serif);
    return font;
}

QFont gothic(double points)
{
    QFont font = withFamilies({GothicFamily, QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"),
                               QStringLiteral("Noto Sans CJK JP")},
                              points);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QFont defaultUiFont() { return gothic(9); }

QIcon windowIcon()
{
    constexpr int size = 32;
    constexpr int cell = 10;
    constexpr int origin = 1;
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::black);
    QPainter painter(&pixmap);
    for (int palace = 1; palace <= 9; ++palace) {
        const reckoning::GridCell at = reckoning::gridCell(palace);
        const QRect rect(origin + at.column * cell, origin + at.row * cell, cell, cell);
        painter.fillRect(rect, colour(reckoning::starColour(palace)));
        painter.setPen(QColor(0x40, 0x40, 0x40));
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
    }
    painter.end();
    return QIcon(pixmap);
}

}  // namespace uikit
