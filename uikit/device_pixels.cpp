#include "uikit/device_pixels.h"

#include <QtMath>

#include <algorithm>

namespace uikit {

namespace {

// Rounded as the toolkit rounds the area that each widget may paint, halves up:
// a widget at 912.5 device pixels starts to paint at 913, and its left-hand
// neighbour paints up to 912. Any other rounding leaves a device column that
// neither may paint, or gives it to the wrong one.
int devicePixel(qreal at) { return qFloor(at + 0.5); }

}  // namespace

DevicePixels::DevicePixels(QPainter& painter) : m_painter(painter), m_toDevice(painter.deviceTransform())
{
    m_line = std::max(1, qFloor(std::min(m_toDevice.m11(), m_toDevice.m22()) + 1.0 / 1024));
    m_painter.save();
    // The device transform is the world transform followed by the widget's
    // offset in the window and the display scale; undoing all of it leaves the
    // painter on the window's device pixels.
    m_painter.setWorldTransform(m_toDevice.inverted() * m_painter.worldTransform());
}

DevicePixels::~DevicePixels() { m_painter.restore(); }

int DevicePixels::x(int logical) const { return devicePixel(m_toDevice.m11() * logical + m_toDevice.dx()); }

int DevicePixels::y(int logical) const { return devicePixel(m_toDevice.m22() * logical + m_toDevice.dy()); }

QRect DevicePixels::area(const QRect& logical) const
{
    const int left = x(logical.left());
    const int top = y(logical.top());
    return {left, top, x(logical.right() + 1) - left, y(logical.bottom() + 1) - top};
}

QRect DevicePixels::bordered(const QRect& logical) const
{
    const int left = x(logical.left() + 1) - m_line;
    const int top = y(logical.top() + 1) - m_line;
    return {left, top, x(logical.right() + 1) - left, y(logical.bottom() + 1) - top};
}

void DevicePixels::drawSunkenBorder(const QRect& device, const QColor& shadow, const QColor& light)
{
    m_painter.fillRect(QRect(device.left(), device.top(), device.width(), m_line), shadow);
    m_painter.fillRect(QRect(device.left(), device.top(), m_line, device.height()), shadow);
    m_painter.fillRect(QRect(device.left(), device.bottom() - m_line + 1, device.width(), m_line), light);
    m_painter.fillRect(QRect(device.right() - m_line + 1, device.top(), m_line, device.height()), light);
}

void DevicePixels::drawRightAndBottom(const QRect& device, const QColor& colour)
{
    m_painter.fillRect(QRect(device.right() - m_line + 1, device.top(), m_line, device.height()), colour);
    m_painter.fillRect(QRect(device.left(), device.bottom() - m_line + 1, device.width(), m_line), colour);
}

}  // namespace uikit
