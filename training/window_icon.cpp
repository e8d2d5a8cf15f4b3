#include "training/window_icon.h"

#include "reckoning/tables.h"
#include "uikit/look.h"

#include <QPainter>
#include <QPixmap>

namespace training {

QIcon windowIcon()
{
    // Painted once for the program's life: both windows and every opening of the
    // training window share it, so the toolkit's pixmap cache holds one copy.
    // Never freed, as it may outlive the application object.
    static const QIcon* const icon = [] {
        constexpr int size = 32;
        constexpr int cell = 10;
        constexpr int origin = 1;
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::black);
        QPainter painter(&pixmap);
        for (int palace = 1; palace <= 9; ++palace) {
            const reckoning::GridCell at = reckoning::gridCell(palace);
            const QRect rect(origin + at.column * cell, origin + at.row * cell, cell, cell);
            painter.fillRect(rect, uikit::colour(reckoning::starColour(palace)));
            painter.setPen(QColor(0x40, 0x40, 0x40));
            painter.drawRect(rect.adjusted(0, 0, -1, -1));
        }
        painter.end();
        return new QIcon(pixmap);
    }();
    return *icon;
}

}  // namespace training
