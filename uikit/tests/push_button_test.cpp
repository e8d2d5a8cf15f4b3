// The buttons of both windows: Enter presses the focused one, once. Its focus
// frame, and Enter in the other controls, are checked in the windows
// (form2_keyboard_tests, form1_keyboard_tests).

#include "uikit/push_button.h"

#include <QApplication>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>

namespace {

// A button in a window that has the keyboard.
struct Window {
    QWidget window;
    uikit::PushButton* button = new uikit::PushButton(QStringLiteral("算出"), &window);

    Window()
    {
        button->setGeometry(8, 8, 97, 17);
        window.resize(200, 100);
        window.show();
        window.activateWindow();
    }
};

void pressEnter(QWidget* to, bool autoRepeat)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"), autoRepeat);
    QApplication::sendEvent(to, &press);
}

}  // namespace

class PushButtonTest : public QObject {
    Q_OBJECT

private slots:
    void keysThatPressTheFocusedButton_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<int>("clicks");
        QTest::newRow("Return") << int(Qt::Key_Return) << Qt::KeyboardModifiers() << 1;
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier) << 1;
        QTest::newRow("Space, as before") << int(Qt::Key_Space) << Qt::KeyboardModifiers() << 1;
        QTest::newRow("Ctrl+Return") << int(Qt::Key_Return) << Qt::KeyboardModifiers(Qt::ControlModifier) << 0;
        QTest::newRow("Alt+keypad Enter") << int(Qt::Key_Enter)
                                          << Qt::KeyboardModifiers(Qt::AltModifier | Qt::KeypadModifier) << 0;
        QTest::newRow("a letter") << int(Qt::Key_A) << Qt::KeyboardModifiers() << 0;
    }
    void keysThatPressTheFocusedButton()
    {
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(int, clicks);
        Window w;
        QVERIFY(QTest::qWaitForWindowActive(&w.window));
        w.button->setFocus();
        QSignalSpy clicked(w.button, &QAbstractButton::clicked);
        QTest::keyClick(w.button, Qt::Key(key), modifiers);
        QCOMPARE(clicked.size(), clicks);
    }

    // Held down, Enter presses once: each repeat would otherwise press again
    // whatever button the first press handed the focus to.
    void heldEnterPressesOnce()
    {
        Window w;
        QVERIFY(QTest::qWaitForWindowActive(&w.window));
        w.button->setFocus();
        QSignalSpy clicked(w.button, &QAbstractButton::clicked);
        pressEnter(w.button, false);
        for (int i = 0; i < 3; ++i) {
            pressEnter(w.button, true);
        }
        QCOMPARE(clicked.size(), 1);
    }
};

QTEST_MAIN(PushButtonTest)
#include "push_button_test.moc"
