#include "training/form1.h"

#include "reckoning/board.h"
#include "reckoning/tables.h"
#include "testkit/driver.h"

#include <QAccessible>
#include <QApplication>
#include <QCloseEvent>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include "uikit/tests/logical_grab.h"
#include <QTimer>
#include <QWindow>

using training::Form1;

namespace {

QLabel* label(QWidget* window, const QString& name)
{
    auto* found = window->findChild<QLabel*>(name);
    if (found == nullptr) {
        qFatal("no label %s", qPrintable(name));
    }
    return found;
}

QLabel* cell(QWidget* window, int palace) { return label(window, QStringLiteral("Label1(%1)").arg(palace)); }
QSlider* slider(QWidget* window) { return window->findChild<QSlider*>(QStringLiteral("Slider1")); }
QTimer* timer(QWidget* window) { return window->findChild<QTimer*>(QStringLiteral("Timer1")); }
QPushButton* returnButton(QWidget* window) { return window->findChild<QPushButton*>(QStringLiteral("Command1")); }

// What the user sees of one board cell: its caption and the colour a few pixels
// inside its bottom-left corner, where no caption is drawn.
struct SeenCell {
    QString caption;
    QRgb background;
};

SeenCell seen(Form1* window, const QImage& picture, int palace)
{
    QLabel* c = cell(window, palace);
    const QPoint inside = c->geometry().bottomLeft() + QPoint(4, -4);
    return {c->text(), picture.pixel(inside) & 0xFFFFFFu};
}

// The board as drawn, checked against a reckoning board: numeral and colour of
// the star of each palace, text in the board's colour.
void verifyBoardShows(Form1* window, const reckoning::Board& stars)
{
    const QImage picture = uikit::testing::logicalGrab(window);
    for (int p = 1; p <= 9; ++p) {
        const int star = stars.star[static_cast<std::size_t>(p)];
        const SeenCell shown = seen(window, picture, p);
        QCOMPARE(shown.caption.toStdString(), std::string(reckoning::boardNumeral(star)));
        QCOMPARE(shown.background, QRgb{reckoning::starColour(star)});
        QCOMPARE(cell(window, p)->palette().color(QPalette::WindowText).rgb() & 0xFFFFFFu, 0xC0C0FFu);
    }
}

// Every opening of the training window looks the same, whatever the last one did.
void verifyFreshState(Form1* window)
{
    verifyBoardShows(window, reckoning::homeBoard());
    QCOMPARE(label(window, QStringLiteral("Label2"))->text(), QStringLiteral("隠遁"));
    QCOMPARE(label(window, QStringLiteral("Label3"))->text(), QStringLiteral("2秒"));
    QCOMPARE(slider(window)->value(), 4);
    QVERIFY(timer(window)->isActive());
    QCOMPARE(timer(window)->interval(), 2000);
    QVERIFY(!cell(window, 0)->isVisible());
    QCOMPARE(cell(window, 0)->text(), QStringLiteral("Label1"));
}

// Opened as the main window opens it: shown, with a hidden main window waiting
// for the signal.
struct Visit {
    QWidget mainWindow;
    QPointer<Form1> training = new Form1;

    Visit()
    {
        QObject::connect(training, &Form1::returnToMain, &mainWindow, &QWidget::show);
        training->show();
    }
    ~Visit() { delete training.data(); }
};

}  // namespace

class Form1Test : public QObject {
    Q_OBJECT

private slots:
    void opensOnTheHomeBoardTickingEveryTwoSeconds()
    {
        Visit visit;
        verifyFreshState(visit.training);
        QCOMPARE(visit.training->windowIcon().availableSizes().value(0), QSize(32, 32));
    }

    // Cells at the places the window was drawn with, written out here rather than
    // taken from the layout, so that east and west cannot trade places unseen.
    void cellsStandWhereTheBoardPutsThem_data()
    {
        QTest::addColumn<int>("palace");
        QTest::addColumn<QRect>("rect");
        QTest::newRow("東 on the left") << 3 << QRect(8, 184, 177, 177);
        QTest::newRow("西 on the right") << 7 << QRect(360, 184, 177, 177);
        QTest::newRow("南東 top left") << 4 << QRect(8, 8, 177, 177);
        QTest::newRow("南 top middle") << 9 << QRect(184, 8, 177, 177);
        QTest::newRow("北 bottom middle") << 1 << QRect(184, 360, 177, 177);
        QTest::newRow("北西, one pixel shorter") << 6 << QRect(360, 360, 177, 176);
    }
    void cellsStandWhereTheBoardPutsThem()
    {
        QFETCH(int, palace);
        QFETCH(QRect, rect);
        Visit visit;
        QCOMPARE(cell(visit.training, palace)->geometry(), rect);
        QCOMPARE(visit.training->childAt(rect.center()), cell(visit.training, palace));
    }

    // The timer must really be wired to the step; fired by hand, not waited for.
    void eachTickMovesTheStarsAndNamesTheDirection_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("ticks");
        QTest::addColumn<int>("centre");
        QTest::addColumn<QString>("direction");
        QTest::newRow("one 隠遁 tick at the opening value") << 4 << 1 << 4 << QStringLiteral("隠遁");
        QTest::newRow("0 still flies 隠遁") << 0 << 1 << 4 << QStringLiteral("隠遁");
        QTest::newRow("three 隠遁 ticks") << 120 << 3 << 2 << QStringLiteral("隠遁");
        QTest::newRow("one 陽遁 tick") << -1 << 1 << 6 << QStringLiteral("陽遁");
        QTest::newRow("nine 陽遁 ticks come home") << -120 << 9 << 5 << QStringLiteral("陽遁");
    }
    void eachTickMovesTheStarsAndNamesTheDirection()
    {
        QFETCH(int, value);
        QFETCH(int, ticks);
        QFETCH(int, centre);
        QFETCH(QString, direction);
        Visit visit;
        slider(visit.training)->setValue(value);
        for (int i = 0; i < ticks; ++i) {
            QMetaObject::invokeMethod(timer(visit.training), "timeout");
        }
        verifyBoardShows(visit.training, reckoning::boardFromCentre(centre));
        QCOMPARE(label(visit.training, QStringLiteral("Label2"))->text(), direction);
    }

    void sliderSetsThePeriodLabelAndTheTimer_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("milliseconds");
        QTest::newRow("top end") << -120 << QStringLiteral("60秒") << 60000;
        QTest::newRow("-5, a half") << -5 << QStringLiteral("2.5秒") << 2500;
        QTest::newRow("-1") << -1 << QStringLiteral("0.5秒") << 500;
        QTest::newRow("middle stops") << 0 << QStringLiteral("0秒") << 0;
        QTest::newRow("1") << 1 << QStringLiteral("0.5秒") << 500;
        QTest::newRow("3") << 3 << QStringLiteral("1.5秒") << 1500;
        QTest::newRow("back to 4") << 4 << QStringLiteral("2秒") << 2000;
        QTest::newRow("119") << 119 << QStringLiteral("59.5秒") << 59500;
        QTest::newRow("bottom end") << 120 << QStringLiteral("60秒") << 60000;
    }
    void sliderSetsThePeriodLabelAndTheTimer()
    {
        QFETCH(int, value);
        QFETCH(QString, text);
        QFETCH(int, milliseconds);
        Visit visit;
        QSlider* s = slider(visit.training);
        s->setValue(value == 0 ? 1 : -value);  // so that every row is a change
        s->setValue(value);
        QCOMPARE(label(visit.training, QStringLiteral("Label3"))->text(), text);
        QCOMPARE(timer(visit.training)->isActive(), milliseconds != 0);
        if (milliseconds != 0) {
            QCOMPARE(timer(visit.training)->interval(), milliseconds);
        }
    }

    void stoppingKeepsTheLastDirectionAndTheBoard()
    {
        Visit visit;
        slider(visit.training)->setValue(-3);
        visit.training->tick();
        slider(visit.training)->setValue(0);
        QVERIFY(!timer(visit.training)->isActive());
        QCOMPARE(label(visit.training, QStringLiteral("Label2"))->text(), QStringLiteral("陽遁"));
        verifyBoardShows(visit.training, reckoning::boardFromCentre(6));

        // Back at the period it had before the stop: the timer must start again,
        // although its period does not change.
        slider(visit.training)->setValue(-3);
        QVERIFY(timer(visit.training)->isActive());
        QCOMPARE(timer(visit.training)->interval(), 1500);
        slider(visit.training)->setValue(0);
        slider(visit.training)->setValue(3);
        QVERIFY(timer(visit.training)->isActive());
        QCOMPARE(timer(visit.training)->interval(), 1500);
    }

    void reversingShowsOnlyAtTheNextTick()
    {
        Visit visit;
        slider(visit.training)->setValue(-4);
        QCOMPARE(label(visit.training, QStringLiteral("Label3"))->text(), QStringLiteral("2秒"));
        QCOMPARE(label(visit.training, QStringLiteral("Label2"))->text(), QStringLiteral("隠遁"));
        verifyBoardShows(visit.training, reckoning::homeBoard());
        visit.training->tick();
        QCOMPARE(label(visit.training, QStringLiteral("Label2"))->text(), QStringLiteral("陽遁"));
        verifyBoardShows(visit.training, reckoning::boardFromCentre(6));
    }

    // Minimum at the top: a click above the thumb lowers the value, one below it
    // raises it, and the arrow keys move the thumb the way they point.
    void sliderRunsFromMinusAtTheTopToPlusAtTheBottom()
    {
        Visit visit;
        QSlider* s = slider(visit.training);
        QTest::mouseClick(s, Qt::LeftButton, {}, QPoint(s->width() / 2, 4));
        QCOMPARE(s->value(), -1);
        QTest::mouseClick(s, Qt::LeftButton, {}, QPoint(s->width() / 2, s->height() - 8));
        QCOMPARE(s->value(), 4);

        s->setValue(4);
        QTest::keyClick(s, Qt::Key_Down);
        QCOMPARE(s->value(), 5);
        QTest::keyClick(s, Qt::Key_PageUp);
        QCOMPARE(s->value(), 0);
        QTest::keyClick(s, Qt::Key_Up);
        QCOMPARE(s->value(), -1);
        QCOMPARE(label(visit.training, QStringLiteral("Label3"))->text(), QStringLiteral("0.5秒"));
        QTest::keyClick(s, Qt::Key_Home);
        QCOMPARE(s->value(), -120);
    }

    void sliderHasTheFocusAndComesBeforeTheButton()
    {
        Visit visit;
        visit.training->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(visit.training));
        QCOMPARE(QApplication::focusWidget(), slider(visit.training));
        QTest::keyClick(slider(visit.training), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), returnButton(visit.training));
        // A screen reader names both stops.
        QCOMPARE(QAccessible::queryAccessibleInterface(slider(visit.training))->text(QAccessible::Name),
                 QStringLiteral("スピードコントロール"));
        QCOMPARE(QAccessible::queryAccessibleInterface(returnButton(visit.training))->text(QAccessible::Name),
                 QStringLiteral("戻る"));
    }

    // The main window must already be showing when the training window goes, or the
    // program would pass through a moment with no window and end.
    void returnShowsTheMainWindowThenUnloads_data()
    {
        QTest::addColumn<bool>("byFrame");
        QTest::newRow("戻る") << false;
        QTest::newRow("frame's close control") << true;
    }
    void returnShowsTheMainWindowThenUnloads()
    {
        QFETCH(bool, byFrame);
        Visit visit;
        QVERIFY(!visit.mainWindow.isVisible());
        bool trainingVisibleWhenCalled = false;
        QObject::connect(visit.training, &Form1::returnToMain, &visit.mainWindow,
                         [&] { trainingVisibleWhenCalled = visit.training->isVisible(); });
        if (byFrame) {
            QCloseEvent close;
            QCoreApplication::sendEvent(visit.training->windowHandle(), &close);
        } else {
            testkit::click(returnButton(visit.training));
        }
        QVERIFY(trainingVisibleWhenCalled);
        QVERIFY(visit.mainWindow.isVisible());
        testkit::letClosedWindowsGo();
        QVERIFY(visit.training.isNull());
    }

    void nothingSurvivesAReturn()
    {
        {
            Visit first;
            slider(first.training)->setValue(-7);
            first.training->tick();
            first.training->tick();
            testkit::click(returnButton(first.training));
            testkit::letClosedWindowsGo();
            QVERIFY(first.training.isNull());
        }
        Visit second;
        verifyFreshState(second.training);
    }
};

QTEST_MAIN(Form1Test)
#include "form1_test.moc"
