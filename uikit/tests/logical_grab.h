#pragma once

// Pictures of widgets in the layout's own pixels. On a dense screen (device pixel
// ratio 2) a grab holds two device pixels per layout pixel; sampling one of each
// block lets a test check the same layout coordinates at any scale, and a border
// one layout pixel wide must then still be found where it belongs.

#include <QImage>
#include <QWidget>

namespace uikit::testing {

inline QImage logicalGrab(QWidget* widget)
{
    const QImage grabbed = widget->grab().toImage();
    const qreal ratio = grabbed.devicePixelRatio();
    if (ratio == 1.0) {
        return grabbed;
    }
    QImage logical = grabbed.scaled(qRound(grabbed.width() / ratio), qRound(grabbed.height() / ratio),
                                    Qt::IgnoreAspectRatio, Qt::FastTransformation);
    logical.setDevicePixelRatio(1.0);
    return logical;
}

}  // namespace uikit::testing
