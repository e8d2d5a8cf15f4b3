#include "uikit/file_calls_aside.h"

#include "uikit/dialogs.h"

#include <QEventLoop>
#include <QTimer>

#include <condition_variable>
#include <new>
#include <system_error>
#include <thread>

namespace uikit {

namespace {

const QString BusyText = QStringLiteral("ファイルの読み書きが終わるのを待っています。");

// The threads still running file calls. Never destroyed: a thread stuck on its
// disk may come back while the program's statics are torn down.
struct Running {
    std::mutex mutex;
    std::condition_variable allDone;
    int count = 0;
};
Running& running()
{
    static auto* const threads = new Running;
    return *threads;
}

void startThread(std::shared_ptr<FileJob> job, std::shared_ptr<std::function<void(const FileJob&)>> work)
{
    {
        const std::lock_guard lock(running().mutex);
        ++running().count;
    }
    // The thread waits until it has been let go. mingw-w64's thread library
    // (winpthreads 10) hands a thread's record on to the next new thread when
    // the thread is let go; a thread let go while it was already ending put its
    // record back a second time as it ended, wiping the newer thread that had
    // it by then: that thread ran nothing, and its command waited for ever.
    // Under wine, about one thread in four thousand when quick calls follow
    // one another.
    const auto letGo = std::make_shared<std::mutex>();
    std::unique_lock holding(*letGo);
    try {
        std::thread([job, work, letGo]() mutable {
            { const std::lock_guard wait(*letGo); }
            (*work)(*job);
            // What the calls hold (a list read for a command that is gone)
            // goes here, on this thread, unless the command still holds it.
            work.reset();
            job->finish();
            job.reset();
            const std::lock_guard lock(running().mutex);
            --running().count;
            running().allDone.notify_all();
        }).detach();
    } catch (...) {
        const std::lock_guard lock(running().mutex);
        --running().count;
        throw;
    }
}

// Runs `loop` until `done`, looking before each run: a wake-up delivered while
// the loop was not running (showing the busy box processes events) is cleared
// by QEventLoop::exec, and the next one may never come. False when it ended
// early because the program is ending: a loop then returns at once, with -1.
bool waitUntil(QEventLoop& loop, QEventLoop::ProcessEventsFlags flags, const std::function<bool()>& done)
{
    while (!done()) {
        if (loop.exec(flags) < 0) {
            return false;
        }
    }
    return true;
}

}  // namespace

void FileJob::finish()
{
    const std::lock_guard lock(m_mutex);
    m_finished = true;
    if (m_wake) {
        m_wake();
    }
}

void FileJob::setWake(std::function<void()> wake)
{
    const std::lock_guard lock(m_mutex);
    m_wake = std::move(wake);
}

bool FileJob::finished() const
{
    const std::lock_guard lock(m_mutex);
    return m_finished;
}

bool FileJob::endWait()
{
    const std::lock_guard lock(m_mutex);
    m_wake = nullptr;
    if (!m_finished) {
        m_stopped = true;
    }
    return m_finished;
}

bool runFileCallsAside(Dialogs& dialogs, const QString& title, std::function<void(const FileJob&)> calls)
{
    auto job = std::make_shared<FileJob>();
    auto work = std::make_shared<std::function<void(const FileJob&)>>(std::move(calls));
    QEventLoop loop;
    // Posting to the loop from the thread is safe while the wake is set: the
    // loop outlives it (endWait below, under the job's lock).
    job->setWake([&loop] { QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection); });
    try {
        startThread(job, work);
    } catch (const std::exception&) {
        // No thread to be had (system_error, or bad_alloc for its state).
        job->setWake(nullptr);
        (*work)(*job);
        return true;
    }

    // Until the box shows, input waits in the queue: a second command started
    // meanwhile would run inside this one.
    bool slow = false;
    QTimer delay;
    delay.setSingleShot(true);
    QObject::connect(&delay, &QTimer::timeout, &loop, [&loop, &slow] {
        slow = true;
        loop.quit();
    });
    delay.start(dialogs.busyDelay());
    const bool ending = !waitUntil(loop, QEventLoop::ExcludeUserInputEvents, [&] { return slow || job->finished(); });
    bool stopPressed = false;
    if (!ending && !job->finished()) {
        const std::unique_ptr<BusyBox> box = dialogs.showBusy(title, BusyText, [&loop, &stopPressed] {
            stopPressed = true;
            loop.quit();
        });
        waitUntil(loop, QEventLoop::AllEvents, [&] { return stopPressed || job->finished(); });
    }
    // A 中止 pressed as the calls finished still counts: the user was told
    // nothing else.
    return job->endWait() && !stopPressed;
}

bool fileCallsDone(std::chrono::milliseconds within)
{
    std::unique_lock lock(running().mutex);
    return running().allDone.wait_for(lock, within, [] { return running().count == 0; });
}

}  // namespace uikit
