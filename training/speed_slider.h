#pragma once

// The training window's speed slider: a vertical slider whose minimum stands at the
// TOP, so that the middle of the track is 0 (still), the upper half flies 陽遁 and
// the lower half 隠遁, with the speed falling towards both ends.
//
// Qt draws a vertical slider with its minimum at the bottom and lets Up raise the
// value; both are turned round here, so that the thumb always moves the way the
// arrow key points (Down and Page Down raise the value, as on Windows).
//
// The track is drawn here, not by the style: the style fills it from one end to
// the thumb like a level, and a signed speed has no level. The track stays
// unfilled, with a bar across it where the value is 0, the stop between the two
// directions. The tick marks and the thumb are the style's. While the slider has
// the keyboard focus, the part of it that its window shows is framed by a
// dotted line.

#include <QSlider>

namespace training {

class SpeedSlider final : public QSlider {
    Q_OBJECT

public:
    struct Settings {
        int minimum = 0;
        int maximum = 0;
        int value = 0;
        int singleStep = 1;
        int pageStep = 1;
        int tickInterval = 0;  // 0: no tick marks
    };

    SpeedSlider(const Settings& settings, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace training
