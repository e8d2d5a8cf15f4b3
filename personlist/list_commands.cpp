#include "personlist/list_commands.h"

#include "personlist/list_file.h"
#include "personlist/local_path.h"
#include "uikit/dialogs.h"
#include "uikit/file_calls_aside.h"
#include "uikit/look.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>

#include <filesystem>
#include <new>

namespace personlist {

namespace {

const QString ListFilter = QStringLiteral("九星リスト(*.orx)");
const QString ListSuffix = QStringLiteral("orx");

uikit::FileDialogRequest listFileDialog(const QString& title) { return {title, ListFilter, ListSuffix}; }

// The file dialog adds ".orx" to a name typed without one; a path that comes
// from elsewhere gets it by the same rule (no dot in the file name, not a
// folder), so it is never added twice.
QString withListSuffix(const QString& path)
{
    const QFileInfo info(path);
    if (info.fileName().contains(u'.') || info.isDir()) {
        return path;
    }
    return path + u'.' + ListSuffix;
}

QString reasonText(const FileError& error) { return uikit::qtText(failureReason(error)); }

// The path a save writes to, and whether a file (not a folder) stands there.
struct ChosenFile {
    QString path;
    bool exists = false;
};

ChosenFile lookAt(const QString& chosen)
{
    const QString path = withListSuffix(chosen);
    const QFileInfo existing(path);
    return {path, existing.exists() && !existing.isDir()};
}


// How many persons the question before a save names; it is asked whenever at
// least one would change, however many more there are.
constexpr std::size_t AlteredPersonsShown = 5;

// A text pasted into the name box can be thousands of characters long; the
// question shows enough of it to recognise the person.
QString shownText(const std::string& text)
{
    constexpr qsizetype Longest = 30;
    QString shown = uikit::qtText(text);
    if (shown.size() <= Longest) {
        return shown;
    }
    const qsizetype cut = shown.at(Longest - 1).isHighSurrogate() ? Longest - 1 : Longest;
    return shown.left(cut) + u'…';
}

// The grid keeps every text as typed, the file only what code page 932 and 20
// bytes can hold: before a save would lose part of a text, the user is told
// which, and may keep the old file instead. True when the save is to go on.
bool agreesToAlteredTexts(uikit::Dialogs& dialogs, const std::vector<Person>& persons)
{
    const auto altered = personsAlteredBySaving(persons, AlteredPersonsShown);
    if (altered.empty()) {
        return true;
    }
    QStringList lines{QStringLiteral("次の名前は入力したとおりには保存できません。")};
    for (const std::vector<AlteredText>& texts : altered) {
        QStringList changes;
        for (const AlteredText& text : texts) {
            changes << shownText(text.typed) + QStringLiteral(" → ") + shownText(text.saved);
        }
        lines << changes.join(u'、');
    }
    lines << QStringLiteral("このまま保存しますか？");
    return dialogs.askYesNo(QStringLiteral("リスト保存"), lines.join(u'\n'));
}

// A save's watch while its calls run aside: the test's (or the program's) first,
// then whether the user still waits for it.
class StoppableSave final : public fileio::SaveWatch {
public:
    StoppableSave(fileio::SaveWatch& inner, const uikit::FileJob& job) : m_inner(inner), m_job(job) {}
    bool proceed(fileio::SaveStep step) override { return m_inner.proceed(step) && !m_job.stopped(); }

private:
    fileio::SaveWatch& m_inner;
    const uikit::FileJob& m_job;
};

// writeListFile with its file calls aside: the bytes are made here, written
// there. `stopped` when the user pressed 中止.
struct SaveOutcome {
    bool stopped = false;
    std::optional<FileError> error;
};

SaveOutcome saveListFileAside(uikit::Dialogs& dialogs, const QString& title, const ListFileCalls& files,
                              const std::filesystem::path& path, const std::vector<Person>& persons)
{
    std::string bytes;
    try {
        bytes = listFileBytes(persons);
    } catch (const std::bad_alloc&) {
        return {false, FileError{FileError::Kind::OutOfMemory}};
    }
    std::optional<std::optional<FileError>> error = uikit::runFileCalls<std::optional<FileError>>(
        dialogs, title, [watch = files.write, path, bytes = std::move(bytes)](const uikit::FileJob& job) {
            StoppableSave stoppable(*watch, job);
            return writeListFileBytes(path, bytes, stoppable);
        });
    if (!error) {
        return {true, std::nullopt};
    }
    return {false, *error};
}

}  // namespace

ListCommands::ListCommands(PersonInputs inputs, PersonGrid& grid, uikit::Dialogs& dialogs, QObject* parent)
    : QObject(parent), m_inputs(inputs), m_grid(grid), m_dialogs(dialogs)
{
}

void ListCommands::registerPerson()
{
    const QString name = m_inputs.name->text();
    const QString year = m_inputs.year->text();
    if (name.isEmpty() || year.isEmpty()) {
        return;
    }
    const int row = m_grid.model().registerPerson(
        {uikit::coreText(name), uikit::coreText(year), uikit::coreText(m_inputs.month->currentText()),
         uikit::coreText(m_inputs.day->currentText())});
    m_grid.setCurrentRow(row + 1);
}

void ListCommands::loadPerson()
{
    const int row = m_grid.currentRow();
    if (row == 0) {
        return;
    }
    const Person& p = m_grid.model().list().at(static_cast<std::size_t>(row - 1));
    m_inputs.name->setText(uikit::qtText(p.name));
    m_inputs.year->setText(uikit::qtText(p.year));
    m_inputs.month->setEditText(uikit::qtText(p.month));
    m_inputs.day->setEditText(uikit::qtText(p.day));
}

void ListCommands::deletePerson()
{
    const int row = m_grid.currentRow();
    if (row == 0) {
        return;
    }
    const QString name = uikit::qtText(m_grid.model().list().at(static_cast<std::size_t>(row - 1)).name);
    if (!m_dialogs.askYesNo(QStringLiteral("データ削除"), name + QStringLiteral(" さんのデータを\n削除しますか？"))) {
        return;
    }
    m_grid.model().removeAt(row - 1);
    m_inputs.name->clear();
    m_grid.setCurrentRow(m_grid.lastRow());
}

void ListCommands::saveList()
{
    const QString chosen = m_dialogs.saveFileName(listFileDialog(QStringLiteral("リスト保存")));
    if (chosen.isEmpty()) {
        return;
    }
    // Even looking at the path waits on its disk.
    const std::optional<ChosenFile> file =
        uikit::runFileCalls<ChosenFile>(m_dialogs, QStringLiteral("リスト保存"), [chosen](const uikit::FileJob&) { return lookAt(chosen); });
    if (!file) {
        return;
    }
    const QString& path = file->path;
    if (file->exists &&
        !m_dialogs.askYesNo(QStringLiteral("ファイルの上書き"), QStringLiteral("同じファイル名があります。\n上書きしますか？"))) {
        return;
    }
    if (!agreesToAlteredTexts(m_dialogs, m_grid.model().list().persons())) {
        return;
    }
    // The one message the list commands show: a user must never believe that
    // a list which is not on disk was saved. A failed save ends there, the
    // grid as it was; so does 中止, without a word.
    const SaveOutcome saved = saveListFileAside(m_dialogs, QStringLiteral("リスト保存"), m_files, localPath(path),
                                                m_grid.model().list().persons());
    if (saved.stopped) {
        return;
    }
    if (const std::optional<FileError>& error = saved.error) {
        m_dialogs.inform(QStringLiteral("リスト保存"), QStringLiteral("リストを保存できませんでした。\n") +
                                                      reasonText(*error));
        return;
    }
    m_grid.setCurrentRow(m_grid.lastRow());
}

void ListCommands::openList()
{
    const QString chosen = m_dialogs.openFileName(listFileDialog(QStringLiteral("リストを開く")));
    if (chosen.isEmpty()) {
        return;
    }
    std::optional<ListFileContents> contents =
        uikit::runFileCalls<ListFileContents>(m_dialogs, QStringLiteral("リストを開く"), [read = m_files.read, chosen](const uikit::FileJob&) {
            return read(localPath(withListSuffix(chosen)));
        });
    if (!contents || contents->error) {
        return;
    }
    // The grid needs a little more memory beside the persons just read; without
    // it the open fails like any other, with the list on screen unchanged.
    try {
        m_grid.model().replaceAll(std::move(contents->persons));
    } catch (const std::bad_alloc&) {
        return;
    }
    m_grid.setCurrentRow(m_grid.lastRow());
}

}  // namespace personlist
