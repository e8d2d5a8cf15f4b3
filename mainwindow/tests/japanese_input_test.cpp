// The name box asks fcitx5 for Japanese input, on a session bus of the test's
// own (CMakeLists.txt), where a stand-in may take fcitx5's name.

#include "mainwindow/form2.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QRegularExpression>
#include <QTest>

class StandInFcitx final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.fcitx.Fcitx.Controller1")

public:
    QStringList focusAtEachCall;

public Q_SLOTS:
    void Activate() { focusAtEachCall.append(QApplication::focusWidget()->objectName()); }
};

class JapaneseInputTest : public QObject {
    Q_OBJECT

private slots:
    void onlyTheNameBoxAsks_data()
    {
        QTest::addColumn<bool>("fcitx");
        QTest::newRow("no fcitx5: nothing said or started") << false;  // the bus would log a start
        QTest::newRow("fcitx5") << true;
    }
    void onlyTheNameBoxAsks()
    {
        QFETCH(bool, fcitx);
        QTest::failOnWarning(QRegularExpression(QStringLiteral("(?i)d-?bus|fcitx")));
        QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "stand-in");
        StandInFcitx standIn;
        QVERIFY(!fcitx || (bus.registerObject("/controller", &standIn, QDBusConnection::ExportAllSlots) &&
                           bus.registerService("org.fcitx.Fcitx5")));
        mainwindow::Form2 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QDBusMessage ping = QDBusMessage::createMethodCall("org.fcitx.Fcitx5", "/", "org.freedesktop.DBus.Peer", "Ping");
        ping.setAutoStartService(false);
        for (const char* input : {"Text1", "Combo1", "Combo2", "Text4", "Combo3", "Combo4", "Text2"}) {
            form.findChild<QWidget*>(input)->setFocus(Qt::TabFocusReason);
            QCoreApplication::processEvents();
            // The bus keeps the order of the program's messages: once this
            // comes back, every request sent before it has arrived.
            QDBusConnection::sessionBus().call(ping);
            QCoreApplication::processEvents();
        }
        QCOMPARE(standIn.focusAtEachCall, fcitx ? QStringList{"Text2"} : QStringList{});
    }
};

QTEST_MAIN(JapaneseInputTest)
#include "japanese_input_test.moc"
