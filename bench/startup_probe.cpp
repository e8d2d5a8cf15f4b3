// Start-up probes: each builds its window, shows it and quits at the window's
// first paint, so that the process's run time and peak memory are those of
// getting a first picture on the screen.
//
//   startup_probe_form2     the main window, as the program builds it
//   startup_probe_japanese  a window of the same size with one label of Japanese
//                           text in the program's Mincho face: the least any
//                           window that shows Japanese pays (fontconfig's set-up,
//                           the font database, one face opened, a few glyphs)
//   startup_probe_bare      an empty QWidget of the same size, for reference

#include <QApplication>
#include <QEvent>
#include <QWidget>

#ifdef KYUSEI_PROBE_FORM2
#include "mainwindow/form2.h"
#include "uikit/look.h"
#endif
#ifdef KYUSEI_PROBE_JAPANESE
#include "uikit/look.h"

#include <QLabel>
#endif

namespace {

constexpr int LayoutWidth = 993;
constexpr int LayoutHeight = 665;

class QuitAtFirstPaint final : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            QCoreApplication::quit();
        }
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
#ifdef KYUSEI_PROBE_FORM2
    uikit::prepareApplication(app);
    mainwindow::Form2 window;
#else
    QWidget window;
#endif
#ifdef KYUSEI_PROBE_JAPANESE
    // The window's title in the size of the board cells' captions.
    QLabel label(QStringLiteral("九星方位学"), &window);
    label.setFont(uikit::mincho(12));
    label.setGeometry(8, 8, 200, 24);
#endif
    QuitAtFirstPaint quitter;
    window.installEventFilter(&quitter);
    window.resize(LayoutWidth, LayoutHeight);
    window.show();
    return QApplication::exec();
}
