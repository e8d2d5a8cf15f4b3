// The main window and the trip to the training window driven from the keyboard:
// every stop of the tab walk shows its focus, Enter presses the focused button
// and nothing else, and the focus is seen again on イメージ after 戻る.

#include "mainwindow/form2.h"
#include "personlist/person_grid.h"
#include "testkit/main_window.h"
#include "training/form1.h"
#include "uikit/dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMap>
#include <QPointer>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>

#include <memory>
#include <vector>

#include "uikit/tests/focus_cue.h"
#include "uikit/tests/logical_grab.h"

using mainwindow::Form2;
using training::Form1;

namespace {

const QStringList TabWalk = {
    "Text1", "Text4", "Command1", "Combo1", "Combo2", "Combo3", "Combo4", "Command2",
    "MSFlexGrid1", "Text2", "Command3", "Command4", "Command5", "Command6", "Command7",
};
const QStringList Buttons = {"Command1", "Command2", "Command3", "Command4", "Command5", "Command6", "Command7"};

// Where a control's focus cue belongs: round the control, or for the grid round
// its list area, which its headings do not cover.
QRect cueFrame(QWidget* w)
{
    if (auto* grid = qobject_cast<personlist::PersonGrid*>(w)) {
        return grid->viewport()->geometry();
    }
    return w->rect();
}

// A count of presses for every button of the window.
struct ButtonSpies {
    std::vector<std::unique_ptr<QSignalSpy>> spies;

    explicit ButtonSpies(const testkit::MainWindowDriver& window)
    {
        for (const QString& name : Buttons) {
            spies.push_back(std::make_unique<QSignalSpy>(qobject_cast<QAbstractButton*>(window.control(name)),
                                                        &QAbstractButton::clicked));
        }
    }
    // The buttons pressed, by name.
    QStringList pressed() const
    {
        QStringList names;
        for (std::size_t i = 0; i < spies.size(); ++i) {
            if (!spies[i]->isEmpty()) {
                names << Buttons[static_cast<qsizetype>(i)];
            }
        }
        return names;
    }
};

void pressEnter(QWidget* to, bool keypad, bool autoRepeat = false)
{
    QKeyEvent press(QEvent::KeyPress, keypad ? Qt::Key_Enter : Qt::Key_Return,
                    keypad ? Qt::KeypadModifier : Qt::NoModifier, QStringLiteral("\r"), autoRepeat);
    QApplication::sendEvent(to, &press);
}

}  // namespace

class KeyboardTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { testkit::useProgramFont(); }

    // Tabbing into the empty grid showed no focus at all, nor did a button that
    // had the focus given to it.
    void everyStopShowsItsFocus_data()
    {
        QTest::addColumn<bool>("byTab");
        QTest::newRow("walked to by Tab") << true;
        QTest::newRow("given the focus without a key") << false;
    }
    void everyStopShowsItsFocus()
    {
        QFETCH(bool, byTab);
        Form2 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        const testkit::MainWindowDriver window(form);
        QMap<QString, QImage> without;
        for (const QString& name : TabWalk) {
            QWidget* w = window.control(name);
            window.control(name == "Text4" ? "Text1" : "Text4")->setFocus();
            without[name] = uikit::testing::logicalGrab(w);
        }

        window.control(TabWalk.last())->setFocus();
        for (const QString& name : TabWalk) {
            QWidget* w = window.control(name);
            if (byTab) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            } else {
                w->setFocus(Qt::MouseFocusReason);
            }
            QCOMPARE(QApplication::focusWidget(), w);
            const QStringList missing =
                uikit::testing::sidesWithoutFocusCue(without[name], uikit::testing::logicalGrab(w), cueFrame(w));
            QVERIFY2(missing.isEmpty(), qPrintable(name + ": no cue on the " + missing.join(u' ')));
        }
    }

    // Enter presses exactly the button that has the focus, whichever it is.
    void enterPressesTheFocusedButton_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("keypad");
        for (const QString& name : Buttons) {
            QTest::addRow("%s, Return", qPrintable(name)) << name << false;
            QTest::addRow("%s, keypad Enter", qPrintable(name)) << name << true;
        }
    }
    void enterPressesTheFocusedButton()
    {
        QFETCH(QString, button);
        QFETCH(bool, keypad);
        uikit::ScriptedDialogs dialogs;
        dialogs.answerCancel();  // リスト保存 and リストを開く ask for a file
        Form2 form(&dialogs);
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        const testkit::MainWindowDriver window(form);
        window.typeReading(testkit::WorkedReading);
        const ButtonSpies spies(window);
        window.control(button)->setFocus(Qt::TabFocusReason);
        pressEnter(window.control(button), keypad);
        QCOMPARE(spies.pressed(), QStringList{button});
        if (button == "Command1") {
            QVERIFY(form.display() != mainwindow::startDisplay());
        }
        QCOMPARE(dialogs.unanswered(), 0);
        if (QPointer<Form1> training = testkit::shownTrainingWindow()) {
            training->close();
            testkit::letClosedWindowsGo();
        }
    }

    // In a text box, a drop-down list or the grid, Enter is no command.
    void enterElsewherePressesNothing_data()
    {
        QTest::addColumn<QString>("input");
        for (const char* name : {"Text1", "Text2", "Text4", "Combo1", "Combo2", "Combo3", "Combo4", "MSFlexGrid1"}) {
            QTest::newRow(name) << name;
        }
    }
    void enterElsewherePressesNothing()
    {
        QFETCH(QString, input);
        uikit::ScriptedDialogs dialogs;
        Form2 form(&dialogs);
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        const testkit::MainWindowDriver window(form);
        window.typeReading(testkit::WorkedReading);
        form.findChild<QLineEdit*>("Text2")->setText(QStringLiteral("山田"));
        const ButtonSpies spies(window);
        window.control(input)->setFocus(Qt::TabFocusReason);
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus);
        QTest::keyClick(focus, Qt::Key_Return);
        QTest::keyClick(focus, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(spies.pressed(), QStringList());
        QCOMPARE(form.display(), mainwindow::startDisplay());
        QCOMPARE(form.personGrid().model().rowCount(), 0);
        QVERIFY(dialogs.shown().empty());
        QVERIFY(form.isVisible());
    }

    // The trip as a keyboard user makes it: Tab to イメージ, Enter, Tab to 戻る,
    // Enter. Back in the main window the focus is on イメージ, and it shows.
    void keyboardTripToTheTrainingWindowAndBack()
    {
        Form2 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        const testkit::MainWindowDriver window(form);
        QWidget* image = window.control("Command2");
        const QImage unfocused = uikit::testing::logicalGrab(image);
        window.control("Combo4")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), image);
        pressEnter(image, false);

        QPointer<Form1> training = testkit::shownTrainingWindow();
        QVERIFY(training);
        QVERIFY(!form.isVisible());
        QVERIFY(QTest::qWaitForWindowActive(training));
        auto* slider = training->findChild<QSlider*>("Slider1");
        QCOMPARE(QApplication::focusWidget(), slider);
        // Enter held down on イメージ: its repeats reach the slider and do nothing.
        for (int i = 0; i < 3; ++i) {
            pressEnter(slider, false, true);
        }
        QCOMPARE(slider->value(), 4);
        QTest::keyClick(slider, Qt::Key_Tab);
        QWidget* back = training->findChild<QWidget*>("Command1");
        QCOMPARE(QApplication::focusWidget(), back);
        pressEnter(back, true);
        testkit::letClosedWindowsGo();

        QVERIFY(!training);
        QVERIFY(form.isVisible());
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QCOMPARE(QApplication::focusWidget(), image);
        const QStringList missing =
            uikit::testing::sidesWithoutFocusCue(unfocused, uikit::testing::logicalGrab(image), image->rect());
        QVERIFY2(missing.isEmpty(), qPrintable("no cue on the " + missing.join(u' ')));
    }
};

QTEST_MAIN(KeyboardTest)
#include "keyboard_test.moc"
