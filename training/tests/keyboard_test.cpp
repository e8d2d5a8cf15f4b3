// The training window from the keyboard: Enter on 戻る goes back as a click
// does, Enter on the slider does nothing.

#include "training/form1.h"

#include "testkit/driver.h"

#include <QApplication>
#include <QPointer>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>

using training::Form1;

namespace {

QSlider* slider(QWidget* window) { return window->findChild<QSlider*>(QStringLiteral("Slider1")); }
QWidget* returnButton(QWidget* window) { return window->findChild<QWidget*>(QStringLiteral("Command1")); }

}  // namespace

class Form1KeyboardTest : public QObject {
    Q_OBJECT

private slots:
    void enterOnReturnGoesBack_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::newRow("Return") << int(Qt::Key_Return) << Qt::KeyboardModifiers();
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier);
    }
    void enterOnReturnGoesBack()
    {
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QPointer<Form1> window = new Form1;
        QSignalSpy handedBack(window.data(), &Form1::returnToMain);
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QTest::keyClick(slider(window), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), returnButton(window));
        QTest::keyPress(returnButton(window), Qt::Key(key), modifiers);
        QCOMPARE(handedBack.size(), 1);
        testkit::letClosedWindowsGo();
        QVERIFY(window.isNull());
    }

    void enterOnTheSliderDoesNothing()
    {
        QPointer<Form1> window = new Form1;
        QSignalSpy handedBack(window.data(), &Form1::returnToMain);
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QCOMPARE(QApplication::focusWidget(), slider(window));
        QTest::keyClick(slider(window), Qt::Key_Return);
        QTest::keyClick(slider(window), Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(handedBack.size(), 0);
        QVERIFY(window->isVisible());
        QCOMPARE(slider(window)->value(), 4);
        delete window.data();
    }
};

QTEST_MAIN(Form1KeyboardTest)
#include "keyboard_test.moc"
