// A minimised window comes back, under a real Wayland compositor (weston, as
// run-under-weston starts it): the compositor's own list of the windows it
// shows is the judge, since nothing tells the program what it shows.

#include "uikit/keep_on_screen.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <QWidget>
#include <QWindow>

namespace {

// The size at which weston shows the window, or an empty size while it shows
// no window of this title.
QSize shownByCompositor(const QString& title)
{
    QProcess debug;
    debug.start(QStringLiteral("weston-debug"), {QStringLiteral("scene-graph")});
    debug.waitForFinished(5000);
    const QString scene = QString::fromUtf8(debug.readAllStandardOutput());
    static const QRegularExpression position(QStringLiteral(R"(position: \((-?\d+), (-?\d+)\) -> \((-?\d+), (-?\d+)\))"));
    const qsizetype view = scene.indexOf(QStringLiteral("window '%1'").arg(title));
    const QRegularExpressionMatch m = position.match(scene, view);
    if (view < 0 || !m.hasMatch()) {
        return {};
    }
    return {m.captured(3).toInt() - m.captured(1).toInt(), m.captured(4).toInt() - m.captured(2).toInt()};
}

}  // namespace

class KeepOnScreenTest : public QObject {
    Q_OBJECT

private slots:
    void minimisedWindowComesBack_data()
    {
        QTest::addColumn<bool>("byFrame");
        QTest::addColumn<bool>("maximised");
        // Qt's own frame asks the native window; the widget never hears of it.
        QTest::newRow("by-the-frame") << true << false;
        QTest::newRow("by-the-frame-maximised") << true << true;
        QTest::newRow("by-the-program") << false << false;
        QTest::newRow("by-the-program-maximised") << false << true;
    }

    void minimisedWindowComesBack()
    {
        QFETCH(bool, byFrame);
        QFETCH(bool, maximised);
        const QString title = QString::fromLatin1(QTest::currentDataTag());
        QWidget window;
        window.setWindowTitle(title);
        window.resize(200, 100);
        uikit::keepOnScreen(&window);
        if (maximised) {
            window.showMaximized();
            QTRY_VERIFY(window.isMaximized());
        } else {
            window.show();
        }
        // Mapped, and in the maximised case at the screen's size.
        QTRY_VERIFY(shownByCompositor(title).width() > (maximised ? window.normalGeometry().width() : 0));
        const QSize shown = shownByCompositor(title);

        if (byFrame) {
            window.windowHandle()->setWindowState(Qt::WindowMinimized);
        } else {
            window.showMinimized();
        }
        // The request reaches the compositor before it is asked what it shows.
        QGuiApplication::sync();
        QTRY_COMPARE_WITH_TIMEOUT(shownByCompositor(title), shown, 5000);
        QVERIFY(!window.isMinimized());
        QCOMPARE(window.isMaximized(), maximised);
    }
};

QTEST_MAIN(KeepOnScreenTest)
#include "keep_on_screen_test.moc"
