#include "personlist/file_worker.h"

#include "uikit/dialogs.h"

#include <QEventLoop>
#include <QTimer>

#include <cerrno>
#include <condition_variable>
#include <new>
#include <system_error>
#include <thread>

namespace personlist {

namespace {

const QString BusyText = QStringLiteral("ファイルの読み書きが終わるのを待っています。");

// How the local event loop ended.
enum Waited : int { Quit = 0, Finished, Slow, Stopped };

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
    try {
        std::thread([job, work]() mutable {
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

bool StoppableCalls::refuse() const
{
    if (m_job.stopped()) {
        errno = ECANCELED;
        return true;
    }
    return false;
}

int StoppableCalls::openat(int folder, const char* path, int flags, mode_t mode)
{
    return refuse() ? -1 : m_inner.openat(folder, path, flags, mode);
}
ssize_t StoppableCalls::write(int fd, const void* data, std::size_t size)
{
    return refuse() ? -1 : m_inner.write(fd, data, size);
}
int StoppableCalls::fsync(int fd) { return refuse() ? -1 : m_inner.fsync(fd); }
int StoppableCalls::fchmod(int fd, mode_t mode) { return refuse() ? -1 : m_inner.fchmod(fd, mode); }
int StoppableCalls::fchown(int fd, uid_t owner, gid_t group) { return refuse() ? -1 : m_inner.fchown(fd, owner, group); }
int StoppableCalls::faccessat(int folder, const char* path, int mode, int flags)
{
    return m_inner.faccessat(folder, path, mode, flags);
}
int StoppableCalls::fsetxattr(int fd, const char* name, const void* value, std::size_t size, int flags)
{
    return refuse() ? -1 : m_inner.fsetxattr(fd, name, value, size, flags);
}
int StoppableCalls::fremovexattr(int fd, const char* name) { return refuse() ? -1 : m_inner.fremovexattr(fd, name); }
int StoppableCalls::linkat(int fromFolder, const char* from, int toFolder, const char* to, int flags)
{
    return refuse() ? -1 : m_inner.linkat(fromFolder, from, toFolder, to, flags);
}
int StoppableCalls::renameat(int fromFolder, const char* from, int toFolder, const char* to)
{
    return refuse() ? -1 : m_inner.renameat(fromFolder, from, toFolder, to);
}
int StoppableCalls::unlinkat(int folder, const char* path, int flags) { return m_inner.unlinkat(folder, path, flags); }
int StoppableCalls::close(int fd) { return m_inner.close(fd); }

bool runFileCallsAside(uikit::Dialogs& dialogs, const QString& title, std::function<void(const FileJob&)> calls)
{
    auto job = std::make_shared<FileJob>();
    auto work = std::make_shared<std::function<void(const FileJob&)>>(std::move(calls));
    QEventLoop loop;
    // Posting to the loop from the thread is safe while the wake is set: the
    // loop outlives it (endWait below, under the job's lock).
    job->setWake([&loop] { QMetaObject::invokeMethod(&loop, [&loop] { loop.exit(Finished); }, Qt::QueuedConnection); });
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
    QTimer delay;
    delay.setSingleShot(true);
    QObject::connect(&delay, &QTimer::timeout, &loop, [&loop] { loop.exit(Slow); });
    delay.start(dialogs.busyDelay());
    int waited = loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (waited == Slow && !job->finished()) {
        const std::unique_ptr<uikit::BusyBox> box =
            dialogs.showBusy(title, BusyText, [&loop] { loop.exit(Stopped); });
        waited = loop.exec();
    }
    // A 中止 pressed as the calls finished still counts: the user was told
    // nothing else.
    return job->endWait() && waited != Stopped;
}

SaveOutcome saveListFileAside(uikit::Dialogs& dialogs, const QString& title, const ListFileCalls& files,
                              const std::filesystem::path& path, const std::vector<Person>& persons)
{
    std::string bytes;
    try {
        bytes = listFileBytes(persons);
    } catch (const std::bad_alloc&) {
        return {false, ListFileError{ListFileError::Kind::OutOfMemory}};
    }
    std::optional<std::optional<ListFileError>> error = runFileCalls<std::optional<ListFileError>>(
        dialogs, title, [calls = files.write, path, bytes = std::move(bytes)](const FileJob& job) {
            StoppableCalls stoppable(*calls, job);
            return writeListFileBytes(path, bytes, stoppable);
        });
    if (!error) {
        return {true, std::nullopt};
    }
    return {false, *error};
}

bool fileCallsDone(std::chrono::milliseconds within)
{
    std::unique_lock lock(running().mutex);
    return running().allDone.wait_for(lock, within, [] { return running().count == 0; });
}

}  // namespace personlist
