// The speed slider as the training window shows it: a track without a level,
// the stop marked halfway, and a focus frame on the part of the slider that the
// window shows.

#include "training/form1.h"

#include <QApplication>
#include <QMap>
#include <QPointer>
#include <QSlider>
#include <QTest>

#include <vector>

#include "uikit/tests/focus_cue.h"
#include "uikit/tests/logical_grab.h"

using training::Form1;

namespace {

QSlider* slider(QWidget* window) { return window->findChild<QSlider*>(QStringLiteral("Slider1")); }
QWidget* returnButton(QWidget* window) { return window->findChild<QWidget*>(QStringLiteral("Command1")); }

struct Run {
    int start = 0;
    int length = 0;
    bool dark = true;  // every pixel of it near black
};

// Down the middle of the track, leaving out its rounded ends: the commonest
// colour (the track's own) and the runs of any other.
struct TrackColumn {
    QRgb track = 0;
    std::vector<Run> runs;
};

TrackColumn readTrack(const QImage& picture)
{
    constexpr int Ends = 8;
    const int x = picture.width() / 2;
    QMap<QRgb, int> counts;
    for (int y = Ends; y < picture.height() - Ends; ++y) {
        ++counts[picture.pixel(x, y)];
    }
    TrackColumn column;
    int most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > most) {
            most = it.value();
            column.track = it.key();
        }
    }
    for (int y = Ends; y < picture.height() - Ends; ++y) {
        const QRgb pixel = picture.pixel(x, y);
        if (pixel == column.track) {
            continue;
        }
        if (column.runs.empty() || column.runs.back().start + column.runs.back().length != y) {
            column.runs.push_back({y, 0, true});
        }
        ++column.runs.back().length;
        column.runs.back().dark = column.runs.back().dark && qGray(pixel) < 64;
    }
    return column;
}

}  // namespace

class SpeedSliderTest : public QObject {
    Q_OBJECT

private slots:
    // The style filled the track from the top down to the thumb, like a level;
    // a signed speed has none. What is left on the track besides its own colour
    // is the thumb and the stop, a dark bar where the value is 0, halfway down.
    void trackIsUnfilledWithTheStopMarked_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<bool>("stopInSight");
        QTest::newRow("-120, thumb at the top") << -120 << true;
        QTest::newRow("-60") << -60 << true;
        QTest::newRow("0, thumb on the stop") << 0 << false;
        QTest::newRow("60") << 60 << true;
        QTest::newRow("120, thumb at the bottom") << 120 << true;
    }
    void trackIsUnfilledWithTheStopMarked()
    {
        QFETCH(int, value);
        QFETCH(bool, stopInSight);
        QPointer<Form1> window = new Form1;
        window->show();
        slider(window)->setValue(value);
        slider(window)->clearFocus();
        const QImage picture = uikit::testing::logicalGrab(slider(window));
        const TrackColumn column = readTrack(picture);
        delete window.data();

        QVERIFY2(QColor(column.track).hsvSaturation() < 32, "the track is grey, not a fill's colour");
        QCOMPARE(column.runs.size(), std::size_t(stopInSight ? 2 : 1));
        const int middle = picture.height() / 2;
        int stops = 0;
        for (const Run& run : column.runs) {
            QVERIFY2(run.length < 30, qPrintable(QString("%1 pixels from %2").arg(run.length).arg(run.start)));
            if (stopInSight && run.dark && run.start <= middle + 2 && run.start + run.length >= middle - 2) {
                ++stops;
            }
        }
        QCOMPARE(stops, stopInSight ? 1 : 0);
    }

    // The window cuts the slider off by one pixel on the right and four at the
    // bottom; the frame must run round what is on screen.
    void focusFrameRunsRoundWhatIsOnScreen_data()
    {
        QTest::addColumn<bool>("byKey");
        QTest::newRow("as the window opens") << false;
        QTest::newRow("back from 戻る by Shift+Tab") << true;
    }
    void focusFrameRunsRoundWhatIsOnScreen()
    {
        QFETCH(bool, byKey);
        QPointer<Form1> window = new Form1;
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QSlider* s = slider(window);
        returnButton(window)->setFocus();
        const QImage without = uikit::testing::logicalGrab(s);
        if (byKey) {
            QTest::keyClick(returnButton(window), Qt::Key_Backtab, Qt::ShiftModifier);
        } else {
            s->setFocus(Qt::ActiveWindowFocusReason);
        }
        QCOMPARE(QApplication::focusWidget(), s);
        const QRect onScreen = QRect(QPoint(0, 0), window->size()).intersected(s->geometry()).translated(-s->pos());
        const QStringList missing =
            uikit::testing::sidesWithoutFocusCue(without, uikit::testing::logicalGrab(s), onScreen, 1);
        delete window.data();
        QVERIFY2(missing.isEmpty(), qPrintable("no cue on the " + missing.join(u' ')));
    }
};

QTEST_MAIN(SpeedSliderTest)
#include "speed_slider_test.moc"
