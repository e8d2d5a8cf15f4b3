#pragma once

// The file calls of a command run on a thread of their own, so that a disk
// that does not answer cannot freeze the window. Everything else of a command
// stays on the window's thread: it hands its file calls over, waits for them
// in a local event loop (the windows keep painting, input waits), and once they
// have taken about half a second shows the busy box with 中止, modal to the
// window.
//
// 中止 ends the command at once, as if it had not run: no message, the list as
// it was. A call stuck in the kernel cannot be broken off, so its thread stays
// until the call returns and then finishes on its own, with no one left to
// report to. It shares nothing with the command but a FileJob and what its
// calls hold, all by shared_ptr, so it may outlive the command, the list and
// the window; the calls ask the job whether to go on (stopped()).

#include <QString>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

namespace uikit {

class Dialogs;

// What a command shares with the thread that runs its file calls.
class FileJob {
public:
    // True once the command no longer waits for the calls: they must take
    // nothing further.
    bool stopped() const { return m_stopped.load(); }

    // The thread's side: the calls are done; wakes the command if it still waits.
    void finish();
    // The command's side, while it waits: how to wake it, run on the thread.
    void setWake(std::function<void()> wake);
    bool finished() const;
    // The command's side, on leaving the wait: no more waking; if the calls are
    // not done, they are stopped. True when they were done.
    bool endWait();

private:
    mutable std::mutex m_mutex;
    std::function<void()> m_wake;
    bool m_finished = false;
    std::atomic<bool> m_stopped{false};
};

// Runs `calls` on a thread of their own and waits for them as described above.
// True when they finished; false when the user pressed 中止 or the program is
// ending, and the command must end without a word. Where no thread can be
// started (no memory for its stack), the calls run right here, as before.
bool runFileCallsAside(Dialogs& dialogs, const QString& title, std::function<void(const FileJob&)> calls);

// The same, for calls that give a result; nothing when the command stopped.
template <typename Result, typename Calls>
std::optional<Result> runFileCalls(Dialogs& dialogs, const QString& title, Calls calls)
{
    auto result = std::make_shared<std::optional<Result>>();
    if (!runFileCallsAside(dialogs, title, [result, calls = std::move(calls)](const FileJob& job) {
            *result = calls(job);
        })) {
        return std::nullopt;
    }
    return std::move(*result);
}

// True when no thread runs file calls any more, waiting for that at most
// `within`. The program checks it on its way out: a call stuck on its disk
// cannot be waited for, and must not outlive the statics it may still use.
bool fileCallsDone(std::chrono::milliseconds within = std::chrono::milliseconds(0));

}  // namespace uikit
