// The name box asks fcitx5 to switch Japanese input on, over a session bus of
// the test's own (dbus-run-session), where a stand-in takes fcitx5's name and
// notes where the focus was at each request.

#include "mainwindow/form2.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTest>

using mainwindow::Form2;

namespace {

const QString Fcitx = QStringLiteral("org.fcitx.Fcitx5");
const QString Controller = QStringLiteral("/controller");

class StandInController final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.fcitx.Fcitx.Controller1")

public:
    QStringList focusAtEachCall;

public Q_SLOTS:
    void Activate() { focusAtEachCall.append(QApplication::focusWidget()->objectName()); }
};

// Runs the window's queued request, then waits for one round trip on the
// program's own connection: the bus delivers that connection's messages in
// order, so every request sent before has reached the stand-in by then.
void settle()
{
    QCoreApplication::processEvents();
    QDBusMessage ping = QDBusMessage::createMethodCall(Fcitx, Controller, "org.freedesktop.DBus.Peer", "Ping");
    ping.setAutoStartService(false);
    QDBusConnection::sessionBus().call(ping);
    QCoreApplication::processEvents();
}

void focusEachInput(Form2& form)
{
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    for (const char* input : {"Text1", "Combo1", "Combo2", "Text4", "Combo3", "Combo4", "Text2"}) {
        form.findChild<QWidget*>(input)->setFocus(Qt::TabFocusReason);
        settle();
    }
}

}  // namespace

class JapaneseInputTest : public QObject {
    Q_OBJECT

private slots:
    void onlyTheNameBoxAsksFcitx()
    {
        QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "stand-in");
        StandInController standIn;
        QVERIFY(bus.registerObject(Controller, &standIn, QDBusConnection::ExportAllSlots));
        const auto leave = qScopeGuard([&bus] {
            bus.unregisterService(Fcitx);
            bus.unregisterObject(Controller);
        });
        QVERIFY(bus.registerService(Fcitx));
        Form2 form;
        focusEachInput(form);
        QCOMPARE(standIn.focusAtEachCall, QStringList{"Text2"});
    }

    // With ibus or no input method at all the request goes nowhere, quietly,
    // and starts no fcitx5 on the user's behalf (the bus would log that).
    void quietWithoutFcitx()
    {
        QTest::failOnWarning(QRegularExpression(QStringLiteral("(?i)d-?bus|fcitx|activate")));
        Form2 form;
        focusEachInput(form);
    }
};

QTEST_MAIN(JapaneseInputTest)
#include "japanese_input_test.moc"
