// A minimised window comes back, under a real Wayland compositor (weston, as
// run-under-weston starts it): the compositor's own list of the windows it
// shows is the judge, since nothing tells the program what it shows.

#include "uikit/keep_on_screen.h"

#include <QProcess>
#include <QTest>
#include <QWidget>
#include <QWindow>

namespace {

bool shownByCompositor(const QString& title)
{
    QProcess debug;
    debug.start(QStringLiteral("weston-debug"), {QStringLiteral("scene-graph")});
    debug.waitForFinished(5000);
    return QString::fromUtf8(debug.readAllStandardOutput()).contains(QStringLiteral("window '%1'").arg(title));
}

}  // namespace

class KeepOnScreenTest : public QObject {
    Q_OBJECT

private slots:
    void minimisedWindowComesBack_data()
    {
        QTest::addColumn<bool>("byFrame");
        // Qt's own frame asks the native window; the widget never hears of it.
        QTest::newRow("by-the-frame") << true;
        QTest::newRow("by-the-program") << false;
    }

    void minimisedWindowComesBack()
    {
        QFETCH(bool, byFrame);
        const QString title = QString::fromLatin1(QTest::currentDataTag());
        QWidget window;
        window.setWindowTitle(title);
        window.resize(200, 100);
        uikit::keepOnScreen(&window);
        window.show();
        QTRY_VERIFY(shownByCompositor(title));

        if (byFrame) {
            window.windowHandle()->setWindowState(Qt::WindowMinimized);
        } else {
            window.showMinimized();
        }
        // The request reaches the compositor before it is asked what it shows.
        QGuiApplication::sync();
        QTRY_VERIFY_WITH_TIMEOUT(shownByCompositor(title), 5000);
        QVERIFY(!window.isMinimized());
    }
};

QTEST_MAIN(KeepOnScreenTest)
#include "keep_on_screen_test.moc"
