// The trip from the main window to the training window and back: the main window
// keeps everything it showed, and every opening of the training window is fresh.

#include "mainwindow/form2.h"
#include "personlist/person_grid.h"
#include "testkit/main_window.h"
#include "training/form1.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include "uikit/tests/logical_grab.h"
#include <QTimer>

using training::Form1;

using mainwindow::Form2;

namespace {

QString labelText(const QWidget* parent, const char* name) { return parent->findChild<QLabel*>(name)->text(); }

}  // namespace

class HandoverTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { testkit::useProgramFont(); }

    void readingSurvivesATripToTheTrainingWindow()
    {
        Form2 form;
        form.show();
        form.findChild<QLineEdit*>("Text2")->setText(QStringLiteral("山田"));
        form.findChild<QLineEdit*>("Text1")->setText(QStringLiteral("1980"));
        form.findChild<QComboBox*>("Combo1")->setEditText(QStringLiteral("5"));
        form.findChild<QComboBox*>("Combo2")->setEditText(QStringLiteral("5"));
        form.findChild<QLineEdit*>("Text4")->setText(QStringLiteral("2024"));
        form.findChild<QComboBox*>("Combo3")->setEditText(QStringLiteral("13"));
        form.calculateReading();
        QTest::mouseClick(form.findChild<QWidget*>("Command3"), Qt::LeftButton);  // リスト登録
        const std::vector<personlist::Person> list = form.personGrid().model().list().persons();
        const mainwindow::ReadingDisplay shown = form.display();
        const mainwindow::ReadingInputs typed = form.readingInputs();
        const QImage picture = uikit::testing::logicalGrab(&form);

        QPointer<Form1> training = testkit::MainWindowDriver(form).openTraining();
        QVERIFY(training);
        QVERIFY(!form.isVisible());
        training->findChild<QSlider*>("Slider1")->setValue(-7);
        training->tick();
        training->tick();
        QTest::mouseClick(training->findChild<QWidget*>("Command1"), Qt::LeftButton);
        testkit::letClosedWindowsGo();

        QVERIFY(!training);
        QVERIFY(form.isVisible());
        QCOMPARE(form.display(), shown);
        QCOMPARE(form.readingInputs().readingMonth, typed.readingMonth);
        QCOMPARE(form.findChild<QLineEdit*>("Text2")->text(), QStringLiteral("山田"));
        QCOMPARE(form.personGrid().model().list().persons(), list);
        QCOMPARE(form.personGrid().currentRow(), 1);
        QCOMPARE(uikit::testing::logicalGrab(&form), picture);
    }

    void everyOpeningStartsFresh()
    {
        Form2 form;
        form.show();
        QPointer<Form1> first = testkit::MainWindowDriver(form).openTraining();
        QVERIFY(first);
        first->findChild<QSlider*>("Slider1")->setValue(-120);
        first->tick();
        QCOMPARE(labelText(first, "Label2"), QStringLiteral("陽遁"));
        first->close();  // by the frame: acts as 戻る
        testkit::letClosedWindowsGo();
        QVERIFY(!first);
        QVERIFY(form.isVisible());

        QPointer<Form1> second = testkit::MainWindowDriver(form).openTraining();
        QVERIFY(second);
        QCOMPARE(labelText(second, "Label2"), QStringLiteral("隠遁"));
        QCOMPARE(labelText(second, "Label3"), QStringLiteral("2秒"));
        QCOMPARE(labelText(second, "Label1(5)"), QStringLiteral("五"));
        QCOMPARE(second->findChild<QSlider*>("Slider1")->value(), 4);
        QCOMPARE(second->findChild<QTimer*>("Timer1")->interval(), 2000);
        QVERIFY(second->findChild<QTimer*>("Timer1")->isActive());
        second->close();
        testkit::letClosedWindowsGo();
        QVERIFY(form.isVisible());
    }

    // Clicks that arrive while the program is busy are queued; the second finds the
    // training window open and must not open another, with a timer of its own.
    void quickClicksOpenOneTrainingWindow()
    {
        Form2 form;
        form.show();
        auto* image = form.findChild<QPushButton*>("Command2");
        for (int i = 0; i < 3; ++i) {
            QMetaObject::invokeMethod(image, &QAbstractButton::click, Qt::QueuedConnection);
        }
        QCoreApplication::processEvents();
        QCOMPARE(testkit::trainingWindows().size(), 1);
        QVERIFY(testkit::trainingWindows().constFirst()->isVisible());
        QVERIFY(!form.isVisible());
        form.openTraining();
        QCOMPARE(testkit::trainingWindows().size(), 1);

        QTest::mouseClick(testkit::trainingWindows().constFirst()->findChild<QWidget*>("Command1"), Qt::LeftButton);
        testkit::letClosedWindowsGo();
        QVERIFY(testkit::trainingWindows().isEmpty());
        QVERIFY(form.isVisible());
    }

    // One icon for the program's life: painting a new one at every opening kept
    // each in the pixmap cache.
    void everyOpeningSharesOneIcon()
    {
        Form2 form;
        form.show();
        const qint64 key = form.windowIcon().cacheKey();
        for (int i = 0; i < 3; ++i) {
            QPointer<Form1> training = testkit::MainWindowDriver(form).openTraining();
            QVERIFY(training);
            QCOMPARE(training->windowIcon().cacheKey(), key);
            training->close();
            testkit::letClosedWindowsGo();
        }
    }

    // Closing the main window ends the program even with the training window
    // open (as a session that logs out closes it): the event loop ends, no
    // window stays behind and the main window does not come back. Run last: it
    // runs the application's own event loop.
    void closingTheMainWindowEndsTheProgram()
    {
        Form2 form;
        form.show();
        QPointer<Form1> training = testkit::MainWindowDriver(form).openTraining();
        QVERIFY(training);
        QTimer::singleShot(0, &form, [&form] { form.close(); });
        // Only a program that fails to end meets this timer.
        QTimer::singleShot(10000, qApp, [] { QCoreApplication::exit(1); });
        QCOMPARE(QApplication::exec(), 0);
        testkit::letClosedWindowsGo();
        QVERIFY(!training);
        for (QWidget* w : QApplication::topLevelWidgets()) {
            QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
        }
    }
};

QTEST_MAIN(HandoverTest)
#include "handover_test.moc"
