// The buttons of both windows: Enter presses the focused one, and its focus
// shows however it came.

#include "uikit/push_button.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "uikit/tests/focus_cue.h"
#include "uikit/tests/logical_grab.h"

namespace {

// A button beside a text box, in a window that has the keyboard.
struct Window {
    QWidget window;
    QLineEdit* edit = new QLineEdit(&window);
    uikit::PushButton* button = new uikit::PushButton(QStringLiteral("算出"), &window);

    Window()
    {
        edit->setGeometry(8, 8, 121, 25);
        button->setGeometry(8, 40, 97, 17);  // as low as the main window's buttons
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

    void enterInATextBoxPressesNothing()
    {
        Window w;
        QVERIFY(QTest::qWaitForWindowActive(&w.window));
        w.edit->setFocus();
        QSignalSpy clicked(w.button, &QAbstractButton::clicked);
        QTest::keyClick(w.edit, Qt::Key_Return);
        QTest::keyClick(w.edit, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(clicked.size(), 0);
    }

    // The toolkit's style shows a button's focus only after Tab; a button that a
    // click or the window gave the focus to showed none.
    void focusShowsHoweverItCame_data()
    {
        QTest::addColumn<Qt::FocusReason>("reason");
        QTest::newRow("by Tab") << Qt::TabFocusReason;
        QTest::newRow("by a click") << Qt::MouseFocusReason;
        QTest::newRow("by the window") << Qt::ActiveWindowFocusReason;
    }
    void focusShowsHoweverItCame()
    {
        QFETCH(Qt::FocusReason, reason);
        Window w;
        QVERIFY(QTest::qWaitForWindowActive(&w.window));
        w.edit->setFocus();
        const QImage without = uikit::testing::logicalGrab(w.button);
        if (reason == Qt::TabFocusReason) {
            QTest::keyClick(w.edit, Qt::Key_Tab);
        } else {
            w.button->setFocus(reason);
        }
        QCOMPARE(QApplication::focusWidget(), w.button);
        const QImage with = uikit::testing::logicalGrab(w.button);
        const QStringList missing = uikit::testing::sidesWithoutFocusCue(without, with, w.button->rect());
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(u' ')));

        // and it goes with the focus
        w.edit->setFocus();
        QCOMPARE(uikit::testing::logicalGrab(w.button), without);
    }
};

QTEST_MAIN(PushButtonTest)
#include "push_button_test.moc"
