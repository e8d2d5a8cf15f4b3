#pragma once

// Pictures of widgets in the layout's own pixels. On a dense screen (device pixel
// ratio 2) a grab holds two device pixels per layout pixel; sampling one of each
// block lets a test check the same layout coordinates at any scale, and a border
// one layout pixel wide must then still be found where it belongs.

#include <QImage>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace uikit::testing {

inline QImage logicalGrab(QWidget* widget)
{
    const QImage grabbed = widget->grab().toImage();
    const qreal ratio = grabbed.devicePixelRatio();
    if (ratio == 1.0) {
        return grabbed;
    }
    const int width = qRound(grabbed.width() / ratio);
    const int height = qRound(grabbed.height() / ratio);
    if (ratio == std::floor(ratio)) {
        QImage logical = grabbed.scaled(width, height, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        logical.setDevicePixelRatio(1.0);
        return logical;
    }
    // At 125 % or 150 % a layout pixel is one or two device pixels, its edges
    // rounded to the nearest; the last of them is the one that a border line one
    // layout pixel wide is drawn on (uikit/device_pixels.h).
    QImage logical(width, height, grabbed.format());
    const auto device = [ratio](int at, int extent) {
        return std::clamp(int(std::floor((at + 1) * ratio + 0.5)) - 1, 0, extent - 1);
    };
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            logical.setPixel(x, y, grabbed.pixel(device(x, grabbed.width()), device(y, grabbed.height())));
        }
    }
    return logical;
}

}  // namespace uikit::testing
