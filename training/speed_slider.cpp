#include "training/speed_slider.h"

#include "uikit/focus_frame.h"

#include <QLinearGradient>
#include <QPainter>
#include <QStyleOptionSlider>

#include <algorithm>

namespace training {

namespace {

// The stop bar reaches this far past each side of the track, short of the tick
// marks, and is this thick.
constexpr int StopBarOverhang = 3;
constexpr int StopBarThickness = 2;

// An empty track in the toolkit's own colours: a rounded outline one shade
// darker than the window, filled across its width from a little darker to a
// little lighter than a button, as the style draws the part it leaves unfilled.
void drawTrack(QPainter& painter, const QRect& groove, const QPalette& palette)
{
    const QColor button = palette.color(QPalette::Button);
    QColor track;
    track.setHsv(button.hue(), button.saturation(), std::min(255, button.value() * 9 / 10));
    QLinearGradient across(groove.topLeft(), groove.topRight());
    across.setColorAt(0, track.darker(110));
    across.setColorAt(1, track.lighter(110));
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.translate(0.5, 0.5);
    painter.setPen(palette.color(QPalette::Window).darker(140));
    painter.setBrush(across);
    painter.drawRoundedRect(groove.adjusted(1, 1, -2, -2), 1, 1);
    painter.restore();
}

}  // namespace

SpeedSlider::SpeedSlider(const Settings& settings, QWidget* parent) : QSlider(Qt::Vertical, parent)
{
    setInvertedAppearance(true);
    setInvertedControls(true);
    // The range first: a value set before it would be clamped to the default 0..99.
    setRange(settings.minimum, settings.maximum);
    setValue(settings.value);
    setSingleStep(settings.singleStep);
    setPageStep(settings.pageStep);
    if (settings.tickInterval > 0) {
        setTickPosition(QSlider::TicksBothSides);
        setTickInterval(settings.tickInterval);
    }
}

void SpeedSlider::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    QStyleOptionSlider option;
    initStyleOption(&option);
    // The style's own focus cue (coloured tick marks and thumb, only after Tab)
    // gives way to the frame.
    option.state &= ~QStyle::State_HasFocus;
    const QRect groove = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);

    drawTrack(painter, groove, palette());
    if (minimum() < 0 && maximum() > 0) {
        // Where the middle of the thumb stands when the slider is at 0.
        QStyleOptionSlider atStop = option;
        atStop.sliderPosition = 0;
        atStop.sliderValue = 0;
        const int y = style()->subControlRect(QStyle::CC_Slider, &atStop, QStyle::SC_SliderHandle, this).center().y();
        painter.fillRect(QRect(groove.left() - StopBarOverhang, y - StopBarThickness / 2,
                               groove.width() + 2 * StopBarOverhang, StopBarThickness),
                         palette().color(QPalette::WindowText));
    }

    option.subControls = QStyle::SC_SliderHandle;
    if (tickPosition() != QSlider::NoTicks) {
        option.subControls |= QStyle::SC_SliderTickmarks;
    }
    style()->drawComplexControl(QStyle::CC_Slider, &option, &painter, this);

    if (hasFocus()) {
        // The window may cut the slider off at its edges; the frame runs round
        // what is on screen.
        QRect shown = rect();
        if (const QWidget* window = parentWidget()) {
            shown &= QRect(-pos(), window->size());
        }
        uikit::drawFocusFrame(painter, shown, palette().color(QPalette::Window));
    }
}

}  // namespace training
