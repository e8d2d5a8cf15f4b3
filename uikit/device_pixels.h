#pragma once

// Lines one layout pixel wide, drawn on whole device pixels of the window.
//
// At a fractional display scale (125 %, 150 %) a layout pixel is 1.25 or 1.5
// device pixels, and the toolkit rounds every line and fill of every widget on
// its own. Two board cells that overlap by one layout pixel to share a border
// line then draw that line on neighbouring device columns, a white line beside a
// grey one, and a cell's fill shows past its outer border; the lines between the
// grid's headings come out one or two device pixels wide by chance. Even at
// 200 % a thin pen is one device pixel, half a layout pixel, and lands beside the
// neighbour's.
//
// DevicePixels switches a painter to the device pixels of the window the widget
// is drawn in and places layout rectangles there by one rule, counted from the
// window's origin: every widget that draws an edge at the same place of the
// window draws it on the same device pixels, whichever widget it is. A layout
// pixel covers the device pixels from its left edge to the next one's, each edge
// rounded to the nearest device pixel; a line one layout pixel wide takes the
// last of those, as many as fit in every layout pixel (1 at 100 %, 125 % and
// 150 %, 2 at 200 %), so every line is as wide as every other.

#include <QPainter>
#include <QRect>
#include <QTransform>

namespace uikit {

class DevicePixels {
public:
    // Until destroyed, the painter draws in device pixels; its state is saved
    // and restored.
    explicit DevicePixels(QPainter& painter);
    ~DevicePixels();
    DevicePixels(const DevicePixels&) = delete;
    DevicePixels& operator=(const DevicePixels&) = delete;

    int lineWidth() const { return m_line; }

    // The device pixels of a layout rectangle. Rectangles laid edge to edge get
    // device rectangles edge to edge.
    QRect area(const QRect& logical) const;
    // A bordered cell from the outer edge of its left and top border lines to
    // the outer edge of its right and bottom ones. Board cells overlap their
    // right and lower neighbours by one layout pixel to share a border line:
    // both cells then put that line on the same device pixels.
    QRect bordered(const QRect& logical) const;

    // Sunken border along the inside of a device rectangle: `shadow` on the top
    // and left edges, `light` on the bottom and right.
    void drawSunkenBorder(const QRect& device, const QColor& shadow, const QColor& light);
    // The right and bottom edges only, as between the grid's cells.
    void drawRightAndBottom(const QRect& device, const QColor& colour);

private:
    int x(int logical) const;
    int y(int logical) const;

    QPainter& m_painter;
    QTransform m_toDevice;
    int m_line = 1;
};

}  // namespace uikit
