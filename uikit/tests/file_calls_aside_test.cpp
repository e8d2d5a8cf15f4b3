#include "uikit/dialogs.h"
#include "uikit/file_calls_aside.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

#include <future>

namespace {

using namespace std::chrono_literals;

// Presses 中止 after this long: a wait that missed the end of the calls ends
// here, failing the test, instead of at the suite's time limit.
constexpr auto StopAfter = 3s;

class Box final : public QObject, public uikit::BusyBox {};

// Dialogs whose busy box shows at once and, before it returns, runs what the
// test puts there: the moment between the two waits of a command.
class BusyAtOnce final : public uikit::Dialogs {
public:
    std::function<void()> whileShowing = [] {};

    QString saveFileName(const uikit::FileDialogRequest& /*request*/) override { return {}; }
    QString openFileName(const uikit::FileDialogRequest& /*request*/) override { return {}; }
    bool askYesNo(const QString& /*title*/, const QString& /*text*/) override { return false; }
    void inform(const QString& /*title*/, const QString& /*text*/) override {}
    std::chrono::milliseconds busyDelay() const override { return 0ms; }
    std::unique_ptr<uikit::BusyBox> showBusy(const QString& /*title*/, const QString& /*text*/,
                                             std::function<void()> stop) override
    {
        ++shown;
        auto box = std::make_unique<Box>();
        QTimer::singleShot(StopAfter, box.get(), std::move(stop));
        whileShowing();
        return box;
    }

    int shown = 0;
};

}  // namespace

class FileCallsAsideTest final : public QObject {
    Q_OBJECT

private slots:
    void callsThatEndWhileTheBoxShowsEndTheWait_data();
    void callsThatEndWhileTheBoxShowsEndTheWait();
    void quickCallsOneAfterAnotherAllRun();
};

void FileCallsAsideTest::callsThatEndWhileTheBoxShowsEndTheWait_data()
{
    QTest::addColumn<bool>("loseWake");
    // Showing the box processes events on some platforms (and an accessibility
    // query may): the calls' wake-up arrives before the wait blocks again.
    QTest::newRow("wake-up delivered before the wait blocks") << false;
    // A wake-up that never comes.
    QTest::newRow("wake-up lost") << true;
}

void FileCallsAsideTest::callsThatEndWhileTheBoxShowsEndTheWait()
{
    QFETCH(bool, loseWake);
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    BusyAtOnce dialogs;
    dialogs.whileShowing = [&] {
        release.set_value();
        QVERIFY(uikit::fileCallsDone(10s));  // the thread has finished and posted its wake-up
        if (loseWake) {
            QCoreApplication::removePostedEvents(nullptr, QEvent::MetaCall);
        } else {
            QCoreApplication::processEvents();
        }
    };
    QElapsedTimer waited;
    waited.start();
    const bool finished = uikit::runFileCallsAside(dialogs, QStringLiteral("リスト保存"),
                                                   [released](const uikit::FileJob&) { released.wait(); });
    QCOMPARE(dialogs.shown, 1);
    QVERIFY2(finished, "the wait missed the end of the calls and was stopped");
    QVERIFY(waited.elapsed() < std::chrono::milliseconds(StopAfter).count());
}

// Each thread is let go while the one before may still be ending: the calls
// of every one must run (a wait that misses them is stopped after 3 s).
void FileCallsAsideTest::quickCallsOneAfterAnotherAllRun()
{
    BusyAtOnce dialogs;
    int ran = 0;
    for (int i = 0; i < 5000; ++i) {
        if (!uikit::runFileCallsAside(dialogs, QStringLiteral("リスト保存"), [&ran](const uikit::FileJob&) { ++ran; })) {
            QFAIL(qPrintable(QStringLiteral("the calls of command %1 never ran").arg(i + 1)));
        }
    }
    QCOMPARE(ran, 5000);
}

QTEST_MAIN(FileCallsAsideTest)
#include "file_calls_aside_test.moc"
