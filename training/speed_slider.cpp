#include "training/speed_slider.h"

namespace training {

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

}  // namespace training
