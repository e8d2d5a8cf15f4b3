// Under wine, on a display of its own: a window that the desktop minimises, as
// the task bar does with ShowWindow, stays minimised, and comes back as it was;
// the training window, alone on screen, has a task-bar button of its own.

#include "mainwindow/form2.h"
#include "training/form1.h"
#include "uikit/look.h"

#include <QApplication>
#include <QPointer>
#include <QTest>

#include <windows.h>

using mainwindow::Form2;

namespace {

training::Form1* openTraining(Form2& form)
{
    QTest::mouseClick(form.findChild<QWidget*>("Command2"), Qt::LeftButton);
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* f = qobject_cast<training::Form1*>(w); f && f->isVisible()) {
            return f;
        }
    }
    return nullptr;
}

HWND handleOf(QWidget* w) { return reinterpret_cast<HWND>(w->winId()); }

}  // namespace

class MinimiseTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setFont(uikit::defaultUiFont()); }

    void minimisedWindowStaysMinimised_data()
    {
        QTest::addColumn<bool>("training");
        QTest::newRow("main window, maximised") << false;
        QTest::newRow("training window, the main window hidden") << true;
    }
    void minimisedWindowStaysMinimised()
    {
        QFETCH(bool, training);
        Form2 form;
        form.showMaximized();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QPointer<QWidget> window = &form;
        if (training) {
            window = openTraining(form);
            QVERIFY(window);
            QVERIFY(QTest::qWaitForWindowExposed(window));
        }
        const HWND handle = handleOf(window);
        const bool maximised = IsZoomed(handle);
        QCOMPARE(maximised, !training);

        ShowWindow(handle, SW_MINIMIZE);
        QTRY_VERIFY(window->isMinimized());
        // The program has heard of the minimise; one that threw the window back
        // did so within a few turns of its event loop.
        QTest::qWait(500);
        QVERIFY(IsIconic(handle));

        ShowWindow(handle, SW_RESTORE);
        SetForegroundWindow(handle);
        QTRY_VERIFY(!window->isMinimized());
        QVERIFY(!IsIconic(handle));
        QCOMPARE(bool(IsZoomed(handle)), maximised);
        if (training) {
            window->close();
        }
    }

    void trainingWindowHasATaskBarButtonOfItsOwn()
    {
        Form2 form;
        form.showMaximized();
        QPointer<training::Form1> training = openTraining(form);
        QVERIFY(training);
        const HWND handle = handleOf(training);
        QVERIFY(!form.isVisible());
        // An owned window or a tool window gets no button; the main window, hidden,
        // has none either.
        QCOMPARE(GetWindow(handle, GW_OWNER), HWND(nullptr));
        QVERIFY(!(GetWindowLongPtrW(handle, GWL_EXSTYLE) & WS_EX_TOOLWINDOW));
        training->close();
    }
};

QTEST_MAIN(MinimiseTest)
#include "minimise_windows_test.moc"
