#include "personlist/list_commands.h"

#include "personlist/list_file.h"
#include "personlist/local_path.h"
#include "held_write.h"
#include "test_files.h"
#include "testkit/driver.h"
#include "uikit/dialogs.h"
#include "uikit/file_calls_aside.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include <condition_variable>
#include <mutex>

using personlist::ListCommands;
using personlist::Person;
using personlist::PersonGrid;
using personlist::PersonGridModel;
using personlist::testing::HeldWrite;
using Shown = uikit::ScriptedDialogs::Shown;

namespace {

QComboBox* numberList(int last, const QString& start)
{
    auto* combo = new QComboBox;
    combo->setEditable(true);
    for (int i = 1; i <= last; ++i) {
        combo->addItem(QString::number(i));
    }
    combo->setEditText(start);
    return combo;
}

std::filesystem::path local(const QString& path) { return personlist::localPath(path); }

// Holds a file call on the command's thread until the test lets it go, and
// has 中止 pressed once the call is reached. It gives up after ten seconds, so
// that a command that makes its calls on the window's thread fails instead of
// hanging.
class Gate {
public:
    Gate(bool closed, uikit::ScriptedDialogs& dialogs) : m_open(!closed), m_dialogs(&dialogs) {}
    void hold()
    {
        std::unique_lock lock(m_mutex);
        if (!m_open) {
            QMetaObject::invokeMethod(qApp, [dialogs = m_dialogs] { dialogs->pressStop(); }, Qt::QueuedConnection);
            m_timedOut = !m_released.wait_for(lock, std::chrono::seconds(10), [this] { return m_open; });
        }
    }
    void open()
    {
        const std::lock_guard lock(m_mutex);
        m_open = true;
        m_released.notify_all();
    }
    bool timedOut()
    {
        const std::lock_guard lock(m_mutex);
        return m_timedOut;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_released;
    bool m_open;
    bool m_timedOut = false;
    uikit::ScriptedDialogs* m_dialogs;
};

}  // namespace

class ListCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void registerKeepsFirstCharacterOrder();
    void registerNeedsANameAndAYear_data();
    void registerNeedsANameAndAYear();
    void loadCopiesTheCurrentPersonExactly();
    void loadAndDeleteDoNothingOnTheHeaderRow();
    void deleteAsksAndRemovesTheCurrentPerson_data();
    void deleteAsksAndRemovesTheCurrentPerson();
    void deleteAnsweredNoChangesNothing();
    void saveWritesTheListAndAddsTheSuffixOnce_data();
    void saveWritesTheListAndAddsTheSuffixOnce();
    void saveOverAnExistingFileAsksFirst();
    void saveCancelledTouchesNothing();
    void saveAsksBeforeAlteringTexts();
    void failedSaveIsReportedAndKeepsTheOldFile();
    void openReplacesTheWholeList();
    void openOfAnEmptyListLeavesTheHeaderRowCurrent();
    void failedOpenLeavesTheListAsItWas_data();
    void failedOpenLeavesTheListAsItWas();
    void heldFileCallsShowTheBusyBoxAndStopCleanly_data();
    void heldFileCallsShowTheBusyBoxAndStopCleanly();

private:
    void typePerson(const QString& name, const QString& year, const QString& month, const QString& day);
    void registerPersons(const QStringList& names);
    QStringList names() const;
    QStringList inputs() const;

    std::unique_ptr<QWidget> m_window;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_year = nullptr;
    QComboBox* m_month = nullptr;
    QComboBox* m_day = nullptr;
    PersonGrid* m_grid = nullptr;
    uikit::ScriptedDialogs m_dialogs;
    ListCommands* m_commands = nullptr;
    std::unique_ptr<personlist::testing::ScratchDir> m_dir;
};

void ListCommandsTest::init()
{
    m_window = std::make_unique<QWidget>();
    m_name = new QLineEdit(m_window.get());
    m_year = new QLineEdit(m_window.get());
    m_month = numberList(12, "1");
    m_month->setParent(m_window.get());
    m_day = numberList(31, "4");
    m_day->setParent(m_window.get());
    m_grid = new PersonGrid(m_window.get());
    m_dialogs.clear();
    m_commands = new ListCommands({m_name, m_year, m_month, m_day}, *m_grid, m_dialogs, m_window.get());
    m_dir = std::make_unique<personlist::testing::ScratchDir>();
}

void ListCommandsTest::cleanup()
{
    // Every dialog a command showed was answered by the script, and every
    // scripted answer was asked for.
    QCOMPARE(m_dialogs.unanswered(), 0);
    QVERIFY(m_dialogs.allAnswersUsed());
    m_window.reset();
    m_dir.reset();
}

void ListCommandsTest::typePerson(const QString& name, const QString& year, const QString& month, const QString& day)
{
    testkit::typePerson({m_name, m_year, m_month, m_day}, name, year, month, day);
}

void ListCommandsTest::registerPersons(const QStringList& names)
{
    for (const QString& name : names) {
        typePerson(name, "1960", "3", "12");
        m_commands->registerPerson();
    }
}

QStringList ListCommandsTest::names() const
{
    QStringList texts;
    const PersonGridModel& model = m_grid->model();
    for (int row = 0; row < model.rowCount(); ++row) {
        texts << model.headerData(row, Qt::Vertical).toString() + ":" +
                     model.index(row, PersonGridModel::Name).data().toString();
    }
    return texts;
}

QStringList ListCommandsTest::inputs() const
{
    return {m_name->text(), m_year->text(), m_month->currentText(), m_day->currentText()};
}

void ListCommandsTest::registerKeepsFirstCharacterOrder()
{
    typePerson("山田", "1960", "3", "12");
    m_commands->registerPerson();
    QCOMPARE(names(), QStringList{"1:山田"});
    QCOMPARE(m_grid->currentRow(), 1);
    QCOMPARE(m_grid->model().list().at(0), (Person{"山田", "1960", "3", "12"}));
    QCOMPARE(inputs(), (QStringList{"山田", "1960", "3", "12"}));

    registerPersons({"佐藤"});
    QCOMPARE(names(), (QStringList{"1:佐藤", "2:山田"}));
    QCOMPARE(m_grid->currentRow(), 1);

    registerPersons({"山本", "あきら", "Bob", "bob"});
    QCOMPARE(names(), (QStringList{"1:Bob", "2:bob", "3:あきら", "4:佐藤", "5:山田", "6:山本"}));
    QCOMPARE(m_grid->currentRow(), 2);

    typePerson("山本", "昭和35", "13", " 1 ");
    m_commands->registerPerson();
    QCOMPARE(m_grid->currentRow(), 7);
    QCOMPARE(m_grid->model().list().at(6), (Person{"山本", "昭和35", "13", " 1 "}));
}

void ListCommandsTest::registerNeedsANameAndAYear_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("year");
    QTest::newRow("empty name") << "" << "1960";
    QTest::newRow("empty year") << "山田" << "";
    QTest::newRow("both empty") << "" << "";
}

void ListCommandsTest::registerNeedsANameAndAYear()
{
    QFETCH(QString, name);
    QFETCH(QString, year);
    registerPersons({"佐藤"});
    m_grid->setCurrentRow(0);
    typePerson(name, year, "3", "12");
    m_commands->registerPerson();
    QCOMPARE(names(), QStringList{"1:佐藤"});
    QCOMPARE(m_grid->currentRow(), 0);
    QCOMPARE(inputs(), (QStringList{name, year, "3", "12"}));
}

void ListCommandsTest::loadCopiesTheCurrentPersonExactly()
{
    typePerson("山田 太郎", "1960", "13", "");
    m_commands->registerPerson();
    registerPersons({"佐藤"});
    typePerson("", "", "1", "4");
    m_grid->setCurrentRow(2);
    m_commands->loadPerson();
    QCOMPARE(inputs(), (QStringList{"山田 太郎", "1960", "13", ""}));
    // Texts that are no item of the lists stand in their fields unchanged.
    QCOMPARE(m_month->currentIndex(), 0);
    QCOMPARE(m_grid->currentRow(), 2);
}

void ListCommandsTest::loadAndDeleteDoNothingOnTheHeaderRow()
{
    typePerson("鈴木", "1970", "5", "6");
    m_commands->loadPerson();
    m_commands->deletePerson();
    QVERIFY(m_dialogs.shown().empty());
    QCOMPARE(inputs(), (QStringList{"鈴木", "1970", "5", "6"}));

    registerPersons({"山田"});
    m_grid->setCurrentRow(0);
    m_commands->loadPerson();
    m_commands->deletePerson();
    QVERIFY(m_dialogs.shown().empty());
    QCOMPARE(names(), QStringList{"1:山田"});
}

void ListCommandsTest::deleteAsksAndRemovesTheCurrentPerson_data()
{
    QTest::addColumn<QStringList>("registered");
    QTest::addColumn<int>("current");
    QTest::addColumn<QStringList>("left");
    QTest::addColumn<int>("currentAfter");
    QTest::newRow("second of four") << QStringList{"A", "B", "C", "D"} << 2 << QStringList{"1:A", "2:C", "3:D"} << 3;
    QTest::newRow("last of three") << QStringList{"A", "B", "C"} << 3 << QStringList{"1:A", "2:B"} << 2;
    QTest::newRow("first of two") << QStringList{"A", "B"} << 1 << QStringList{"1:B"} << 1;
    QTest::newRow("only person") << QStringList{"A"} << 1 << QStringList{} << 0;
}

void ListCommandsTest::deleteAsksAndRemovesTheCurrentPerson()
{
    QFETCH(QStringList, registered);
    QFETCH(int, current);
    QFETCH(QStringList, left);
    QFETCH(int, currentAfter);
    registerPersons(registered);
    typePerson("X", "1999", "7", "8");
    m_grid->setCurrentRow(current);
    m_dialogs.answerYesNo(true);
    m_commands->deletePerson();

    QCOMPARE(m_dialogs.shown().size(), std::size_t{1});
    const Shown& question = m_dialogs.shown().front();
    QCOMPARE(question.kind, Shown::Kind::Question);
    QCOMPARE(question.title, QString("データ削除"));
    QCOMPARE(question.text, registered.at(current - 1) + " さんのデータを\n削除しますか？");
    QCOMPARE(names(), left);
    QCOMPARE(m_grid->currentRow(), currentAfter);
    QCOMPARE(inputs(), (QStringList{"", "1999", "7", "8"}));
}

void ListCommandsTest::deleteAnsweredNoChangesNothing()
{
    registerPersons({"山田太郎", "佐藤"});
    m_grid->setCurrentRow(2);
    m_dialogs.answerYesNo(false);
    m_commands->deletePerson();
    QCOMPARE(m_dialogs.shown().front().text, QString("山田太郎 さんのデータを\n削除しますか？"));
    QCOMPARE(names(), (QStringList{"1:佐藤", "2:山田太郎"}));
    QCOMPARE(m_grid->currentRow(), 2);
    QCOMPARE(m_name->text(), QString("佐藤"));
}

void ListCommandsTest::saveWritesTheListAndAddsTheSuffixOnce_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("saved");
    QTest::newRow("no extension") << "family" << "family.orx";
    QTest::newRow("orx extension") << "family.orx" << "family.orx";
    QTest::newRow("another extension") << "family.txt" << "family.txt";
    QTest::newRow("dot in a folder name only") << "old.lists/family" << "old.lists/family.orx";
}

void ListCommandsTest::saveWritesTheListAndAddsTheSuffixOnce()
{
    QFETCH(QString, typed);
    QFETCH(QString, saved);
    std::filesystem::create_directory(*m_dir / "old.lists");
    const QString dir = QString::fromStdString(m_dir->path().string()) + "/";
    registerPersons({"山田", "佐藤"});
    m_grid->setCurrentRow(1);
    m_dialogs.answerPath(dir + typed);
    m_commands->saveList();

    QCOMPARE(m_dialogs.shown().size(), std::size_t{1});
    const Shown& dialog = m_dialogs.shown().front();
    QCOMPARE(dialog.kind, Shown::Kind::SaveFile);
    QCOMPARE(dialog.title, QString("リスト保存"));
    QCOMPARE(dialog.text, QString("九星リスト(*.orx)"));
    QCOMPARE(dialog.suffix, QString("orx"));
    QCOMPARE(personlist::testing::readBytes(local(dir + saved)),
             personlist::listFileBytes(m_grid->model().list().persons()));
    QCOMPARE(m_grid->currentRow(), 2);
}

void ListCommandsTest::saveOverAnExistingFileAsksFirst()
{
    const auto path = *m_dir / "family.orx";
    personlist::testing::writeBytes(path, "an older list, longer than the new one" + std::string(500, 'x'));
    const std::string old = personlist::testing::readBytes(path);
    registerPersons({"山田"});
    const QString qpath = QString::fromStdString(path.string());

    m_dialogs.answerPath(qpath);
    m_dialogs.answerYesNo(false);
    m_commands->saveList();
    QCOMPARE(m_dialogs.shown().at(1).kind, Shown::Kind::Question);
    QCOMPARE(m_dialogs.shown().at(1).title, QString("ファイルの上書き"));
    QCOMPARE(m_dialogs.shown().at(1).text, QString("同じファイル名があります。\n上書きしますか？"));
    QCOMPARE(personlist::testing::readBytes(path), old);

    // Typed without its extension, the name is still that of the existing file.
    m_dialogs.answerPath(QString::fromStdString((*m_dir / "family").string()));
    m_dialogs.answerYesNo(false);
    m_commands->saveList();
    QCOMPARE(m_dialogs.shown().size(), std::size_t{4});
    QCOMPARE(m_dialogs.shown().at(3).kind, Shown::Kind::Question);
    QCOMPARE(personlist::testing::readBytes(path), old);

    m_dialogs.answerPath(qpath);
    m_dialogs.answerYesNo(true);
    m_commands->saveList();
    QCOMPARE(m_dialogs.shown().size(), std::size_t{6});
    QCOMPARE(personlist::testing::readBytes(path), personlist::listFileBytes({{"山田", "1960", "3", "12"}}));
}

void ListCommandsTest::saveAsksBeforeAlteringTexts()
{
    const auto path = *m_dir / "family.orx";
    personlist::testing::writeBytes(path, personlist::listFileBytes({{"佐藤", "1970", "1", "1"}}));
    const std::string old = personlist::testing::readBytes(path);
    registerPersons({"山田", "𠮷田花子", "Ann  Lee"});
    const QString question = "次の名前は入力したとおりには保存できません。\n𠮷田花子 → ?田花子\nこのまま保存しますか？";

    for (const bool yes : {false, true}) {
        m_dialogs.clear();
        m_dialogs.answerPath(QString::fromStdString(path.string()));
        m_dialogs.answerYesNo(true);
        m_dialogs.answerYesNo(yes);
        m_commands->saveList();
        QCOMPARE(m_dialogs.shown().size(), std::size_t{3});
        const Shown& asked = m_dialogs.shown().at(2);
        QVERIFY(asked.kind == Shown::Kind::Question && asked.title == "リスト保存");
        QCOMPARE(asked.text, question);
        QCOMPARE(personlist::testing::readBytes(path),
                 yes ? personlist::listFileBytes(m_grid->model().list().persons()) : old);
    }

    // However many would change, five are named: the first five in the grid.
    registerPersons({"김0", "김1", "김2", "김3", "김4", "김5"});
    m_dialogs.clear();
    m_dialogs.answerPath(QString::fromStdString((*m_dir / "more.orx").string()));
    m_dialogs.answerYesNo(false);
    m_commands->saveList();
    const QStringList lines = m_dialogs.shown().back().text.split(u'\n');
    QCOMPARE(lines.size(), 7);
    QCOMPARE(lines.at(1), QString("김0 → ?0"));
    QCOMPARE(lines.at(5), QString("김4 → ?4"));
    QVERIFY(!std::filesystem::exists(*m_dir / "more.orx"));
}

void ListCommandsTest::saveCancelledTouchesNothing()
{
    registerPersons({"山田", "佐藤"});
    m_dialogs.answerCancel();
    m_commands->saveList();
    QCOMPARE(m_dialogs.shown().size(), std::size_t{1});
    QVERIFY(std::filesystem::is_empty(m_dir->path()));
    QCOMPARE(m_grid->currentRow(), 1);
}

void ListCommandsTest::failedSaveIsReportedAndKeepsTheOldFile()
{
    registerPersons({"山田", "佐藤"});
    QCOMPARE(m_grid->currentRow(), 1);
    m_dialogs.answerPath(QString::fromStdString((*m_dir / "missing" / "family.orx").string()));
    m_commands->saveList();
    QCOMPARE(m_grid->currentRow(), 1);  // a failure ends the command: no row moves
    QCOMPARE(m_dialogs.shown().size(), std::size_t{2});
    const Shown& message = m_dialogs.shown().back();
    QCOMPARE(message.kind, Shown::Kind::Message);
    QCOMPARE(message.title, QString("リスト保存"));
    QCOMPARE(message.text, QString("リストを保存できませんでした。\nフォルダが見つかりません。"));
    QVERIFY(std::filesystem::is_empty(m_dir->path()));

    // A folder where the file should be: no overwrite question, no file, a message.
    std::filesystem::create_directory(*m_dir / "family.orx");
    m_dialogs.answerPath(QString::fromStdString((*m_dir / "family").string()));
    m_commands->saveList();
    QCOMPARE(m_dialogs.shown().back().kind, Shown::Kind::Message);
    QVERIFY(m_dialogs.shown().back().text.startsWith("リストを保存できませんでした。\n"));
    QVERIFY(std::filesystem::is_empty(*m_dir / "family.orx"));
}

void ListCommandsTest::openReplacesTheWholeList()
{
    const auto path = *m_dir / "family.orx";
    QVERIFY(!personlist::writeListFile(path, {{"山田", "1960", "13", "x"}, {"あ", "1970", "1", "1"}}));
    registerPersons({"A", "B", "C", "D"});
    m_dialogs.answerPath(QString::fromStdString((*m_dir / "family").string()));
    m_commands->openList();

    QCOMPARE(m_dialogs.shown().size(), std::size_t{1});
    const Shown& dialog = m_dialogs.shown().front();
    QCOMPARE(dialog.kind, Shown::Kind::OpenFile);
    QCOMPARE(dialog.title, QString("リストを開く"));
    QCOMPARE(dialog.text, QString("九星リスト(*.orx)"));
    QCOMPARE(dialog.suffix, QString("orx"));
    // The file's order, not first-character order.
    QCOMPARE(names(), (QStringList{"1:山田", "2:あ"}));
    QCOMPARE(m_grid->model().list().at(0), (Person{"山田", "1960", "13", "x"}));
    QCOMPARE(m_grid->currentRow(), 2);

    // Registering into the opened list places the person by the upward scan.
    registerPersons({"佐藤"});
    QCOMPARE(names(), (QStringList{"1:山田", "2:あ", "3:佐藤"}));
}

void ListCommandsTest::openOfAnEmptyListLeavesTheHeaderRowCurrent()
{
    const auto path = *m_dir / "empty.orx";
    QVERIFY(!personlist::writeListFile(path, {}));
    registerPersons({"A", "B"});
    m_dialogs.answerPath(QString::fromStdString(path.string()));
    m_commands->openList();
    QVERIFY(names().isEmpty());
    QCOMPARE(m_grid->currentRow(), 0);
}

void ListCommandsTest::failedOpenLeavesTheListAsItWas_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("cancelled") << "" << QByteArray();
    QTest::newRow("missing file") << "missing.orx" << QByteArray();
    QTest::newRow("not a list") << "notes.orx" << QByteArray("shopping: rice, tea, miso; call the plumber");
    QTest::newRow("fewer records than counted")
        << "cut.orx" << QByteArray::fromStdString(personlist::testing::record("5") + personlist::testing::record("A"));
}

void ListCommandsTest::failedOpenLeavesTheListAsItWas()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    if (!bytes.isEmpty()) {
        personlist::testing::writeBytes(*m_dir / file.toStdString(), bytes.toStdString());
    }
    registerPersons({"山田", "佐藤", "鈴木"});
    m_grid->setCurrentRow(2);
    typePerson("X", "1999", "7", "8");
    if (file.isEmpty()) {
        m_dialogs.answerCancel();
    } else {
        m_dialogs.answerPath(QString::fromStdString((*m_dir / file.toStdString()).string()));
    }
    m_commands->openList();
    QCOMPARE(names(), (QStringList{"1:佐藤", "2:山田", "3:鈴木"}));
    QCOMPARE(m_grid->currentRow(), 2);
    QCOMPARE(inputs(), (QStringList{"X", "1999", "7", "8"}));
    // Silently: the open dialog was the only dialog.
    QCOMPARE(m_dialogs.shown().size(), std::size_t{1});
    QVERIFY(!std::filesystem::exists(*m_dir / "missing.orx"));
}

void ListCommandsTest::heldFileCallsShowTheBusyBoxAndStopCleanly_data()
{
    QTest::addColumn<bool>("save");
    QTest::addColumn<bool>("held");
    QTest::addColumn<bool>("named");
    QTest::newRow("open held, 中止") << false << true << false;
    QTest::newRow("save held, 中止") << true << true << false;
    QTest::newRow("save held with a named new file, 中止") << true << true << true;
    QTest::newRow("open in time: no box") << false << false << false;
    QTest::newRow("save in time: no box") << true << false << false;
}

void ListCommandsTest::heldFileCallsShowTheBusyBoxAndStopCleanly()
{
    QFETCH(bool, save);
    QFETCH(bool, held);
    QFETCH(bool, named);
    const auto path = *m_dir / "family.orx";
    QVERIFY(!personlist::writeListFile(path, {{"山田", "1960", "3", "12"}}));
    const std::string old = personlist::testing::readBytes(path);
    registerPersons({"佐藤", "鈴木"});
    const QStringList before = names();
    const auto gate = std::make_shared<Gate>(held, m_dialogs);
    m_commands->setFileCalls({[gate](const std::filesystem::path& p) {
                                  gate->hold();
                                  return personlist::readListFile(p);
                              },
                              std::make_shared<HeldWrite>([gate] { gate->hold(); }, named)});
    if (held) {
        m_dialogs.setBusyDelay(std::chrono::milliseconds(0));
    }
    m_dialogs.answerPath(QString::fromStdString(path.string()));
    if (save) {
        m_dialogs.answerYesNo(true);
        m_commands->saveList();
    } else {
        m_commands->openList();
    }
    const auto files = [this] {
        QStringList names;
        for (const auto& entry : std::filesystem::directory_iterator(m_dir->path())) {
            names << QString::fromStdString(entry.path().filename().string());
        }
        return names;
    };
    const qsizetype filesWhileHeld = files().size();
    const QStringList namesWhileHeld = names();
    gate->open();
    QVERIFY(uikit::fileCallsDone(std::chrono::seconds(10)));
    QCoreApplication::processEvents();  // where a late result would land
    QVERIFY(!gate->timedOut());

    const auto shown = [this](Shown::Kind kind) {
        return std::any_of(m_dialogs.shown().begin(), m_dialogs.shown().end(),
                           [kind](const Shown& s) { return s.kind == kind; });
    };
    QCOMPARE(shown(Shown::Kind::Busy), held);
    QVERIFY(!shown(Shown::Kind::Message));
    QCOMPARE(files(), QStringList{"family.orx"});
    if (held) {
        QCOMPARE(m_dialogs.shown().back().kind, Shown::Kind::Busy);
        QCOMPARE(m_dialogs.shown().back().title, save ? QString("リスト保存") : QString("リストを開く"));
        QCOMPARE(filesWhileHeld, save && (named || HeldWrite::AlwaysNamed) ? 2 : 1);
        QCOMPARE(namesWhileHeld, before);
        QCOMPARE(names(), before);
        QCOMPARE(personlist::testing::readBytes(path), old);
    } else {
        QCOMPARE(names(), save ? before : QStringList{"1:山田"});
        QCOMPARE(personlist::testing::readBytes(path),
                 save ? personlist::listFileBytes(m_grid->model().list().persons()) : old);
    }
}

QTEST_MAIN(ListCommandsTest)
#include "list_commands_test.moc"
