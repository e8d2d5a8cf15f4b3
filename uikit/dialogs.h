#pragma once

// Every dialog the program shows goes through this interface, so that the
// commands can be driven in tests (and by the soak) without a real modal dialog.
//
// The questions are plain boxes: a title, lines of text joined by "\n", Yes and
// No with Yes as the default, no icon. The file dialogs return the chosen path, or
// an empty string when the user cancelled.

#include <QString>

#include <deque>
#include <variant>
#include <vector>

class QWidget;

namespace uikit {

struct FileDialogRequest {
    QString title;           // "リスト保存" / "リストを開く"
    QString filter;          // "九星リスト(*.orx)": description with its pattern
    QString defaultSuffix;   // "orx", added to a name typed without an extension
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual QString saveFileName(const FileDialogRequest& request) = 0;
    virtual QString openFileName(const FileDialogRequest& request) = 0;
    virtual bool askYesNo(const QString& title, const QString& text) = 0;
    virtual void inform(const QString& title, const QString& text) = 0;
};

// The real dialogs, modal to the given window.
class QtDialogs final : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent) : m_parent(parent) {}
    QString saveFileName(const FileDialogRequest& request) override;
    QString openFileName(const FileDialogRequest& request) override;
    bool askYesNo(const QString& title, const QString& text) override;
    void inform(const QString& title, const QString& text) override;

private:
    QWidget* m_parent;
};

// Answers from a script, in order, and a record of everything that was shown.
// A dialog with no scripted answer is answered with cancel / No and counted in
// unanswered(), so a test can fail on it instead of hanging.
class ScriptedDialogs final : public Dialogs {
public:
    struct Shown {
        enum class Kind { SaveFile, OpenFile, Question, Message } kind;
        QString title;
        QString text;    // question or message text; the filter for a file dialog
        QString suffix;  // default suffix of a file dialog
    };

    void answerPath(const QString& path) { m_answers.emplace_back(path); }
    void answerCancel() { m_answers.emplace_back(QString()); }
    void answerYesNo(bool yes) { m_answers.emplace_back(yes); }

    const std::vector<Shown>& shown() const { return m_shown; }
    int unanswered() const { return m_unanswered; }
    bool allAnswersUsed() const { return m_answers.empty(); }
    void clear();

    QString saveFileName(const FileDialogRequest& request) override;
    QString openFileName(const FileDialogRequest& request) override;
    bool askYesNo(const QString& title, const QString& text) override;
    void inform(const QString& title, const QString& text) override;

private:
    QString nextPath();

    std::deque<std::variant<QString, bool>> m_answers;
    std::vector<Shown> m_shown;
    int m_unanswered = 0;
};

}  // namespace uikit
