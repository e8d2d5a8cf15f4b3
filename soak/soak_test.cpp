// Twenty thousand careless events through both windows, with every invariant
// checked after each one. The run is fixed by its seed:
//
//   KYUSEI_SOAK_SEED=7 KYUSEI_SOAK_EVENTS=50000 build/soak/soak_tests
//
// replays (or lengthens) a run, and KYUSEI_SOAK_TRACE=1 prints every event; a
// failure prints the seed, the event it broke on and the events before it.

#include "soak/soak.h"
#include "testkit/driver.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

namespace {

constexpr std::uint64_t DefaultSeed = 20240210;
constexpr int DefaultEvents = 20000;

std::uint64_t seedFromEnvironment()
{
    bool ok = false;
    const std::uint64_t seed = qEnvironmentVariable("KYUSEI_SOAK_SEED").toULongLong(&ok);
    return ok ? seed : DefaultSeed;
}

int eventsFromEnvironment()
{
    bool ok = false;
    const int events = qEnvironmentVariableIntValue("KYUSEI_SOAK_EVENTS", &ok);
    return ok && events > 0 ? events : DefaultEvents;
}

}  // namespace

class SoakTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { testkit::useProgramFont(); }

    void carelessUserThroughBothWindows()
    {
        const std::uint64_t seed = seedFromEnvironment();
        const int events = eventsFromEnvironment();
        soak::Soak soak(seed);
        soak.setTrace(qEnvironmentVariableIsSet("KYUSEI_SOAK_TRACE"));
        QElapsedTimer clock;
        clock.start();
        try {
            soak.run(events);
        } catch (const soak::Failure& failure) {
            const std::string report = "event #" + std::to_string(soak.eventsDone()) + " of seed " +
                                       std::to_string(seed) + ": " + failure.what() + "\nreplay: KYUSEI_SOAK_SEED=" +
                                       std::to_string(seed) + " KYUSEI_SOAK_EVENTS=" +
                                       std::to_string(soak.eventsDone() + 1) + "\nlast events:\n" +
                                       soak.recentEvents();
            QFAIL(report.c_str());
        }
        const double seconds = static_cast<double>(clock.elapsed()) / 1000.0;
        qInfo("seed %llu: %d events in %.1f s, %.0f events/s\n%s", static_cast<unsigned long long>(seed), events,
              seconds, events / seconds, soak.tally().c_str());
    }
};

QTEST_MAIN(SoakTest)
#include "soak_test.moc"
