#pragma once

// A careless user, played from a seed: clicks on every button of both windows,
// hostile texts in every input, clicks all over the list grid, the speed slider
// thrown about, the training window opened, ticked and closed every way, and the
// list saved and opened through every kind of path with random answers.
//
// Three pieces:
//   - the event table (Soak::Events): what a user can do, how often, and in which
//     window; each event also checks what that one action must have done;
//   - Expected: the little the soak must remember to judge what it sees (whether
//     the list was built by registering alone, the training board's centre, what
//     the main window showed before the training window opened) and, in
//     ListFiles, what every file it saved holds;
//   - the invariants, checked after every event whatever it was.
// A failed check throws Failure; the caller prints the seed, the event number and
// the last events, which is all it takes to replay the run.

#include "mainwindow/calculate.h"
#include "mainwindow/reading_display.h"
#include "personlist/person.h"
#include "soak/files.h"
#include "soak/texts.h"
#include "testkit/main_window.h"
#include "uikit/dialogs.h"

#include <QPointer>
#include <QString>

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace training {
class Form1;
}
class QWidget;

namespace mainwindow {
class Form2;
}
namespace personlist {
class PersonGrid;
}

namespace soak {

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Everything of the main window that a command may or may not change.
struct MainState {
    mainwindow::ReadingDisplay display;
    mainwindow::ReadingInputs inputs;
    QString name;
    std::vector<personlist::Person> persons;  // as the grid shows them
    int currentRow = 0;
};

struct Expected {
    // No list was opened since the list was last empty: registering alone built
    // it, so it must stand in first-character order.
    bool registeredOnly = true;
    // The training board is the board of this centre star, and Label2 says this.
    int trainingCentre = 5;
    QString trainingDirection;
    // The main window as it was when イメージ was pressed.
    std::optional<MainState> beforeTraining;
};

class Soak {
public:
    explicit Soak(std::uint64_t seed);
    ~Soak();

    // Plays `count` events; throws Failure on the first broken check.
    void run(int count);
    // Prints every event as it is played.
    void setTrace(bool on) { m_trace = on; }

    int eventsDone() const { return m_done; }
    // The last events, oldest first, one line each.
    std::string recentEvents() const;
    // How often each kind of event ran, and what it led to.
    std::string tally() const;

private:
    enum class Window { Main, Training };
    struct Event {
        const char* name;
        int weight;
        Window window;
        void (Soak::*play)();
    };
    static const std::vector<Event> Events;

    // Main window.
    void typeText();
    void pickItem();
    void typeDate();
    void clickCalculate();
    void clickRegister();
    void clickLoad();
    void clickDelete();
    void clickSave();
    void saveOnFullDisk();
    void clickOpen();
    void clickCell();
    void clickHeaderRow();
    void clickNumberColumn();
    void clickCorner();
    void setCurrentRow();
    void pressKeyInGrid();
    void pressTab();
    void clickImage();
    void scribbleFile();
    void lookAtWindow();
    // Training window.
    void tick();
    void moveSlider();
    void pressKeyOnSlider();
    void clickSlider();
    void wheelOnSlider();
    void clickReturn();
    void closeByFrame();

    void save(std::optional<long> fileSizeLimit);
    void returnToMain(bool byFrame);

    // Invariants, after every event.
    void checkNoDialogOpen();
    void checkOneWindowVisible();
    void checkNumberColumn();
    void checkCurrentRowInRange();
    void checkFirstCharacterOrder();
    void checkTrainingWindow();

    // Checks of one event's outcome.
    void checkReadingShowsFullBoards();
    void checkUnchanged(const MainState& before, const char* what, bool display, bool inputs, bool list);
    void checkDialogs(const std::vector<std::pair<uikit::ScriptedDialogs::Shown::Kind, QString>>& expected);

    MainState mainState() const;
    personlist::PersonGrid& grid() const;
    QWidget* control(const char* name, int index = -1) const;
    QWidget* trainingControl(const char* name) const;
    void settle();

    int uniform(int low, int high);
    bool chance(int percent);
    void expect(bool ok, const std::string& what);
    void note(const std::string& what);
    void count(const std::string& outcome);

    Random m_random;
    uikit::ScriptedDialogs m_dialogs;
    std::unique_ptr<mainwindow::Form2> m_form;
    testkit::MainWindowDriver m_driver;
    QPointer<training::Form1> m_training;
    ListFiles m_files;
    Expected m_expected;

    bool m_trace = false;
    int m_done = 0;
    std::string m_current;                 // what the event being played did
    std::deque<std::string> m_recent;
    std::vector<int> m_eventCounts;
    std::map<std::string, int> m_outcomes;  // e.g. "save: replaced a list"
    std::size_t m_longestList = 0;
    int m_timerTicks = 0;                   // ticks the real timer delivered
};

}  // namespace soak
