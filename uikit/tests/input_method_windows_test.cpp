// With the real windows platform plugin and a display: the window's input
// context open in hiragana once the name box has the focus, none open in a date input.

#include "uikit/input_method.h"

#include <QTest>
#include <QVBoxLayout>

#include <windows.h>

#include <imm.h>

class InputMethodWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void nameBoxOpensHiraganaAndDateInputKeepsItClosedOnWindows()
    {
        QWidget window;
        auto* date = new uikit::DirectLineEdit;
        auto* name = new QLineEdit;
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(date);
        layout->addWidget(name);
        uikit::switchOnJapaneseOnFocus(name, uikit::platformInputMethodSwitch());
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        const auto hwnd = reinterpret_cast<HWND>(window.winId());
        for (QWidget* input : {static_cast<QWidget*>(name), static_cast<QWidget*>(date)}) {
            input->setFocus(Qt::TabFocusReason);
            QCoreApplication::processEvents();
            const HIMC context = ImmGetContext(hwnd);
            DWORD conversion = 0;
            DWORD sentence = 0;
            const bool open = context != nullptr && ImmGetOpenStatus(context) != FALSE &&
                              ImmGetConversionStatus(context, &conversion, &sentence) != FALSE;
            if (context != nullptr) {
                ImmReleaseContext(hwnd, context);
            }
            const DWORD hiragana = IME_CMODE_NATIVE | IME_CMODE_FULLSHAPE;
            QCOMPARE(open && (conversion & (hiragana | IME_CMODE_KATAKANA)) == hiragana, input == name);
        }
    }
};

QTEST_MAIN(InputMethodWindowsTest)
#include "input_method_windows_test.moc"
