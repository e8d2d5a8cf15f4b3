#pragma once

// Every dialog the program shows goes through this interface, so that the
// commands can be driven in tests (and by the soak) without a real modal dialog.
//
// The questions are plain boxes: a title, lines of text joined by "\n", Yes and
// No with Yes as the default, no icon. The file dialogs return the chosen path, or
// an empty string when the user cancelled.
//
// A list file command that waits on its disk for more than a moment shows the
// busy box: a small box with 中止, modal to the window, so that the window keeps
// painting while nothing but 中止 takes input. A disk that never answers (a
// network share gone away, a dying stick) then costs the user one click, not the
// program.

#include <QPointer>
#include <QString>

#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <variant>
#include <vector>

class QFileDialog;
class QWidget;

namespace uikit {

struct FileDialogRequest {
    QString title;           // "リスト保存" / "リストを開く"
    QString filter;          // "九星リスト(*.orx)": description with its pattern
    QString defaultSuffix;   // "orx", added to a name typed without an extension
};

// The busy box while it is on screen; destroying it closes it.
class BusyBox {
public:
    BusyBox() = default;
    BusyBox(const BusyBox&) = delete;
    BusyBox& operator=(const BusyBox&) = delete;
    virtual ~BusyBox() = default;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual QString saveFileName(const FileDialogRequest& request) = 0;
    virtual QString openFileName(const FileDialogRequest& request) = 0;
    virtual bool askYesNo(const QString& title, const QString& text) = 0;
    virtual void inform(const QString& title, const QString& text) = 0;

    // How long a file command waits on its disk before the busy box shows:
    // long enough that an ordinary save never flashes a box.
    virtual std::chrono::milliseconds busyDelay() const { return std::chrono::milliseconds(500); }
    // Shows the busy box with the command's title. `stop` runs from the event
    // loop, never within this call, when the user presses 中止 or closes the box.
    virtual std::unique_ptr<BusyBox> showBusy(const QString& title, const QString& text,
                                              std::function<void()> stop) = 0;
};

// Sets up a file dialog as the list commands show it. The dialog picks the
// icon and the type of each entry by its name and kind (folder or file), never
// by reading the file: the toolkit's own choice reads the first bytes of every
// file of a folder to guess its type, and a file on a disk that does not answer
// would freeze the window before the user could even pick another folder.
void prepareFileDialog(QFileDialog& dialog, const FileDialogRequest& request, bool saving);

// The real dialogs, modal to the given window.
class QtDialogs final : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent) : m_parent(parent) {}
    QString saveFileName(const FileDialogRequest& request) override;
    QString openFileName(const FileDialogRequest& request) override;
    bool askYesNo(const QString& title, const QString& text) override;
    void inform(const QString& title, const QString& text) override;
    std::unique_ptr<BusyBox> showBusy(const QString& title, const QString& text, std::function<void()> stop) override;

private:
    QWidget* m_parent;
};

// Answers from a script, in order, and a record of everything that was shown.
// A dialog with no scripted answer is answered with cancel / No and counted in
// unanswered(), so a test can fail on it instead of hanging. The busy box
// shows only when a test sets a delay it can reach (0: at once), and stays up
// until the command's file calls are done or the test presses 中止.
class ScriptedDialogs final : public Dialogs {
public:
    struct Shown {
        enum class Kind { SaveFile, OpenFile, Question, Message, Busy } kind;
        QString title;
        QString text;    // question or message text; the filter for a file dialog
        QString suffix;  // default suffix of a file dialog
    };

    void answerPath(const QString& path) { m_answers.emplace_back(path); }
    void answerCancel() { m_answers.emplace_back(QString()); }
    void answerYesNo(bool yes) { m_answers.emplace_back(yes); }
    void setBusyDelay(std::chrono::milliseconds delay) { m_busyDelay = delay; }
    // 中止 in the busy box that is up, or else in the next one to show. A test
    // holding a file call posts it here once the call is reached.
    void pressStop();

    const std::vector<Shown>& shown() const { return m_shown; }
    int unanswered() const { return m_unanswered; }
    bool allAnswersUsed() const { return m_answers.empty(); }
    void clear();

    QString saveFileName(const FileDialogRequest& request) override;
    QString openFileName(const FileDialogRequest& request) override;
    bool askYesNo(const QString& title, const QString& text) override;
    void inform(const QString& title, const QString& text) override;
    std::chrono::milliseconds busyDelay() const override { return m_busyDelay; }
    std::unique_ptr<BusyBox> showBusy(const QString& title, const QString& text, std::function<void()> stop) override;

private:
    static constexpr std::chrono::hours NoBusyBox{24};

    QString nextPath();

    std::deque<std::variant<QString, bool>> m_answers;
    std::vector<Shown> m_shown;
    int m_unanswered = 0;
    std::chrono::milliseconds m_busyDelay = NoBusyBox;
    QPointer<QObject> m_busyBox;  // the box that is up
    std::function<void()> m_busyStop;
    bool m_stopPending = false;
};

}  // namespace uikit
