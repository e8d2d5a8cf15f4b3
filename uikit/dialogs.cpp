#include "uikit/dialogs.h"

#include <QAbstractButton>
#include <QAbstractFileIconProvider>
#include <QCoreApplication>
#include <QDialog>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace uikit {

namespace {

// Icons and type names from the entry's name and kind alone. The toolkit's
// provider asks the MIME database by name and content: a name it does not know
// (every .orx list) or that fits several types makes it read the file, on the
// dialog's thread as well as on its gatherer. Reading no file means stating no
// more than the dialog itself does; an unknown name gets the plain file icon.
// Called from both threads, so it keeps no state of its own.
class NameOnlyIcons final : public QAbstractFileIconProvider {
public:
    NameOnlyIcons() { setOptions(DontUseCustomDirectoryIcons); }

    QIcon icon(IconType type) const override { return QAbstractFileIconProvider::icon(type); }

    QIcon icon(const QFileInfo& info) const override
    {
        if (info.isRoot()) {
            return icon(Drive);
        }
        if (info.isDir()) {
            return icon(Folder);
        }
        const QList<QMimeType> types = QMimeDatabase().mimeTypesForFileName(info.fileName());
        QIcon themed;
        if (!types.isEmpty()) {
            themed = QIcon::fromTheme(types.constFirst().iconName(), QIcon::fromTheme(types.constFirst().genericIconName()));
        }
        return themed.isNull() ? icon(File) : themed;
    }

    QString type(const QFileInfo& info) const override
    {
        if (!info.isFile()) {
            return QAbstractFileIconProvider::type(info);  // folder, drive, link: no file is read
        }
        const QList<QMimeType> types = QMimeDatabase().mimeTypesForFileName(info.fileName());
        if (types.isEmpty()) {
            return QCoreApplication::translate("QAbstractFileIconProvider", "File");
        }
        return types.constFirst().comment().isEmpty() ? types.constFirst().name() : types.constFirst().comment();
    }
};

QString runFileDialog(QWidget* parent, const FileDialogRequest& request, bool saving)
{
    QFileDialog dialog(parent);
    prepareFileDialog(dialog, request, saving);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

}  // namespace

void prepareFileDialog(QFileDialog& dialog, const FileDialogRequest& request, bool saving)
{
    // One provider for every dialog, never destroyed: the dialog's gatherer
    // thread may still ask it while the dialog is being torn down.
    static auto* const icons = new NameOnlyIcons;
    dialog.setIconProvider(icons);
    dialog.setWindowTitle(request.title);
    dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilter(request.filter);
    dialog.setDefaultSuffix(request.defaultSuffix);
    // The save command asks its own overwrite question.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
}

QString QtDialogs::saveFileName(const FileDialogRequest& request) { return runFileDialog(m_parent, request, true); }

QString QtDialogs::openFileName(const FileDialogRequest& request) { return runFileDialog(m_parent, request, false); }

namespace {

// A plain box: no icon beside the text, and none on its buttons either, which
// some styles add. The text is plain text: it carries a person's name, which
// may hold "<" or "&" and must show as typed, never as markup.
int runPlainBox(QWidget* parent, const QString& title, const QString& text, QMessageBox::StandardButtons buttons,
                QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(QMessageBox::NoIcon, title, QString(), buttons, parent);
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    box.setDefaultButton(defaultButton);
    for (QAbstractButton* button : box.buttons()) {
        button->setIcon(QIcon());
    }
    return box.exec();
}

}  // namespace

bool QtDialogs::askYesNo(const QString& title, const QString& text)
{
    return runPlainBox(m_parent, title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) ==
           QMessageBox::Yes;
}

void QtDialogs::inform(const QString& title, const QString& text)
{
    runPlainBox(m_parent, title, text, QMessageBox::Ok, QMessageBox::Ok);
}

namespace {

class QtBusyBox final : public BusyBox {
public:
    QtBusyBox(QWidget* parent, const QString& title, const QString& text, std::function<void()> stop)
        : m_box(new QDialog(parent))
    {
        m_box->setWindowTitle(title);
        auto* label = new QLabel(m_box);
        label->setTextFormat(Qt::PlainText);
        label->setText(text);
        auto* button = new QPushButton(QStringLiteral("中止"), m_box);
        auto* layout = new QVBoxLayout(m_box);
        layout->addWidget(label);
        layout->addWidget(button, 0, Qt::AlignHCenter);
        QObject::connect(button, &QPushButton::clicked, m_box, &QDialog::reject);
        // Esc and the frame's close button stop the command as 中止 does: a box
        // gone from the screen while its command still waits would leave the
        // window blocked with nothing to press.
        QObject::connect(m_box, &QDialog::rejected, m_box, [stop = std::move(stop)] { stop(); });
        m_box->setModal(true);
        m_box->show();
    }
    ~QtBusyBox() override { delete m_box.data(); }  // unless the window took it along

private:
    QPointer<QDialog> m_box;
};

class ScriptedBusyBox final : public QObject, public BusyBox {};

}  // namespace

std::unique_ptr<BusyBox> QtDialogs::showBusy(const QString& title, const QString& text, std::function<void()> stop)
{
    return std::make_unique<QtBusyBox>(m_parent, title, text, std::move(stop));
}

void ScriptedDialogs::clear()
{
    m_answers.clear();
    m_shown.clear();
    m_unanswered = 0;
    m_busyDelay = NoBusyBox;
    m_stopPending = false;
}

QString ScriptedDialogs::nextPath()
{
    if (!m_answers.empty() && std::holds_alternative<QString>(m_answers.front())) {
        QString path = std::get<QString>(m_answers.front());
        m_answers.pop_front();
        return path;
    }
    ++m_unanswered;
    return {};
}

QString ScriptedDialogs::saveFileName(const FileDialogRequest& request)
{
    m_shown.push_back({Shown::Kind::SaveFile, request.title, request.filter, request.defaultSuffix});
    return nextPath();
}

QString ScriptedDialogs::openFileName(const FileDialogRequest& request)
{
    m_shown.push_back({Shown::Kind::OpenFile, request.title, request.filter, request.defaultSuffix});
    return nextPath();
}

bool ScriptedDialogs::askYesNo(const QString& title, const QString& text)
{
    m_shown.push_back({Shown::Kind::Question, title, text, {}});
    if (!m_answers.empty() && std::holds_alternative<bool>(m_answers.front())) {
        const bool yes = std::get<bool>(m_answers.front());
        m_answers.pop_front();
        return yes;
    }
    ++m_unanswered;
    return false;
}

void ScriptedDialogs::inform(const QString& title, const QString& text)
{
    m_shown.push_back({Shown::Kind::Message, title, text, {}});
}

std::unique_ptr<BusyBox> ScriptedDialogs::showBusy(const QString& title, const QString& text,
                                                   std::function<void()> stop)
{
    m_shown.push_back({Shown::Kind::Busy, title, text, {}});
    auto box = std::make_unique<ScriptedBusyBox>();
    m_busyBox = box.get();
    m_busyStop = std::move(stop);
    if (m_stopPending) {
        m_stopPending = false;
        pressStop();
    }
    return box;
}

void ScriptedDialogs::pressStop()
{
    if (!m_busyBox) {
        m_stopPending = true;
        return;
    }
    // From the event loop, as a click would come; not at all if the box has
    // gone meanwhile.
    QTimer::singleShot(0, m_busyBox, m_busyStop);
}

}  // namespace uikit
