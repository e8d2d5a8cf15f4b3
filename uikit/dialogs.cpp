#include "uikit/dialogs.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QMessageBox>

namespace uikit {

namespace {

QString runFileDialog(QWidget* parent, const FileDialogRequest& request, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent, request.title);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilter(request.filter);
    dialog.setDefaultSuffix(request.defaultSuffix);
    // The save command asks its own overwrite question.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

}  // namespace

QString QtDialogs::saveFileName(const FileDialogRequest& request)
{
    return runFileDialog(m_parent, request, QFileDialog::AcceptSave);
}

QString QtDialogs::openFileName(const FileDialogRequest& request)
{
    return runFileDialog(m_parent, request, QFileDialog::AcceptOpen);
}

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

void ScriptedDialogs::clear()
{
    m_answers.clear();
    m_shown.clear();
    m_unanswered = 0;
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

}  // namespace uikit
