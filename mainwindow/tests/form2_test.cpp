// The main window as the user first sees it and as its inputs are read.

#include "mainwindow/caption_label.h"
#include "mainwindow/form2.h"
#include "reckoning/tables.h"
#include "testkit/main_window.h"
#include "uikit/input_method.h"
#include "uikit/look.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QImage>
#include <QInputMethodQueryEvent>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QScrollBar>
#include <QSet>
#include <QTableView>
#include <QTest>

#include "uikit/tests/logical_grab.h"

using mainwindow::CaptionLabel;
using mainwindow::Form2;

namespace {

constexpr QRect LayoutArea(0, 0, 993, 665);

QString textOf(const QWidget* w)
{
    if (const auto* edit = qobject_cast<const QLineEdit*>(w)) {
        return edit->text();
    }
    if (const auto* combo = qobject_cast<const QComboBox*>(w)) {
        return combo->currentText();
    }
    if (const auto* label = qobject_cast<const QLabel*>(w)) {
        return label->text();
    }
    return {};
}

// The marks are laid over the board cells on purpose.
bool isOverlay(const QWidget* w)
{
    return w->objectName().startsWith(u"Label13(") || w->objectName().startsWith(u"Label14(");
}

QList<QWidget*> namedControls(const Form2& form)
{
    QList<QWidget*> controls;
    for (QWidget* w : form.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!w->objectName().isEmpty()) {
            controls.append(w);
        }
    }
    return controls;
}

CaptionLabel* label(const Form2& form, const QString& name)
{
    return form.findChild<CaptionLabel*>(name);
}

QRect inkBounds(const QImage& image, QRgb background)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if ((image.pixel(x, y) & 0xFFFFFF) != (background & 0xFFFFFF)) {
                bounds |= QRect(x, y, 1, 1);
            }
        }
    }
    return bounds;
}

// Caption, text colour and fill of every label of the window, by name.
QMap<QString, QString> labelStates(const Form2& form)
{
    QMap<QString, QString> states;
    for (const CaptionLabel* l : form.findChildren<CaptionLabel*>()) {
        states[l->objectName()] = QStringLiteral("%1 %2 %3")
                                      .arg(l->text())
                                      .arg(l->textColour(), 6, 16, QLatin1Char('0'))
                                      .arg(l->fill() ? QString::number(*l->fill(), 16) : QStringLiteral("clear"));
    }
    return states;
}

}  // namespace

class Form2Test : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { testkit::useProgramFont(); }

    void startContent_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("text");
        QTest::newRow("name box empty") << "Text2" << "";
        QTest::newRow("birth year empty") << "Text1" << "";
        QTest::newRow("birth month 1") << "Combo1" << "1";
        QTest::newRow("birth day 4") << "Combo2" << "4";
        QTest::newRow("reading year empty") << "Text4" << "";
        QTest::newRow("reading month 1") << "Combo3" << "1";
        QTest::newRow("reading day 10") << "Combo4" << "10";
        QTest::newRow("month 五黄殺 names star 5") << "Label4(2)" << "五黄土星";
        QTest::newRow("year 五黄殺 names star 5") << "Label20(2)" << "五黄土星";
        QTest::newRow("month 暗剣殺 empty") << "Label16(2)" << "";
        QTest::newRow("year 的殺 empty") << "Label23(2)" << "";
        QTest::newRow("natal name empty") << "Label3(2)" << "";
        QTest::newRow("no mark on the month board") << "Label14(4)" << "";
        QTest::newRow("no mark on the year board") << "Label13(9)" << "";
        QTest::newRow("first lucky slot empty") << "Label24(1)" << "";
        QTest::newRow("month board is the home board") << "Label1(9)" << "九";
        QTest::newRow("year board is the home board") << "Label2(6)" << "六";
        QTest::newRow("legend heading keeps its blanks")
            << "Label25" << "定位盤(九星及び各方角\u3000\u3000\u3000\u3000\u3000の意味）";
    }
    void startContent()
    {
        QFETCH(QString, control);
        QFETCH(QString, text);
        Form2 form;
        const QWidget* w = form.findChild<QWidget*>(control);
        QVERIFY2(w, qPrintable(control));
        QCOMPARE(textOf(w), text);
    }

    // The legend writes palace 2 with the kanji 二, the boards star 2 with the
    // katakana ニ of its name; the two look alike and are easily swapped.
    void legendKanjiAgainstBoardKatakana()
    {
        Form2 form;
        const QString legend = textOf(form.findChild<QWidget*>("Label30(2)"));
        QCOMPARE(legend, QStringLiteral("南西\n\u4E8C"));
        QCOMPARE(textOf(form.findChild<QWidget*>("Label1(2)")), QStringLiteral("\u30CB"));
        QCOMPARE(textOf(form.findChild<QWidget*>("Label2(2)")), QStringLiteral("\u30CB"));
    }

    void legendTooltips_data()
    {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("tooltip");
        QTest::newRow("north") << "Label30(1)" << "健康、子供、セックス運";
        QTest::newRow("south-west") << "Label30(2)" << "家庭、職業運";
        QTest::newRow("south") << "Label30(9)" << "知性、名誉運";
        QTest::newRow("centre has none") << "Label30(5)" << "";
        QTest::newRow("board cells have none") << "Label1(1)" << "";
    }
    void legendTooltips()
    {
        QFETCH(QString, cell);
        QFETCH(QString, tooltip);
        Form2 form;
        QCOMPARE(form.findChild<QWidget*>(cell)->toolTip(), tooltip);
    }

    void shownAndHidden_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<bool>("shown");
        QTest::newRow("year centre mark") << "Label13(5)" << false;
        QTest::newRow("month centre mark") << "Label14(5)" << false;
        QTest::newRow("year spare mark") << "Label13(0)" << false;
        QTest::newRow("spare natal label") << "Label3(3)" << false;
        QTest::newRow("month spare mark, drawn black") << "Label14(0)" << true;
        QTest::newRow("a month mark") << "Label14(1)" << true;
        QTest::newRow("a year mark") << "Label13(7)" << true;
        QTest::newRow("natal cell") << "Label1(0)" << true;
    }
    void shownAndHidden()
    {
        QFETCH(QString, control);
        QFETCH(bool, shown);
        Form2 form;
        form.show();
        QCOMPARE(form.findChild<QWidget*>(control)->isVisible(), shown);
    }

    void focusStartsInBirthYear()
    {
        Form2 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QCOMPARE(QApplication::focusWidget(), form.findChild<QWidget*>("Text1"));
    }

    void tabWalksTheInputsInOrder()
    {
        const QStringList expected = {
            "Text1",       "Text4", "Command1", "Combo1",   "Combo2",   "Combo3",   "Combo4",   "Command2",
            "MSFlexGrid1", "Text2", "Command3", "Command4", "Command5", "Command6", "Command7", "Text1",
        };
        Form2 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QStringList walked;
        for (qsizetype i = 0; i < expected.size(); ++i) {
            QWidget* focus = QApplication::focusWidget();
            QVERIFY(focus);
            walked += focus->objectName();
            QTest::keyClick(focus, Qt::Key_Tab);
        }
        QCOMPARE(walked, expected);
    }

    // A screen reader names every stop of the tab walk, each differently, and a
    // button by its caption.
    void everyInputAndButtonHasASpokenName()
    {
        Form2 form;
        form.show();
        QSet<QString> names;
        int stops = 0;
        for (QWidget* w : form.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (w->focusPolicy() == Qt::NoFocus || w->isHidden()) {
                continue;
            }
            const QString name = w->accessibleName();
            QVERIFY2(!name.isEmpty(), qPrintable(w->objectName()));
            if (const auto* button = qobject_cast<QPushButton*>(w)) {
                QCOMPARE(name, button->text());
            }
            names.insert(name);
            ++stops;
        }
        QCOMPARE(stops, 15);
        QCOMPARE(names.size(), stops);
        // On Linux a drop-down list is named by the label that captions it.
        const auto labels = QAccessible::queryAccessibleInterface(form.findChild<QWidget*>("Combo3"))
                                ->relations(QAccessible::Label);
        QCOMPARE(labels.size(), 1);
        QCOMPARE(labels.constFirst().first->text(QAccessible::Name), QStringLiteral("月"));
    }

    // Japanese conversion is refused wherever a date is typed, also in the field
    // of a drop-down list, and the input method asks the input itself: fcitx5,
    // ibus and Windows go by its answer, not by the widget attribute.
    void inputMethodOnlyInTheNameBox_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<bool>("allowed");
        QTest::newRow("name") << "Text2" << true;
        for (const char* name : {"Text1", "Combo1", "Combo2", "Text4", "Combo3", "Combo4"}) {
            QTest::newRow(name) << name << false;
        }
    }
    void inputMethodOnlyInTheNameBox()
    {
        QFETCH(QString, control);
        QFETCH(bool, allowed);
        Form2 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        form.findChild<QWidget*>(control)->setFocus();
        QList<QObject*> asked{QGuiApplication::focusObject()};
        if (auto* combo = qobject_cast<QComboBox*>(asked.front())) {
            asked.append(combo->lineEdit());
        }
        for (QObject* o : asked) {
            QInputMethodQueryEvent query(Qt::ImEnabled);
            QCoreApplication::sendEvent(o, &query);
            QVERIFY2(query.value(Qt::ImEnabled).toBool() == allowed, qPrintable(o->objectName()));
        }
    }

    // Asked once the focus event is over (the input method hears of the new focus
    // only then); not if the user has moved on or only came back to the window.
    void nameBoxAsksForJapaneseAfterTheFocusMoves()
    {
        uikit::RecordingInputMethodSwitch japanese;
        Form2 form(nullptr, &japanese);
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        auto* name = form.findChild<QWidget*>("Text2");
        name->setFocus(Qt::TabFocusReason);
        form.findChild<QWidget*>("Text1")->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
        name->setFocus(Qt::ActiveWindowFocusReason);
        QCoreApplication::processEvents();
        QVERIFY(japanese.asked().isEmpty());
        form.findChild<QWidget*>("Text1")->setFocus(Qt::TabFocusReason);
        name->setFocus(Qt::MouseFocusReason);
        QVERIFY(japanese.asked().isEmpty());
        QCoreApplication::processEvents();
        QCOMPARE(japanese.asked(), QStringList{"Text2"});
    }

    void dropDownsOfferNumbersAndTakeAnyText_data()
    {
        QTest::addColumn<QString>("combo");
        QTest::addColumn<int>("items");
        QTest::newRow("birth month") << "Combo1" << 12;
        QTest::newRow("birth day") << "Combo2" << 31;
        QTest::newRow("reading month") << "Combo3" << 12;
        QTest::newRow("reading day") << "Combo4" << 31;
    }
    void dropDownsOfferNumbersAndTakeAnyText()
    {
        QFETCH(QString, combo);
        QFETCH(int, items);
        Form2 form;
        auto* list = form.findChild<QComboBox*>(combo);
        QVERIFY(list && list->isEditable());
        QCOMPARE(list->count(), items);
        QCOMPARE(list->itemText(0), QStringLiteral("1"));
        QCOMPARE(list->itemText(items - 1), QString::number(items));

        list->setEditText(QStringLiteral("13"));
        const mainwindow::ReadingInputs in = form.readingInputs();
        const std::string typed = combo == "Combo1"   ? in.birthMonth
                                  : combo == "Combo2" ? in.birthDay
                                  : combo == "Combo3" ? in.readingMonth
                                                      : in.readingDay;
        QCOMPARE(typed, std::string("13"));
        QCOMPARE(list->count(), items);  // typing adds nothing to the list
    }

    void inputsAreReadAsTyped()
    {
        Form2 form;
        form.findChild<QLineEdit*>("Text1")->setText(QStringLiteral("１９８０"));
        form.findChild<QLineEdit*>("Text4")->setText(QStringLiteral(" 2024 "));
        form.findChild<QComboBox*>("Combo3")->setEditText(QStringLiteral("03"));
        const mainwindow::ReadingInputs in = form.readingInputs();
        QCOMPARE(in.birthYear, std::string("１９８０"));
        QCOMPARE(in.birthMonth, std::string("1"));
        QCOMPARE(in.birthDay, std::string("4"));
        QCOMPARE(in.readingYear, std::string(" 2024 "));
        QCOMPARE(in.readingMonth, std::string("03"));
        QCOMPARE(in.readingDay, std::string("10"));
    }

    void controlsStayInsideTheLayoutAndApart()
    {
        Form2 form;
        const QList<QWidget*> controls = namedControls(form);
        QVERIFY(controls.size() > 100);
        for (const QWidget* w : controls) {
            QVERIFY2(LayoutArea.contains(w->geometry()), qPrintable(w->objectName()));
        }
        for (qsizetype i = 0; i < controls.size(); ++i) {
            for (qsizetype j = i + 1; j < controls.size(); ++j) {
                const QWidget* a = controls[i];
                const QWidget* b = controls[j];
                if (isOverlay(a) || isOverlay(b)) {
                    continue;
                }
                const QRect common = a->geometry() & b->geometry();
                QVERIFY2(common.isEmpty() || common.width() <= 1 || common.height() <= 1,
                         qPrintable(a->objectName() + " overlaps " + b->objectName()));
            }
        }
    }

    // Maximised on the offscreen screen, 800 x 600, the window is smaller than
    // the layout: all of it shows, drawn smaller, the list without a scroll bar;
    // restored, it is 1:1 again.
    void maximisedOnASmallerScreenAllOfTheLayoutShows()
    {
        Form2 form;
        const QList<QWidget*> controls = namedControls(form);
        QList<QRect> laidOut;
        for (const QWidget* w : controls) {
            laidOut.append(w->geometry());
        }
        form.showMaximized();
        QTRY_VERIFY(form.isMaximized() && form.layoutScale() < 1);
        for (const QWidget* w : controls) {
            QVERIFY2(form.rect().contains(w->geometry()), qPrintable(w->objectName()));
        }
        const auto* grid = form.findChild<QTableView*>("MSFlexGrid1");
        QVERIFY(!grid->horizontalScrollBar()->isVisible());
        QVERIFY(grid->horizontalHeader()->length() <= grid->viewport()->width());
        QCOMPARE(grid->verticalHeader()->width(), qRound(33 * form.layoutScale()));
        form.showNormal();
        QTRY_COMPARE(form.layoutScale(), 1.0);
        for (qsizetype i = 0; i < controls.size(); ++i) {
            QCOMPARE(controls[i]->geometry(), laidOut[i]);
        }
        QCOMPARE(grid->horizontalHeader()->height(), 17);
    }

    // A few cells at the places the window was drawn with, written out here
    // rather than read from the layout table, so that a table with two palaces
    // swapped (east is on the left) cannot pass.
    void cellsStandWhereTheBoardPutsThem_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QRect>("rect");
        QTest::addColumn<QString>("text");
        QTest::newRow("year board 西") << "Label2(7)" << QRect(424, 88, 73, 73) << "七";
        QTest::newRow("year board 東") << "Label2(3)" << QRect(280, 88, 73, 73) << "三";
        QTest::newRow("year board 南東") << "Label2(4)" << QRect(280, 16, 73, 73) << "四";
        QTest::newRow("month board 北西") << "Label1(6)" << QRect(152, 160, 73, 73) << "六";
        QTest::newRow("month board 南") << "Label1(9)" << QRect(80, 16, 73, 73) << "九";
        QTest::newRow("year mark 西") << "Label13(7)" << QRect(448, 96, 25, 57) << "";
        QTest::newRow("month mark 北東") << "Label14(8)" << QRect(32, 168, 25, 57) << "";
        QTest::newRow("legend 東") << "Label30(3)" << QRect(8, 528, 49, 49) << "東\n三";
        QTest::newRow("legend 北") << "Label30(1)" << QRect(56, 576, 49, 49) << "北\n一";
    }
    void cellsStandWhereTheBoardPutsThem()
    {
        QFETCH(QString, control);
        QFETCH(QRect, rect);
        QFETCH(QString, text);
        Form2 form;
        const QWidget* w = form.findChild<QWidget*>(control);
        QVERIFY2(w, qPrintable(control));
        QCOMPARE(w->geometry(), rect);
        QCOMPARE(textOf(w), text);
    }

    void everyMarkLiesOnItsCell()
    {
        Form2 form;
        for (const char* board : {"1", "2"}) {
            const QString marks = board == QLatin1String("1") ? "Label14(%1)" : "Label13(%1)";
            for (int p = 1; p <= 9; ++p) {
                const QRect cell = form.findChild<QWidget*>(QString("Label%1(%2)").arg(board).arg(p))->geometry();
                const QRect mark = form.findChild<QWidget*>(marks.arg(p))->geometry();
                QVERIFY2(cell.contains(mark), qPrintable(marks.arg(p)));
            }
        }
    }

    // Before the first reading the natal cell is an empty black square whose
    // border shows on the black window.
    void natalCellIsAnEmptyBorderedSquare()
    {
        Form2 form;
        const QImage image = uikit::testing::logicalGrab(form.findChild<QWidget*>("Label1(0)"));
        const QRect inside = image.rect().adjusted(1, 1, -1, -1);
        QCOMPARE(inkBounds(image.copy(inside), 0x000000), QRect());
        QVERIFY(image.pixel(0, image.height() / 2) != qRgb(0, 0, 0));
        QVERIFY(image.pixel(image.width() - 1, image.height() / 2) != qRgb(0, 0, 0));
    }

    // The spare mark's placeholder caption must not show on the black window.
    void spareMarkDoesNotShow()
    {
        Form2 form;
        form.resize(LayoutArea.size());
        const QWidget* spare = form.findChild<QWidget*>("Label14(0)");
        QVERIFY(!textOf(spare).isEmpty());
        const QImage window = uikit::testing::logicalGrab(&form);
        QCOMPARE(inkBounds(window.copy(spare->geometry()), 0x000000), QRect());
    }

    void cellBorderShowsOnEveryStarColour_data()
    {
        QTest::addColumn<quint32>("fill");
        QTest::newRow("black") << quint32(0);
        for (int star = 1; star <= 9; ++star) {
            QTest::newRow(reckoning::starName(star).data()) << quint32(reckoning::starColour(star));
        }
    }
    void cellBorderShowsOnEveryStarColour()
    {
        QFETCH(quint32, fill);
        CaptionLabel cell;
        cell.resize(73, 73);
        cell.setBordered(true);
        cell.setFill(fill);
        const QImage image = uikit::testing::logicalGrab(&cell);
        const QRgb inside = image.pixel(36, 60) & 0xFFFFFF;
        QCOMPARE(inside, QRgb(fill));
        for (const QPoint edge : {QPoint(0, 36), QPoint(36, 0), QPoint(72, 36), QPoint(36, 72)}) {
            QVERIFY2((image.pixel(edge) & 0xFFFFFF) != inside, qPrintable(QString("%1,%2").arg(edge.x()).arg(edge.y())));
        }
    }

    // At every display scale two neighbouring cells share one border line, as
    // at 100 %, and no cell's colour shows past the outer border. Read along a
    // row or column of device pixels, each border is one line as wide as every
    // other (the whole device pixels that fit in a layout pixel), never a white
    // line beside a grey one; the list's headings are divided alike.
    void neighbouringCellsShareOneBorderLine_data()
    {
        QTest::addColumn<QPoint>("origin");  // (0, 0): the list's header row
        QTest::addColumn<int>("pitch");
        QTest::addColumn<bool>("across");
        for (const bool across : {true, false}) {
            QTest::addRow("month board, %s", across ? "across" : "down") << QPoint(8, 16) << 72 << across;
            QTest::addRow("year board, %s", across ? "across" : "down") << QPoint(280, 16) << 72 << across;
            QTest::addRow("legend, %s", across ? "across" : "down") << QPoint(8, 480) << 48 << across;
            QTest::addRow("month board drawn smaller, %s", across ? "across" : "down") << QPoint(8, 16) << 72 << across;
        }
        QTest::newRow("list header") << QPoint() << 0 << true;
    }
    void neighbouringCellsShareOneBorderLine()
    {
        QFETCH(QPoint, origin);
        QFETCH(int, pitch);
        QFETCH(bool, across);
        // maximised on the smaller offscreen screen
        const bool maximised = QByteArray(QTest::currentDataTag()).contains("smaller");
        Form2 form;
        form.resize(LayoutArea.size());
        maximised ? form.showMaximized() : form.show();
        QTRY_VERIFY(form.layoutScale() < 1 || !maximised);
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const qreal scale = form.layoutScale();
        const QImage shown = form.grab().toImage();
        const qreal ratio = shown.devicePixelRatio();
        const QPoint step = across ? QPoint(1, 0) : QPoint(0, 1);
        // Reads the runs of one colour from a layout point on, in device pixels:
        // `count` lines of a line colour, each as wide as a layout pixel allows,
        // never two side by side, and with `onBlack` only black past the outer two.
        const auto check = [&](QPoint from, int length, const QSet<QRgb>& lines, int count, bool onBlack) {
            const auto device = [ratio](QPoint p) { return QPoint(qRound(p.x() * ratio), qRound(p.y() * ratio)); };
            QList<QPair<QRgb, int>> seen;
            QString drawn;
            for (QPoint p = device(from); p != device(from + length * step) + step; p += step) {
                const QRgb c = shown.pixel(p) & 0xFFFFFF;
                if (seen.isEmpty() || seen.last().first != c) {
                    seen.append({c, 0});
                }
                ++seen.last().second;
            }
            QList<qsizetype> at;
            bool sound = true;
            for (qsizetype i = 0; i < seen.size(); ++i) {
                drawn += QString(" #%1x%2").arg(seen[i].first, 6, 16, QChar(u'0')).arg(seen[i].second);
                if (lines.contains(seen[i].first)) {
                    sound &= seen[i].second == std::max(1, int(ratio)) && (at.isEmpty() || i > at.last() + 1);
                    at.append(i);
                }
            }
            sound &= at.size() == count;
            if (sound && onBlack) {
                sound = at.first() <= 1 && at.last() >= seen.size() - 2 && (at.first() == 0 || seen.first().first == 0) &&
                        (at.last() == seen.size() - 1 || seen.last().first == 0);
            }
            QVERIFY2(sound, qPrintable(drawn));
        };
        if (pitch == 0) {
            const auto* grid = form.findChild<QTableView*>("MSFlexGrid1");
            const QPoint corner = grid->verticalHeader()->mapTo(&form, QPoint(0, 0));
            const QPoint header = grid->horizontalHeader()->mapTo(&form, QPoint(0, 1));
            const QPoint from(corner.x() + 1, header.y());
            check(from, header.x() + grid->horizontalHeader()->length() + 2 - from.x(), {0x000000}, 5, false);
            return;
        }
        // Three cells and four lines along each row and column, clear of the
        // captions: low in a row, at the left of a column.
        for (int k = 0; k < 3; ++k) {
            const QPoint from = origin + (across ? QPoint(-3, k * pitch + pitch * 4 / 5) : QPoint(k * pitch + 4, -3));
            check(from * scale, qRound((3 * pitch + 6) * scale), {0x808080, 0xFFFFFF}, 4, true);
        }
    }

    // A mark stands one character under another, all three characters inside
    // the mark.
    void markStandsOneCharacterUnderAnother()
    {
        Form2 form;
        auto* mark = form.findChild<CaptionLabel*>("Label13(4)");
        mark->setText(QStringLiteral("五黄殺"));
        QCOMPARE(mark->text(), QStringLiteral("五黄殺"));
        const QRect ink = inkBounds(uikit::testing::logicalGrab(mark), 0x000000);
        QVERIFY2(ink.height() > 2 * ink.width(), qPrintable(QString("%1x%2").arg(ink.width()).arg(ink.height())));
        QVERIFY(ink.bottom() > mark->height() * 3 / 4);
    }

    void workedReadingThroughTheWindow()
    {
        Form2 form;
        form.resize(LayoutArea.size());
        form.show();
        const testkit::MainWindowDriver window(form);
        window.typeReading(testkit::WorkedReading);
        window.click("Command1");

        CaptionLabel* natal = label(form, "Label1(0)");
        QCOMPARE(natal->text(), QStringLiteral("\u30CB"));
        QCOMPARE(natal->fill(), std::optional<std::uint32_t>(0x004040));
        QCOMPARE(uikit::testing::logicalGrab(natal).pixel(36, 60), qRgb(0x00, 0x40, 0x40));
        QCOMPARE(label(form, "Label3(2)")->text(), QStringLiteral("ニ黒土星"));
        QCOMPARE(label(form, "Label3(2)")->textColour(), 0x004040u);

        QCOMPARE(label(form, "Label24(1)")->text(), QStringLiteral("六白金星"));
        QCOMPARE(label(form, "Label24(4)")->text(), QStringLiteral("九紫火星"));
        QCOMPARE(label(form, "Label24(4)")->textColour(), 0x800080u);
        QCOMPARE(label(form, "Label24(5)")->text(), QString());

        QCOMPARE(label(form, "Label2(5)")->text(), QStringLiteral("三"));
        QCOMPARE(label(form, "Label13(7)")->text(), QStringLiteral("五黄殺"));
        QCOMPARE(label(form, "Label13(3)")->text(), QStringLiteral("暗剣殺"));
        QCOMPARE(label(form, "Label14(2)")->text(), QStringLiteral("本命殺"));
        QCOMPARE(label(form, "Label14(8)")->text(), QStringLiteral("的殺"));

        QCOMPARE(label(form, "Label15(2)")->text(), QStringLiteral("ニ黒土星    南西"));
        QCOMPARE(label(form, "Label16(2)")->text(), QStringLiteral("ナシ"));
        QCOMPARE(label(form, "Label16(1)")->textColour(), 0xFFFF00u);
        QCOMPARE(label(form, "Label17(2)")->text(), QStringLiteral("八白土星    北東"));
        QCOMPARE(label(form, "Label17(1)")->textColour(), 0xDD00AAu);
        QCOMPARE(label(form, "Label17(2)")->textColour(), 0xDD00AAu);

        // The command reads the window and writes the reading, nothing else.
        QCOMPARE(form.findChild<QLineEdit*>("Text2")->text(), QString());
        QCOMPARE(form.findChild<QComboBox*>("Combo3")->currentText(), QStringLiteral("2"));
    }

    void emptyYearChangesNothing_data()
    {
        QTest::addColumn<QString>("emptied");
        QTest::addColumn<bool>("afterAReading");
        QTest::newRow("birth year, at start") << "Text1" << false;
        QTest::newRow("reading year, at start") << "Text4" << false;
        QTest::newRow("birth year, after a reading") << "Text1" << true;
        QTest::newRow("reading year, after a reading") << "Text4" << true;
    }
    void emptyYearChangesNothing()
    {
        QFETCH(QString, emptied);
        QFETCH(bool, afterAReading);
        Form2 form;
        form.resize(LayoutArea.size());
        form.show();
        const testkit::MainWindowDriver window(form);
        if (afterAReading) {
            window.typeReading(testkit::WorkedReading);
            window.click("Command1");
        }
        // Other inputs change, so that a reading that went ahead would show.
        window.typeReading(testkit::WorkedReading);
        form.findChild<QComboBox*>("Combo3")->setEditText(QStringLiteral("7"));
        form.findChild<QLineEdit*>(emptied)->clear();
        const mainwindow::ReadingDisplay before = form.display();
        const QImage shown = uikit::testing::logicalGrab(&form);

        window.click("Command1");
        QCOMPARE(form.display(), before);
        QCOMPARE(uikit::testing::logicalGrab(&form), shown);
    }

    // One input that is no number: nothing of the reading on screen changes (no
    // board of the new date beside the natal star of the old one); the window
    // beeps and hands the bad text to the user, selected.
    void inputThatIsNoNumberChangesNoLabel_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("text");
        QTest::newRow("birth year of letters") << "Text1" << "abc";
        QTest::newRow("birth month with a unit") << "Combo1" << "5月";
        QTest::newRow("birth day emptied") << "Combo2" << "";
        QTest::newRow("reading year as a fraction") << "Text4" << "2024.5";
        QTest::newRow("reading month in kanji") << "Combo3" << "二";
        QTest::newRow("reading day out of 32 bits") << "Combo4" << "99999999999";
    }
    void inputThatIsNoNumberChangesNoLabel()
    {
        QFETCH(QString, input);
        QFETCH(QString, text);
        Form2 form;
        form.resize(LayoutArea.size());
        form.show();
        const testkit::MainWindowDriver window(form);
        QVERIFY(QTest::qWaitForWindowActive(&form));
        window.typeReading(testkit::WorkedReading);
        window.click("Command1");
        const auto labels = labelStates(form);
        const mainwindow::ReadingDisplay before = form.display();

        // Another person and date, so that any step that went ahead would show.
        form.findChild<QLineEdit*>("Text1")->setText(QStringLiteral("1995"));
        form.findChild<QComboBox*>("Combo3")->setEditText(QStringLiteral("7"));
        form.findChild<QLineEdit*>("Text4")->setText(QStringLiteral("2031"));
        QWidget* bad = form.findChild<QWidget*>(input);
        if (auto* edit = qobject_cast<QLineEdit*>(bad)) {
            edit->setText(text);
        } else {
            qobject_cast<QComboBox*>(bad)->setEditText(text);
        }
        form.findChild<QLineEdit*>("Text2")->setFocus();
        window.click("Command1");

        QCOMPARE(form.display(), before);
        QCOMPARE(labelStates(form), labels);
        QCOMPARE(QApplication::focusWidget(), bad);
        const QLineEdit* field = qobject_cast<QLineEdit*>(bad) ? qobject_cast<QLineEdit*>(bad)
                                                                : qobject_cast<QComboBox*>(bad)->lineEdit();
        QCOMPARE(field->selectedText(), text);
    }

    void firstOfTwoBadInputsIsSelected()
    {
        Form2 form;
        form.show();
        const testkit::MainWindowDriver window(form);
        QVERIFY(QTest::qWaitForWindowActive(&form));
        window.typeReading(testkit::WorkedReading);
        form.findChild<QComboBox*>("Combo4")->setEditText(QStringLiteral("x"));
        form.findChild<QComboBox*>("Combo2")->setEditText(QStringLiteral("y"));
        window.click("Command1");
        QCOMPARE(QApplication::focusWidget(), form.findChild<QWidget*>("Combo2"));
        QCOMPARE(form.display(), mainwindow::startDisplay());
    }

    // Showing a display writes every label a reading writes: after a reading,
    // the start display brings back exactly the picture of the start.
    void showingADisplayLeavesNothingOfTheLastOne()
    {
        Form2 form;
        form.resize(LayoutArea.size());
        form.show();
        const testkit::MainWindowDriver window(form);
        const auto boards = [&form] {
            QImage shown = uikit::testing::logicalGrab(&form);
            // The inputs keep the typed reading; compare the left of the window.
            return shown.copy(0, 0, 515, LayoutArea.height());
        };
        const QImage start = boards();
        window.typeReading(testkit::WorkedReading);
        window.click("Command1");
        QVERIFY(boards() != start);
        form.showReading(mainwindow::startDisplay());
        QCOMPARE(boards(), start);
    }

    void drawnLines_data()
    {
        using mainwindow::form2_layout::Lines;
        QTest::addColumn<QString>("caption");
        QTest::addColumn<Lines>("lines");
        QTest::addColumn<QString>("drawn");
        QTest::newRow("mark of three") << "五黄殺" << Lines::Stacked << "五\n黄\n殺";
        QTest::newRow("mark of one") << "吉" << Lines::Stacked << "吉";
        QTest::newRow("no mark") << "" << Lines::Stacked << "";
        QTest::newRow("surrogate pair stays whole") << "\U00020BB7殺" << Lines::Stacked << "\U00020BB7\n殺";
        QTest::newRow("legend heading breaks after 各方角")
            << "定位盤(九星及び各方角\u3000\u3000\u3000\u3000\u3000の意味）" << Lines::BreakAtBlanks
            << "定位盤(九星及び各方角\nの意味）";
        QTest::newRow("single blank breaks too") << "月盤\u3000(月)" << Lines::BreakAtBlanks << "月盤\n(月)";
        QTest::newRow("wrapping keeps the caption") << "月盤\u3000(月の方位盤)" << Lines::Wrap
                                                     << "月盤\u3000(月の方位盤)";
    }
    void drawnLines()
    {
        using mainwindow::form2_layout::Lines;
        QFETCH(QString, caption);
        QFETCH(Lines, lines);
        QFETCH(QString, drawn);
        QCOMPARE(mainwindow::drawnText(caption, lines), drawn);
    }
};

QTEST_MAIN(Form2Test)
#include "form2_test.moc"
