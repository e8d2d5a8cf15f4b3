#pragma once

// Whether a control shows its keyboard focus: its picture with the focus against
// its picture without, compared along the four sides of the frame where the cue
// belongs. A side counts as marked when, at a third of the places along it or
// more, some pixel from the side up to `depth` pixels inwards changed; the
// corners, `depth` pixels at each end, are left out. A caret, a pressed look or
// a changed caption marks one side at most; a frame marks all four, dotted or
// not. Both pictures are in layout pixels (logicalGrab).

#include <QImage>
#include <QRect>
#include <QStringList>

namespace uikit::testing {

inline QStringList sidesWithoutFocusCue(const QImage& without, const QImage& with, const QRect& frame, int depth = 4)
{
    const auto changed = [&](QPoint p) { return with.rect().contains(p) && without.pixel(p) != with.pixel(p); };
    // Whether one side is marked; at(place, inwards) is the pixel `inwards`
    // pixels into the frame from the side, at a place along it.
    const auto marked = [&](int length, auto at) {
        int places = 0;
        int count = 0;
        for (int place = depth; place < length - depth; ++place) {
            ++places;
            for (int inwards = 0; inwards < depth; ++inwards) {
                if (changed(at(place, inwards))) {
                    ++count;
                    break;
                }
            }
        }
        return places > 0 && 3 * count >= places;
    };
    QStringList missing;
    if (!marked(frame.width(), [&](int i, int d) { return QPoint(frame.left() + i, frame.top() + d); })) {
        missing << QStringLiteral("top");
    }
    if (!marked(frame.width(), [&](int i, int d) { return QPoint(frame.left() + i, frame.bottom() - d); })) {
        missing << QStringLiteral("bottom");
    }
    if (!marked(frame.height(), [&](int i, int d) { return QPoint(frame.left() + d, frame.top() + i); })) {
        missing << QStringLiteral("left");
    }
    if (!marked(frame.height(), [&](int i, int d) { return QPoint(frame.right() - d, frame.top() + i); })) {
        missing << QStringLiteral("right");
    }
    return missing;
}

}  // namespace uikit::testing
