#include "personlist/person_grid.h"

#include <QAbstractButton>
#include <QAbstractItemModelTester>
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

#include <limits>

#include "uikit/tests/focus_cue.h"
#include "uikit/tests/logical_grab.h"

using personlist::Person;
using personlist::PersonGrid;
using personlist::PersonGridModel;

namespace {

QStringList column(const PersonGridModel& model, int c)
{
    QStringList texts;
    for (int row = 0; row < model.rowCount(); ++row) {
        texts << model.index(row, c).data().toString();
    }
    return texts;
}

QStringList numbers(const PersonGridModel& model)
{
    QStringList texts;
    for (int row = 0; row < model.rowCount(); ++row) {
        texts << model.headerData(row, Qt::Vertical).toString();
    }
    return texts;
}

Person person(const char* name) { return {name, "1960", "3", "12"}; }

// The point inside the cell of grid row `row` (1 for the first person) and a
// column, in viewport coordinates.
QPoint cellCentre(const PersonGrid& grid, int row, int c)
{
    return grid.visualRect(grid.model().index(row - 1, c)).center();
}

}  // namespace

class PersonGridTest : public QObject {
    Q_OBJECT

private slots:
    void modelStaysConsistentThroughEveryChange();
    void numberColumnReadsOneToNAfterInsertsAndRemovals();
    void headingsAndAlignment_data();
    void headingsAndAlignment();
    void clicksOnHeadingsNeverMakeThemCurrent();
    void focusAloneMakesNoRowCurrent();
    void setCurrentRowZeroLeavesOnlyTheHeaderRowCurrent();
    void drawsGreyBeyondTheLastRowAndTheGridLines();
    void holdsAHundredThousandPersons();
    void numberColumnFitsTheLargestNumber();
    void highlightIsAlwaysTheCurrentRow();
    void lettersDoNotMoveTheCurrentRow();
    void currentRowIsFullyInSightAfterEveryCommand();
    void focusShowsRoundTheListArea_data();
    void focusShowsRoundTheListArea();
    void frameOnScreenFollowsTheFocus();
};

void PersonGridTest::modelStaysConsistentThroughEveryChange()
{
    PersonGridModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.registerPerson(person("山田"));
    model.registerPerson(person("佐藤"));
    model.registerPerson(person("あ"));
    model.registerPerson(person("山本"));
    model.removeAt(1);
    model.removeAt(model.rowCount() - 1);
    model.replaceAll({person("B"), person("A"), person("C")});
    model.registerPerson(person("A"));
    model.removeAt(0);
    model.replaceAll({});
    QCOMPARE(model.rowCount(), 0);
}

void PersonGridTest::numberColumnReadsOneToNAfterInsertsAndRemovals()
{
    PersonGridModel model;
    model.registerPerson(person("山田"));
    model.registerPerson(person("佐藤"));
    model.registerPerson(person("山本"));
    model.registerPerson(person("あ"));
    QCOMPARE(column(model, PersonGridModel::Name), (QStringList{"あ", "佐藤", "山田", "山本"}));
    QCOMPARE(numbers(model), (QStringList{"1", "2", "3", "4"}));
    model.removeAt(1);
    QCOMPARE(column(model, PersonGridModel::Name), (QStringList{"あ", "山田", "山本"}));
    QCOMPARE(numbers(model), (QStringList{"1", "2", "3"}));
    QCOMPARE(column(model, PersonGridModel::Year), (QStringList{"1960", "1960", "1960"}));
    QVERIFY(!model.headerData(3, Qt::Vertical).isValid());
}

void PersonGridTest::headingsAndAlignment_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("heading");
    QTest::addColumn<bool>("number");
    QTest::newRow("name") << int{PersonGridModel::Name} << "名前" << false;
    QTest::newRow("year") << int{PersonGridModel::Year} << "年" << true;
    QTest::newRow("month") << int{PersonGridModel::Month} << "月" << true;
    QTest::newRow("day written in full-width digits") << int{PersonGridModel::Day} << "日" << false;
}

void PersonGridTest::headingsAndAlignment()
{
    QFETCH(int, column);
    QFETCH(QString, heading);
    QFETCH(bool, number);
    PersonGridModel model;
    model.replaceAll({{"山田 太郎", "1960", "3", "１２"}});
    QCOMPARE(model.headerData(column, Qt::Horizontal).toString(), heading);
    // Numbers to the right, other texts to the left, as the grid aligns them.
    const auto alignment = Qt::Alignment(model.index(0, column).data(Qt::TextAlignmentRole).toInt());
    QCOMPARE(alignment & Qt::AlignHorizontal_Mask, number ? Qt::AlignRight : Qt::AlignLeft);
    QCOMPARE(alignment & Qt::AlignVertical_Mask, Qt::AlignVCenter);
    const auto numberAlignment = Qt::Alignment(model.headerData(0, Qt::Vertical, Qt::TextAlignmentRole).toInt());
    QCOMPARE(numberAlignment & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    // Nothing in the grid can be typed into.
    QVERIFY(!model.flags(model.index(0, column)).testFlag(Qt::ItemIsEditable));
}

void PersonGridTest::clicksOnHeadingsNeverMakeThemCurrent()
{
    PersonGrid grid;
    grid.resize(293, 585);
    grid.model().replaceAll({person("山田"), person("佐藤")});
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    QWidget* numberColumn = grid.verticalHeader()->viewport();
    QWidget* headerRow = grid.horizontalHeader()->viewport();
    auto* corner = grid.findChild<QAbstractButton*>();
    QVERIFY(corner != nullptr);

    QTest::mouseClick(numberColumn, Qt::LeftButton, {}, QPoint(10, PersonGrid::RowHeight + 5));
    QCOMPARE(grid.currentRow(), 0);
    QTest::mouseClick(headerRow, Qt::LeftButton, {}, QPoint(60, 5));
    QCOMPARE(grid.currentRow(), 0);
    QTest::mouseClick(corner, Qt::LeftButton);
    QCOMPARE(grid.currentRow(), 0);
    QVERIFY(grid.selectionModel()->selectedIndexes().isEmpty());

    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cellCentre(grid, 2, PersonGridModel::Day));
    QCOMPARE(grid.currentRow(), 2);
    QTest::mouseClick(numberColumn, Qt::LeftButton, {}, QPoint(10, 5));
    QCOMPARE(grid.currentRow(), 2);
    QTest::mouseClick(headerRow, Qt::LeftButton, {}, QPoint(10, 5));
    QCOMPARE(grid.currentRow(), 2);
    QCOMPARE(grid.currentIndex().column(), int{PersonGridModel::Day});
    QCOMPARE(grid.selectionModel()->selectedIndexes().size(), 1);
}

void PersonGridTest::focusAloneMakesNoRowCurrent()
{
    QWidget window;
    auto* before = new QLineEdit(&window);
    auto* grid = new PersonGrid(&window);
    grid->move(0, 30);
    grid->model().replaceAll({person("山田"), person("佐藤")});
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    before->setFocus();
    QTest::keyClick(before, Qt::Key_Tab);
    QVERIFY(grid->hasFocus());
    QCOMPARE(grid->currentRow(), 0);
    // Tab leaves the grid as it leaves any other control.
    QTest::keyClick(grid, Qt::Key_Tab);
    QVERIFY(before->hasFocus());
    QCOMPARE(grid->currentRow(), 0);
}

void PersonGridTest::setCurrentRowZeroLeavesOnlyTheHeaderRowCurrent()
{
    PersonGrid grid;
    grid.model().replaceAll({person("山田"), person("佐藤")});
    grid.setCurrentRow(2);
    QCOMPARE(grid.currentRow(), 2);
    QCOMPARE(grid.selectionModel()->selectedIndexes().size(), 1);
    grid.setCurrentRow(0);
    QCOMPARE(grid.currentRow(), 0);
    QVERIFY(grid.selectionModel()->selectedIndexes().isEmpty());
    grid.setCurrentRow(3);
    QCOMPARE(grid.currentRow(), 0);
}

void PersonGridTest::drawsGreyBeyondTheLastRowAndTheGridLines()
{
    PersonGrid grid;
    grid.resize(293, 585);
    grid.model().replaceAll({person("山田"), person("佐藤")});
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    grid.clearFocus();  // a grid alone in its window has the focus, and its frame
    const QImage whole = uikit::testing::logicalGrab(&grid);
    const QImage cells = uikit::testing::logicalGrab(grid.viewport());
    const QImage headerRow = uikit::testing::logicalGrab(grid.horizontalHeader());
    const QImage numberColumn = uikit::testing::logicalGrab(grid.verticalHeader());
    const int rowHeight = PersonGrid::RowHeight;
    const int nameRight = PersonGrid::ColumnWidths[1] - 1;
    const QColor grey(0x80, 0x80, 0x80);
    const QColor lightGrey(0xC0, 0xC0, 0xC0);
    const QColor black(Qt::black);
    const QColor buttonFace = grid.palette().color(QPalette::Active, QPalette::Button);

    QCOMPARE(headerRow.height(), rowHeight);
    QCOMPARE(numberColumn.width(), PersonGrid::ColumnWidths[0]);

    QCOMPARE(cells.pixelColor(60, 3 * rowHeight + 10), grey);
    QCOMPARE(cells.pixelColor(cells.width() - 1, 5), grey);
    QCOMPARE(cells.pixelColor(nameRight, 5), lightGrey);
    QCOMPARE(cells.pixelColor(nameRight - 10, rowHeight - 1), lightGrey);
    QCOMPARE(cells.pixelColor(nameRight - 2, 2), grid.palette().color(QPalette::Base));

    QCOMPARE(headerRow.pixelColor(nameRight, 5), black);
    QCOMPARE(headerRow.pixelColor(nameRight - 2, rowHeight - 1), black);
    QCOMPARE(headerRow.pixelColor(nameRight - 2, 1), buttonFace);
    QCOMPARE(headerRow.pixelColor(headerRow.width() - 1, 5), grey);

    QCOMPARE(numberColumn.pixelColor(PersonGrid::ColumnWidths[0] - 1, 5), black);
    QCOMPARE(numberColumn.pixelColor(5, rowHeight - 1), black);
    QCOMPARE(numberColumn.pixelColor(1, 1), buttonFace);
    QCOMPARE(numberColumn.pixelColor(5, 3 * rowHeight + 10), grey);

    // The corner cell over the number column is a heading too.
    const QPoint cornerAt = grid.verticalHeader()->geometry().topLeft() - QPoint(0, rowHeight);
    QCOMPARE(whole.pixelColor(cornerAt + QPoint(1, 1)), buttonFace);
    QCOMPARE(whole.pixelColor(cornerAt + QPoint(PersonGrid::ColumnWidths[0] - 1, 5)), black);
    QCOMPARE(whole.pixelColor(cornerAt + QPoint(5, rowHeight - 1)), black);

    grid.setCurrentRow(1);
    const QImage selected = uikit::testing::logicalGrab(grid.viewport());
    QCOMPARE(selected.pixelColor(nameRight - 3, 4), grid.palette().color(QPalette::Active, QPalette::Highlight));
}

void PersonGridTest::holdsAHundredThousandPersons()
{
    std::vector<Person> persons;
    for (int i = 0; i < 100'000; ++i) {
        persons.push_back({"山田" + std::to_string(i), "1960", "3", "12"});
    }
    PersonGrid grid;
    grid.resize(293, 585);
    grid.model().replaceAll(std::move(persons));
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    grid.setCurrentRow(grid.lastRow());
    QCOMPARE(grid.currentRow(), 100'000);
    grid.model().registerPerson(person("A"));
    QCOMPARE(grid.lastRow(), 100'001);
    QCOMPARE(grid.model().headerData(100'000, Qt::Vertical).toString(), QString("100001"));
    QCOMPARE(grid.model().index(0, PersonGridModel::Name).data().toString(), QString("A"));
    // The current person moved down with the insertion.
    QCOMPARE(grid.currentRow(), 100'001);
    grid.setCurrentRow(grid.lastRow());
    const int top = grid.rowViewportPosition(100'000);
    QVERIFY(top >= 0 && top + PersonGrid::RowHeight <= grid.viewport()->height());

    // The number column, the corner above it and the columns beside it make
    // room for "100001" whole, and go back to their own width for a short list.
    const int needed = grid.verticalHeader()->fontMetrics().horizontalAdvance("100001") + 5;
    QVERIFY(grid.verticalHeader()->width() >= needed);
    QCOMPARE(grid.horizontalHeader()->x(), grid.verticalHeader()->x() + grid.verticalHeader()->width());
    grid.model().replaceAll({person("山田")});
    grid.setCurrentRow(grid.lastRow());  // as リストを開く leaves it
    QCOMPARE(grid.verticalHeader()->width(), PersonGrid::ColumnWidths[0]);
}

void PersonGridTest::numberColumnFitsTheLargestNumber()
{
    // Lists too long to build here: the width asked for their last row.
    const QFontMetrics metrics(PersonGrid().verticalHeader()->font());
    for (const int lastRow : {0, 1, 9'999, 100'001, 13'000'000, 99'999'999, std::numeric_limits<int>::max()}) {
        const int width = PersonGrid::numberColumnWidth(metrics, lastRow);
        for (const QString& number : {QString::number(lastRow), QString(QString::number(lastRow).size(), u'9')}) {
            QVERIFY2(width >= metrics.horizontalAdvance(number) + 5, qPrintable(number));
        }
    }
    QCOMPARE(PersonGrid::numberColumnWidth(metrics, 1), PersonGrid::ColumnWidths[0]);
}

// The highlight is what the user believes 削除 will act on: it must be the
// current row, also after a click past the last row or a Ctrl-click.
void PersonGridTest::highlightIsAlwaysTheCurrentRow()
{
    PersonGrid grid;
    grid.resize(293, 585);
    grid.model().replaceAll({person("山田"), person("佐藤"), person("鈴木")});
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    const auto highlightIsCurrent = [&grid](int row) {
        const QModelIndexList selected = grid.selectionModel()->selectedIndexes();
        return grid.currentRow() == row && selected.size() == 1 && selected.constFirst() == grid.currentIndex();
    };

    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cellCentre(grid, 2, PersonGridModel::Name));
    QVERIFY(highlightIsCurrent(2));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, QPoint(60, 5 * PersonGrid::RowHeight + 8));
    QVERIFY(highlightIsCurrent(2));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::ControlModifier, cellCentre(grid, 2, PersonGridModel::Name));
    QVERIFY(highlightIsCurrent(2));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::ControlModifier, cellCentre(grid, 3, PersonGridModel::Year));
    QVERIFY(highlightIsCurrent(3));
    QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, cellCentre(grid, 1, PersonGridModel::Name));
    QTest::mouseMove(grid.viewport(), QPoint(60, 6 * PersonGrid::RowHeight));
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, QPoint(60, 6 * PersonGrid::RowHeight));
    QVERIFY(highlightIsCurrent(1));
    QTest::keyClick(grid.viewport(), Qt::Key_Space, Qt::ControlModifier);
    QVERIFY(highlightIsCurrent(1));
}

// The grid has no search by typing; arrow keys move the current row as in any
// grid, and the highlight goes with it.
void PersonGridTest::lettersDoNotMoveTheCurrentRow()
{
    PersonGrid grid;
    grid.resize(293, 585);
    grid.model().replaceAll({person("Abe"), person("Baba"), person("Kato")});
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    grid.setCurrentRow(1);
    QTest::keyClicks(&grid, QStringLiteral("kb"));
    QCOMPARE(grid.currentRow(), 1);
    QTest::keyClick(&grid, Qt::Key_Down);
    QCOMPARE(grid.currentRow(), 2);
    QCOMPARE(grid.selectionModel()->selectedIndexes(), QModelIndexList{grid.currentIndex()});
    QTest::keyClick(&grid, Qt::Key_Up);
    QCOMPARE(grid.currentRow(), 1);
}

// The commands make a row current and show it whole, not half under the
// horizontal scroll bar that a long list brings with it.
void PersonGridTest::currentRowIsFullyInSightAfterEveryCommand()
{
    PersonGrid grid;
    grid.resize(293, 585);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    const auto currentRowInSight = [&grid] {
        QCoreApplication::processEvents();
        const QRect cell = grid.visualRect(grid.currentIndex());
        return !cell.isEmpty() && grid.viewport()->rect().contains(cell);
    };

    std::vector<Person> persons;
    for (int i = 0; i < 100; ++i) {
        persons.push_back(person("山田"));
    }
    grid.model().replaceAll(std::move(persons));  // as opening a list does
    grid.setCurrentRow(grid.lastRow());
    QVERIFY(currentRowInSight());

    grid.setCurrentRow(1);
    grid.model().registerPerson(person("鈴木"));  // as registering does
    grid.setCurrentRow(grid.lastRow());
    QVERIFY(currentRowInSight());

    grid.model().removeAt(grid.lastRow() - 1);  // as deleting does
    grid.setCurrentRow(grid.lastRow());
    QVERIFY(currentRowInSight());
}

// The dotted current cell alone showed no focus in an empty grid, nor with the
// header row current or the current row scrolled out of sight.
void PersonGridTest::focusShowsRoundTheListArea_data()
{
    QTest::addColumn<int>("persons");
    QTest::addColumn<int>("current");
    QTest::newRow("empty") << 0 << 0;
    QTest::newRow("header row current") << 3 << 0;
    QTest::newRow("current row out of sight") << 100 << 1;
}

void PersonGridTest::focusShowsRoundTheListArea()
{
    QFETCH(int, persons);
    QFETCH(int, current);
    QWidget window;
    auto* before = new QLineEdit(&window);
    auto* grid = new PersonGrid(&window);
    grid->setGeometry(0, 30, 293, 585);
    grid->model().replaceAll(std::vector<Person>(static_cast<std::size_t>(persons), person("山田")));
    grid->setCurrentRow(current);
    grid->verticalScrollBar()->setValue(grid->verticalScrollBar()->maximum());
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    before->setFocus();
    const QImage without = uikit::testing::logicalGrab(grid->viewport());
    QTest::keyClick(before, Qt::Key_Tab);
    QVERIFY(grid->hasFocus());
    const QStringList missing = uikit::testing::sidesWithoutFocusCue(
        without, uikit::testing::logicalGrab(grid->viewport()), grid->viewport()->rect(), 1);
    QVERIFY2(missing.isEmpty(), qPrintable("no cue on the " + missing.join(u' ')));
}

// The frame as it stands on screen, not only in a fresh drawing: the list area
// is drawn again when the focus comes and goes, and when the wheel scrolls it
// (scrolling moves the pixels already drawn, and the frame's top or bottom edge
// would stay inside the list).
void PersonGridTest::frameOnScreenFollowsTheFocus()
{
    if (qApp->devicePixelRatio() != 1.0) {
        // The offscreen screen hands back a dense window at its layout size.
        QSKIP("needs the window's pixels as they are on screen");
    }
    QWidget window;
    auto* before = new QLineEdit(&window);
    auto* grid = new PersonGrid(&window);
    grid->setGeometry(0, 30, 293, 585);
    std::vector<Person> persons;
    for (int i = 0; i < 100; ++i) {
        persons.push_back({"人" + std::to_string(i), "1960", "3", "12"});
    }
    grid->model().replaceAll(std::move(persons));
    grid->setCurrentRow(1);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    const auto onScreenAsDrawn = [&] {
        QCoreApplication::processEvents();
        const QImage shown = window.windowHandle()->screen()->grabWindow(window.winId()).toImage();
        const QImage drawn = grid->viewport()->grab().toImage();
        const QRect where(grid->viewport()->mapTo(&window, QPoint(0, 0)), drawn.size());
        return shown.copy(where).convertToFormat(drawn.format()) == drawn;
    };
    before->setFocus();
    QVERIFY(onScreenAsDrawn());

    QTest::keyClick(before, Qt::Key_Tab);
    QVERIFY(grid->hasFocus());
    QVERIFY2(onScreenAsDrawn(), "focus in");
    QScrollBar* bar = grid->verticalScrollBar();
    for (const int step : {40, -3, 1}) {
        bar->setValue(bar->value() + step);
        QVERIFY2(onScreenAsDrawn(), qPrintable(QString("scrolled by %1").arg(step)));
    }
    QTest::keyClick(grid, Qt::Key_Tab);
    QVERIFY(before->hasFocus());
    QVERIFY2(onScreenAsDrawn(), "focus out");
}

QTEST_MAIN(PersonGridTest)
#include "person_grid_test.moc"
