#include "uikit/focus_frame.h"

#include <QColor>
#include <QPainter>
#include <QRect>

namespace uikit {

void drawFocusFrame(QPainter& painter, const QRect& rect, const QColor& fill)
{
    if (rect.isEmpty()) {
        return;
    }
    // A grey between black and white dots would average out to the grey of the
    // empty list itself; dots of one colour against the fill stay visible.
    const QColor ink = fill.lightness() >= 128 ? Qt::black : Qt::white;
    const auto dot = [&](int x, int y) {
        if (((x + y) & 1) == 0) {
            painter.fillRect(QRect(x, y, 1, 1), ink);
        }
    };
    for (int x = rect.left(); x <= rect.right(); ++x) {
        dot(x, rect.top());
        dot(x, rect.bottom());
    }
    for (int y = rect.top() + 1; y < rect.bottom(); ++y) {
        dot(rect.left(), y);
        dot(rect.right(), y);
    }
}

}  // namespace uikit
