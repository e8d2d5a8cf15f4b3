#include "personlist/list_commands.h"

#include "personlist/list_file.h"
#include "uikit/dialogs.h"
#include "uikit/look.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>

#include <cerrno>
#include <cstring>
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

std::filesystem::path localPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

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


// Why a save failed, in the words of the message box: short, and about the
// user's disk and file rather than the system call that refused.
QString reasonText(const ListFileError& error)
{
    switch (error.kind) {
    case ListFileError::Kind::NotAFile:
        return QStringLiteral("通常のファイルではありません。");
    case ListFileError::Kind::NotANumber:
    case ListFileError::Kind::CountBelowOne:
        return QStringLiteral("九星リストのファイルではありません。");
    case ListFileError::Kind::TooShort:
        return QStringLiteral("ファイルが途中で切れています。");
    case ListFileError::Kind::NoConverter:
        return QStringLiteral("文字コード(CP932)の変換表がありません。");
    case ListFileError::Kind::OutOfMemory:
        return QStringLiteral("メモリが足りません。");
    case ListFileError::Kind::System:
        break;
    }
    switch (error.systemError) {
    case ENOSPC:
        return QStringLiteral("ディスクの空きが足りません。");
    case EDQUOT:
        return QStringLiteral("ディスクの使用量の上限を超えました。");
    case EFBIG:
        return QStringLiteral("ファイルが大きすぎます。");
    case EACCES:
    case EPERM:
        return QStringLiteral("アクセスが拒否されました。");
    case EROFS:
        return QStringLiteral("書き込みのできない場所です。");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("フォルダが見つかりません。");
    case EISDIR:
        return QStringLiteral("同じ名前のフォルダがあります。");
    case ENAMETOOLONG:
        return QStringLiteral("ファイル名が長すぎます。");
    case ELOOP:
        return QStringLiteral("リンクが循環しています。");
    case EIO:
        return QStringLiteral("ディスクの読み書きに失敗しました。");
    case ENOMEM:
        return QStringLiteral("メモリが足りません。");
    default:
        return QString::fromLocal8Bit(std::strerror(error.systemError));
    }
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
        runFileCalls<ChosenFile>(m_dialogs, QStringLiteral("リスト保存"), [chosen](const FileJob&) { return lookAt(chosen); });
    if (!file) {
        return;
    }
    const QString& path = file->path;
    if (file->exists &&
        !m_dialogs.askYesNo(QStringLiteral("ファイルの上書き"), QStringLiteral("同じファイル名があります。\n上書きしますか？"))) {
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
    if (const std::optional<ListFileError>& error = saved.error) {
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
        runFileCalls<ListFileContents>(m_dialogs, QStringLiteral("リストを開く"), [read = m_files.read, chosen](const FileJob&) {
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
