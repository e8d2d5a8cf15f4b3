#include "soak/soak.h"

#include "mainwindow/form2.h"
#include "personlist/list_file.h"
#include "personlist/person_grid.h"
#include "reckoning/tables.h"
#include "training/form1.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include <sys/resource.h>

#include <algorithm>
#include <array>
#include <csignal>
#include <cstdio>
#include <sstream>

using training::Form1;

namespace soak {

using Kind = uikit::ScriptedDialogs::Shown::Kind;
using personlist::Person;

namespace {

constexpr std::size_t RecentEvents = 12;
constexpr int SliderMinimum = -120;
constexpr int SliderMaximum = 120;

const QString Onward = QStringLiteral("隠遁");
const QString Back = QStringLiteral("陽遁");

std::string utf8(const QString& text) { return text.toStdString(); }

std::string quoted(const QString& text)
{
    // Long texts are cut in the log; the seed replays them whole.
    const QString shown = text.size() > 40 ? text.left(40) + QStringLiteral("…") : text;
    return '"' + utf8(shown) + '"';
}

std::string describe(const Person& p)
{
    return '{' + quoted(QString::fromStdString(p.name)) + ' ' + quoted(QString::fromStdString(p.year)) + ' ' +
           quoted(QString::fromStdString(p.month)) + ' ' + quoted(QString::fromStdString(p.day)) + '}';
}

// The code unit the list is ordered by, read from what the grid shows: the first
// UTF-16 code unit of the name, an empty name before everything.
int orderingUnit(const QString& name) { return name.isEmpty() ? -1 : name.at(0).unicode(); }

// Star p of the board with centre star c (every star and centre 1..9).
int starOf(int centre, int palace) { return ((centre + palace - 6) % 9 + 9) % 9 + 1; }

int wrapStar(int star) { return (star + 8) % 9 + 1; }

QString periodLabel(int value)
{
    const int halves = std::abs(value);
    return QString::number(halves / 2) + (halves % 2 != 0 ? QStringLiteral(".5") : QString()) + QStringLiteral("秒");
}

// Where two readings differ first, for a failure message.
std::string firstDifference(const mainwindow::ReadingDisplay& a, const mainwindow::ReadingDisplay& b)
{
    const auto cell = [](const mainwindow::CellDisplay& c) { return c.caption + " on " + std::to_string(c.fill); };
    const auto text = [](const mainwindow::TextDisplay& t) { return '"' + t.caption + "\" in " + std::to_string(t.colour); };
    const auto row = [&text](const mainwindow::RowDisplay& r) { return text(r.value) + " name in " + std::to_string(r.nameColour); };
    if (!(a.natalCell == b.natalCell)) {
        return "natal cell " + cell(a.natalCell) + " / " + cell(b.natalCell);
    }
    if (!(a.natalName == b.natalName)) {
        return "natal name " + text(a.natalName) + " / " + text(b.natalName);
    }
    for (std::size_t i = 0; i < a.luckySlots.size(); ++i) {
        if (!(a.luckySlots[i] == b.luckySlots[i])) {
            return "lucky slot " + std::to_string(i) + ' ' + text(a.luckySlots[i]) + " / " + text(b.luckySlots[i]);
        }
    }
    for (std::size_t p = 0; p < a.monthCells.size(); ++p) {
        if (!(a.monthCells[p] == b.monthCells[p]) || !(a.yearCells[p] == b.yearCells[p])) {
            return "board cell of palace " + std::to_string(p);
        }
        if (a.monthMarks[p] != b.monthMarks[p] || a.yearMarks[p] != b.yearMarks[p]) {
            return "mark of palace " + std::to_string(p) + ": month " + a.monthMarks[p] + " / " + b.monthMarks[p] +
                   ", year " + a.yearMarks[p] + " / " + b.yearMarks[p];
        }
    }
    for (std::size_t r = 0; r < a.monthRows.size(); ++r) {
        if (!(a.monthRows[r] == b.monthRows[r])) {
            return "month row " + std::to_string(r) + ' ' + row(a.monthRows[r]) + " / " + row(b.monthRows[r]);
        }
        if (!(a.yearRows[r] == b.yearRows[r])) {
            return "year row " + std::to_string(r) + ' ' + row(a.yearRows[r]) + " / " + row(b.yearRows[r]);
        }
    }
    return "nothing";
}

// A reading as the user sees it: an emptied lucky slot keeps the text colour of
// its last star, which shows on no text.
mainwindow::ReadingDisplay asSeen(mainwindow::ReadingDisplay display)
{
    for (mainwindow::TextDisplay& slot : display.luckySlots) {
        if (slot.caption.empty()) {
            slot.colour = 0;
        }
    }
    return display;
}

// Decimal digits only, no sign, no blank, no leading zero: a number a date field
// holds when the user picked it or typed it plainly.
std::optional<int> plainNumber(const std::string& text)
{
    if (text.empty() || text.size() > 4 || text[0] == '0' ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    return std::stoi(text);
}

// Six inputs that make a real date of birth and a real date to read.
bool isPlainDate(const mainwindow::ReadingInputs& in)
{
    const auto inRange = [](const std::string& text, int last) {
        const std::optional<int> n = plainNumber(text);
        return n && *n <= last;
    };
    return inRange(in.birthYear, 9999) && inRange(in.birthMonth, 12) && inRange(in.birthDay, 31) &&
           inRange(in.readingYear, 9999) && inRange(in.readingMonth, 12) && inRange(in.readingDay, 31);
}

// The centre of a board whose palace-5 caption is this numeral, or 0.
int centreOf(const std::string& numeral)
{
    for (int star = 1; star <= 9; ++star) {
        if (reckoning::boardNumeral(star) == numeral) {
            return star;
        }
    }
    return 0;
}

}  // namespace

// Weights: a careless user types and registers a lot, opens and saves now and
// then, and visits the training window often enough that the trip there and
// back runs hundreds of times. Events of a window run only while it is shown.
const std::vector<Soak::Event> Soak::Events = {
    {"type a text", 22, Window::Main, &Soak::typeText},
    {"pick a list item", 4, Window::Main, &Soak::pickItem},
    {"type a whole date", 3, Window::Main, &Soak::typeDate},
    {"算出", 8, Window::Main, &Soak::clickCalculate},
    {"リスト登録", 12, Window::Main, &Soak::clickRegister},
    {"読み出し", 4, Window::Main, &Soak::clickLoad},
    {"削除", 6, Window::Main, &Soak::clickDelete},
    {"リスト保存", 6, Window::Main, &Soak::clickSave},
    {"リスト保存 on a full disk", 1, Window::Main, &Soak::saveOnFullDisk},
    {"リストを開く", 6, Window::Main, &Soak::clickOpen},
    {"click a grid cell", 6, Window::Main, &Soak::clickCell},
    {"click the header row", 2, Window::Main, &Soak::clickHeaderRow},
    {"click the number column", 2, Window::Main, &Soak::clickNumberColumn},
    {"click the corner", 1, Window::Main, &Soak::clickCorner},
    {"setCurrentRow", 3, Window::Main, &Soak::setCurrentRow},
    {"key in the grid", 2, Window::Main, &Soak::pressKeyInGrid},
    {"Tab to the next control", 3, Window::Main, &Soak::pressTab},
    {"イメージ", 3, Window::Main, &Soak::clickImage},
    {"a file changes on disk", 1, Window::Main, &Soak::scribbleFile},
    {"look at the main window", 1, Window::Main, &Soak::lookAtWindow},
    {"tick", 10, Window::Training, &Soak::tick},
    {"move the slider", 5, Window::Training, &Soak::moveSlider},
    {"key on the slider", 4, Window::Training, &Soak::pressKeyOnSlider},
    {"click the slider", 1, Window::Training, &Soak::clickSlider},
    {"wheel on the slider", 1, Window::Training, &Soak::wheelOnSlider},
    {"look at the training window", 1, Window::Training, &Soak::lookAtWindow},
    {"戻る", 3, Window::Training, &Soak::clickReturn},
    {"close by the frame", 1, Window::Training, &Soak::closeByFrame},
};

Soak::Soak(std::uint64_t seed)
    : m_random(seed),
      m_form(std::make_unique<mainwindow::Form2>(&m_dialogs)),
      m_driver(*m_form),
      m_files(m_random),
      m_eventCounts(Events.size(), 0)
{
    // A save that passes the file size limit gets EFBIG instead of a signal.
    std::signal(SIGXFSZ, SIG_IGN);
    m_form->show();
    settle();
}

Soak::~Soak()
{
    if (m_training) {
        delete m_training.data();
    }
}

void Soak::run(int count)
{
    for (; m_done < count; ++m_done) {
        const Window shown = m_training ? Window::Training : Window::Main;
        int total = 0;
        for (const Event& e : Events) {
            total += e.window == shown ? e.weight : 0;
        }
        int roll = uniform(0, total - 1);
        std::size_t kind = 0;
        for (; kind < Events.size(); ++kind) {
            if (Events[kind].window != shown) {
                continue;
            }
            if (roll < Events[kind].weight) {
                break;
            }
            roll -= Events[kind].weight;
        }
        ++m_eventCounts[kind];
        m_current = '#' + std::to_string(m_done) + ' ' + Events[kind].name;
        m_recent.push_back(m_current);
        if (m_recent.size() > RecentEvents) {
            m_recent.pop_front();
        }

        (this->*Events[kind].play)();
        settle();
        if (m_trace) {
            std::fprintf(stderr, "%s\n", m_recent.back().c_str());
        }

        checkNoDialogOpen();
        checkOneWindowVisible();
        checkNumberColumn();
        checkCurrentRowInRange();
        checkFirstCharacterOrder();
        checkTrainingWindow();
        m_dialogs.clear();
        m_longestList = std::max(m_longestList, static_cast<std::size_t>(grid().model().rowCount()));
    }
}

// ---------------------------------------------------------------------------
// Events of the main window

void Soak::typeText()
{
    static constexpr std::array<const char*, 3> Lines = {"Text2", "Text1", "Text4"};
    static constexpr std::array<const char*, 4> Combos = {"Combo1", "Combo2", "Combo3", "Combo4"};
    const MainState before = mainState();
    const int which = uniform(0, 6);
    if (which < 3) {
        const QString text = which == 0 ? nameText(m_random) : numberText(m_random);
        m_driver.lineEdit(Lines[static_cast<std::size_t>(which)])->setText(text);
        note(std::string(Lines[static_cast<std::size_t>(which)]) + " = " + quoted(text));
    } else {
        const QString text = numberText(m_random);
        m_driver.comboBox(Combos[static_cast<std::size_t>(which - 3)])->setEditText(text);
        note(std::string(Combos[static_cast<std::size_t>(which - 3)]) + " = " + quoted(text));
    }
    checkUnchanged(before, "typing", true, false, true);
}

void Soak::typeDate()
{
    // Now and then the user gets it right: a real date of birth and date to read,
    // mostly of this and the last century, sometimes of any year at all.
    const auto year = [this] { return std::to_string(chance(80) ? uniform(1900, 2100) : uniform(1, 9999)); };
    const auto month = [this] { return std::to_string(uniform(1, 12)); };
    const auto day = [this] { return std::to_string(uniform(1, 31)); };
    const MainState before = mainState();
    // A braced list runs its parts in order, so the seed draws as it always did.
    m_driver.typeReading({year(), month(), day(), year(), month(), day()});
    const mainwindow::ReadingInputs in = m_form->readingInputs();
    note("born " + in.birthYear + "/" + in.birthMonth + "/" + in.birthDay + ", reading " + in.readingYear + "/" +
         in.readingMonth + "/" + in.readingDay);
    checkUnchanged(before, "typing", true, false, true);
}

void Soak::pickItem()
{
    static constexpr std::array<const char*, 4> Combos = {"Combo1", "Combo2", "Combo3", "Combo4"};
    const char* name = Combos[static_cast<std::size_t>(uniform(0, 3))];
    QComboBox* box = m_driver.comboBox(name);
    const int item = uniform(0, box->count() - 1);
    box->setCurrentIndex(item);
    note(std::string(name) + " item " + std::to_string(item + 1));
    expect(box->currentText() == QString::number(item + 1), "a picked item stands in the field");
}

void Soak::clickCalculate()
{
    const MainState before = mainState();
    const auto& in = before.inputs;
    note("born " + in.birthYear + "/" + in.birthMonth + "/" + in.birthDay + ", reading " + in.readingYear + "/" +
         in.readingMonth + "/" + in.readingDay);
    m_driver.click("Command1");
    checkUnchanged(before, "算出", false, true, true);
    if (before.inputs.birthYear.empty() || before.inputs.readingYear.empty()) {
        expect(m_form->display() == before.display, "算出 with an empty year changes nothing");
        return;
    }
    checkReadingShowsFullBoards();
    if (isPlainDate(before.inputs)) {
        count("算出: a plain date");
        // Every output is written for such a date, so the reading cannot depend
        // on what the window showed before it.
        const mainwindow::ReadingDisplay shown = asSeen(m_form->display());
        const mainwindow::ReadingDisplay fresh = asSeen(mainwindow::calculate(before.inputs, mainwindow::startDisplay()));
        expect(shown == fresh, "a reading of a plain date keeps nothing of the reading before it: " +
                                   firstDifference(shown, fresh) + " (shown / fresh)");
        bool natal = false;
        for (int star = 1; star <= 9; ++star) {
            natal = natal || (shown.natalCell.caption == reckoning::boardNumeral(star) &&
                              shown.natalCell.fill == reckoning::starColour(star) &&
                              shown.natalName.caption == reckoning::starName(star) &&
                              shown.natalName.colour == reckoning::starColour(star));
        }
        expect(natal, "the natal-star cell and name show the same star");
    }
}

void Soak::clickRegister()
{
    const MainState before = mainState();
    const personlist::PersonInputs& in = m_driver.personInputs();
    const Person typed{utf8(in.name->text()), utf8(in.year->text()), utf8(in.month->currentText()),
                       utf8(in.day->currentText())};
    note(describe(typed));
    m_driver.click("Command3");
    checkUnchanged(before, "リスト登録", true, true, false);
    const MainState after = mainState();
    if (typed.name.empty() || typed.year.empty()) {
        count("リスト登録: refused (empty name or year)");
        expect(after.persons == before.persons && after.currentRow == before.currentRow,
               "registering without a name or a year changes nothing");
        return;
    }
    count("リスト登録: registered");
    const auto rows = static_cast<int>(after.persons.size());
    const int row = after.currentRow;
    expect(rows == static_cast<int>(before.persons.size()) + 1, "registering adds one row");
    expect(row >= 1 && row <= rows, "the new person's row is current");
    const auto at = static_cast<std::size_t>(row - 1);
    expect(after.persons[at] == typed,
           "the current row holds the person as typed, not " + describe(after.persons[at]));
    std::vector<Person> without = after.persons;
    without.erase(without.begin() + row - 1);
    expect(without == before.persons, "registering moves no other person out of order");
    // Scanning up from the bottom, the new person goes below the first person
    // whose first character is not greater than its own.
    const int unit = orderingUnit(QString::fromStdString(typed.name));
    for (std::size_t below = at + 1; below < after.persons.size(); ++below) {
        expect(orderingUnit(QString::fromStdString(after.persons[below].name)) > unit,
               "every person below a registered one has a greater first character");
    }
    if (at > 0) {
        expect(orderingUnit(QString::fromStdString(after.persons[at - 1].name)) <= unit,
               "the person above a registered one has an equal or smaller first character");
    }
}

void Soak::clickLoad()
{
    const MainState before = mainState();
    note("row " + std::to_string(before.currentRow));
    m_driver.click("Command4");
    checkUnchanged(before, "読み出し", true, false, true);
    const MainState after = mainState();
    expect(after.currentRow == before.currentRow, "読み出し keeps the current row");
    if (before.currentRow == 0) {
        expect(after.inputs.birthYear == before.inputs.birthYear && after.name == before.name &&
                   after.inputs.birthMonth == before.inputs.birthMonth &&
                   after.inputs.birthDay == before.inputs.birthDay,
               "読み出し on the header row changes nothing");
        return;
    }
    const Person& p = before.persons[static_cast<std::size_t>(before.currentRow - 1)];
    const Person loaded{utf8(after.name), after.inputs.birthYear, after.inputs.birthMonth, after.inputs.birthDay};
    expect(loaded == p, "読み出し copies " + describe(p) + " exactly, not " + describe(loaded));
    expect(after.inputs.readingYear == before.inputs.readingYear &&
               after.inputs.readingMonth == before.inputs.readingMonth &&
               after.inputs.readingDay == before.inputs.readingDay,
           "読み出し leaves the reading inputs alone");
}

void Soak::clickDelete()
{
    const MainState before = mainState();
    const bool yes = chance(60);
    if (before.currentRow != 0) {
        m_dialogs.answerYesNo(yes);
    }
    note("row " + std::to_string(before.currentRow) + (before.currentRow != 0 ? (yes ? ", Yes" : ", No") : ""));
    m_driver.click("Command7");
    checkUnchanged(before, "削除", true, false, false);
    const MainState after = mainState();
    if (before.currentRow == 0) {
        checkDialogs({});
        expect(after.persons == before.persons && after.name == before.name, "削除 on the header row does nothing");
        return;
    }
    const Person& p = before.persons[static_cast<std::size_t>(before.currentRow - 1)];
    checkDialogs({{Kind::Question, QStringLiteral("データ削除")}});
    expect(m_dialogs.shown().front().text ==
               QString::fromStdString(p.name) + QStringLiteral(" さんのデータを\n削除しますか？"),
           "削除 names the person it asks about");
    if (!yes) {
        count("削除: answered No");
        expect(after.persons == before.persons && after.currentRow == before.currentRow && after.name == before.name,
               "削除 answered No changes nothing");
        return;
    }
    count("削除: deleted");
    std::vector<Person> remaining = before.persons;
    remaining.erase(remaining.begin() + before.currentRow - 1);
    expect(after.persons == remaining, "削除 removes exactly the current person");
    expect(after.name.isEmpty(), "削除 empties the name box");
    expect(after.inputs.birthYear == before.inputs.birthYear && after.inputs.birthMonth == before.inputs.birthMonth &&
               after.inputs.birthDay == before.inputs.birthDay,
           "削除 leaves the date of birth alone");
    expect(after.currentRow == static_cast<int>(remaining.size()), "after 削除 the last row is current");
    if (remaining.empty()) {
        m_expected.registeredOnly = true;
    }
}

void Soak::clickSave() { save(std::nullopt); }

void Soak::saveOnFullDisk()
{
    // Room for a few records at most; a list longer than that cannot be written.
    save(uniform(0, 600));
}

void Soak::save(std::optional<long> fileSizeLimit)
{
    const MainState before = mainState();
    const auto& choices = m_files.choices();
    const bool cancel = chance(8);
    const Slot& slot = choices[static_cast<std::size_t>(uniform(0, static_cast<int>(choices.size()) - 1))];
    const FileState state = m_files.state(slot.target);
    const bool asks = !cancel && (state.kind == FileState::Kind::List || state.kind == FileState::Kind::Other);
    const bool yes = chance(70);
    // The question before texts are altered: asked once the overwrite question,
    // if any, was answered Yes.
    const bool alters = !personlist::personsAlteredBySaving(before.persons, 1).empty();
    const bool asksToAlter = !cancel && (!asks || yes) && alters;
    const bool alterYes = chance(80);
    if (alters) {
        expect(std::any_of(before.persons.begin(), before.persons.end(),
                           [](const Person& p) { return asStored(p) != p; }),
               "a save asks about altered texts only when a text is not stored as it stands");
    }
    if (cancel) {
        m_dialogs.answerCancel();
    } else {
        m_dialogs.answerPath(slot.typed);
        if (asks) {
            m_dialogs.answerYesNo(yes);
        }
        if (asksToAlter) {
            m_dialogs.answerYesNo(alterYes);
        }
    }
    const std::size_t size = personlist::RecordSize * (1 + personlist::RecordsPerPerson * before.persons.size());
    note(cancel ? std::string("cancel")
                : quoted(slot.typed) + (asks ? (yes ? " overwrite Yes" : " overwrite No") : "") +
                      (asksToAlter ? (alterYes ? ", altered texts Yes" : ", altered texts No") : "") +
                      (fileSizeLimit ? ", room for " + std::to_string(*fileSizeLimit) + " bytes" : "") + ", " +
                      std::to_string(size) + " bytes to write");
    const std::optional<std::string> old = m_files.bytes(slot.target);

    if (fileSizeLimit) {
        const rlimit limit{static_cast<rlim_t>(*fileSizeLimit), RLIM_INFINITY};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    m_driver.click("Command5");
    if (fileSizeLimit) {
        const rlimit none{RLIM_INFINITY, RLIM_INFINITY};
        ::setrlimit(RLIMIT_FSIZE, &none);
    }

    checkUnchanged(before, "リスト保存", true, true, false);
    const MainState after = mainState();
    expect(after.persons == before.persons, "リスト保存 leaves the list as it was");
    const auto leftovers = m_files.leftovers();
    expect(leftovers.empty(), "リスト保存 leaves no temporary file (" +
                                  (leftovers.empty() ? std::string() : leftovers.front()) + ")");
    std::vector<std::pair<Kind, QString>> dialogs = {{Kind::SaveFile, QStringLiteral("リスト保存")}};
    if (cancel || (asks && !yes) || (asksToAlter && !alterYes)) {
        count(cancel                ? "リスト保存: cancelled"
              : (asks && !yes)      ? "リスト保存: overwrite answered No"
                                    : "リスト保存: altered texts answered No");
        if (asks) {
            dialogs.emplace_back(Kind::Question, QStringLiteral("ファイルの上書き"));
        }
        if (asksToAlter) {
            dialogs.emplace_back(Kind::Question, QStringLiteral("リスト保存"));
        }
        checkDialogs(dialogs);
        expect(after.currentRow == before.currentRow, "a save that did not happen keeps the current row");
        expect(m_files.bytes(slot.target) == old, "a save that did not happen leaves the file byte for byte");
        return;
    }
    if (asks) {
        dialogs.emplace_back(Kind::Question, QStringLiteral("ファイルの上書き"));
    }
    if (asksToAlter) {
        dialogs.emplace_back(Kind::Question, QStringLiteral("リスト保存"));
    }
    const bool fits = !fileSizeLimit || static_cast<long>(size) <= *fileSizeLimit;
    if (slot.writable && state.kind != FileState::Kind::Folder && fits) {
        count("リスト保存: saved");
        checkDialogs(dialogs);
        const std::optional<std::string> now = m_files.bytes(slot.target);
        expect(now && now->size() == size, "a saved list file holds exactly its records");
        expect(after.currentRow == static_cast<int>(after.persons.size()), "after リスト保存 the last row is current");
        FileState saved{FileState::Kind::List, {}};
        for (const Person& p : before.persons) {
            saved.persons.push_back(asStored(p));
        }
        m_files.state(slot.target) = std::move(saved);
        return;
    }
    count(fits ? "リスト保存: failed, nowhere to write" : "リスト保存: failed, disk full");
    dialogs.emplace_back(Kind::Message, QStringLiteral("リスト保存"));
    checkDialogs(dialogs);
    expect(m_dialogs.shown().back().text.startsWith(QStringLiteral("リストを保存できませんでした。\n")),
           "a failed save says so");
    expect(m_files.bytes(slot.target) == old, "a failed save leaves the old file byte for byte");
}

void Soak::clickOpen()
{
    const MainState before = mainState();
    const auto& choices = m_files.choices();
    const bool cancel = chance(8);
    const Slot& slot = choices[static_cast<std::size_t>(uniform(0, static_cast<int>(choices.size()) - 1))];
    const FileState state = m_files.state(slot.target);
    if (cancel) {
        m_dialogs.answerCancel();
    } else {
        m_dialogs.answerPath(slot.typed);
    }
    note(cancel ? std::string("cancel") : quoted(slot.typed));
    const std::optional<std::string> old = m_files.bytes(slot.target);
    m_driver.click("Command6");
    checkUnchanged(before, "リストを開く", true, true, false);
    checkDialogs({{Kind::OpenFile, QStringLiteral("リストを開く")}});
    expect(m_files.bytes(slot.target) == old, "opening a file never changes it");
    const MainState after = mainState();
    if (cancel || state.kind != FileState::Kind::List) {
        count(cancel ? "リストを開く: cancelled" : "リストを開く: not a list, nothing changed");
        expect(after.persons == before.persons && after.currentRow == before.currentRow,
               "opening what is no list leaves the list as it was");
        return;
    }
    count("リストを開く: opened a saved list");
    expect(after.persons.size() == state.persons.size(),
           "the opened list has as many persons as were saved (" + std::to_string(state.persons.size()) + ")");
    for (std::size_t i = 0; i < std::min(after.persons.size(), state.persons.size()); ++i) {
        expect(after.persons[i] == state.persons[i], "person " + std::to_string(i + 1) + " opens as " +
                                                          describe(after.persons[i]) + ", saved as " +
                                                          describe(state.persons[i]));
    }
    expect(after.currentRow == static_cast<int>(after.persons.size()), "after リストを開く the last row is current");
    m_expected.registeredOnly = after.persons.empty();
}

void Soak::clickCell()
{
    const MainState before = mainState();
    QWidget* viewport = grid().viewport();
    QPoint at(uniform(0, viewport->width() - 1), uniform(0, viewport->height() - 1));
    // Mostly on a person the user can see; otherwise anywhere, the grey included.
    const int firstShown = grid().rowAt(0);
    if (firstShown >= 0 && chance(75)) {
        const int lastShown = grid().rowAt(viewport->height() - 1);
        const int row = uniform(firstShown, lastShown < 0 ? grid().model().rowCount() - 1 : lastShown);
        at.setY(grid().rowViewportPosition(row) + grid().rowHeight(row) / 2);
    }
    const int row = grid().rowAt(at.y());
    const int column = grid().columnAt(at.x());
    const Qt::KeyboardModifiers modifiers = chance(85) ? Qt::NoModifier : chance(50) ? Qt::ControlModifier
                                                                                     : Qt::ShiftModifier;
    const bool twice = chance(10);
    note("at " + std::to_string(at.x()) + "," + std::to_string(at.y()) + " (row " + std::to_string(row + 1) +
         ", column " + std::to_string(column + 1) + ")" + (modifiers != Qt::NoModifier ? " with a modifier" : "") +
         (twice ? " double" : ""));
    QTest::mouseClick(viewport, Qt::LeftButton, modifiers, at);
    if (twice) {
        // The second press of a double click arrives as the double-click event.
        QTest::mouseDClick(viewport, Qt::LeftButton, modifiers, at);
        QTest::mouseRelease(viewport, Qt::LeftButton, modifiers, at);
    }
    checkUnchanged(before, "a click in the grid", true, true, true);
    if (row >= 0 && column >= 0) {
        expect(grid().currentRow() == row + 1, "a click on a person makes its row current");
    } else {
        expect(grid().currentRow() == before.currentRow, "a click beyond the last row keeps the current row");
    }
}

void Soak::clickHeaderRow()
{
    const MainState before = mainState();
    QHeaderView* header = grid().horizontalHeader();
    const QPoint at(uniform(0, header->viewport()->width() - 1), header->viewport()->height() / 2);
    note("at x " + std::to_string(at.x()));
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    checkUnchanged(before, "a click on the header row", true, true, true);
    expect(grid().currentRow() == before.currentRow, "a click on the header row keeps the current row");
}

void Soak::clickNumberColumn()
{
    const MainState before = mainState();
    QHeaderView* header = grid().verticalHeader();
    const QPoint at(header->viewport()->width() / 2, uniform(0, header->viewport()->height() - 1));
    note("at y " + std::to_string(at.y()));
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    checkUnchanged(before, "a click on the number column", true, true, true);
    expect(grid().currentRow() == before.currentRow, "a click on the number column keeps the current row");
}

void Soak::clickCorner()
{
    const MainState before = mainState();
    auto* corner = grid().findChild<QAbstractButton*>(QString(), Qt::FindDirectChildrenOnly);
    expect(corner != nullptr, "the grid has its corner cell");
    QTest::mouseClick(corner, Qt::LeftButton);
    checkUnchanged(before, "a click on the corner", true, true, true);
    expect(grid().currentRow() == before.currentRow, "a click on the corner keeps the current row");
}

void Soak::setCurrentRow()
{
    const int row = uniform(0, grid().model().rowCount());
    note("row " + std::to_string(row));
    grid().setCurrentRow(row);
    expect(grid().currentRow() == row, "setCurrentRow makes the row current");
}

void Soak::pressKeyInGrid()
{
    static constexpr std::array Keys = {Qt::Key_Up,     Qt::Key_Down,  Qt::Key_PageUp, Qt::Key_PageDown,
                                        Qt::Key_Home,   Qt::Key_End,   Qt::Key_Left,   Qt::Key_Right,
                                        Qt::Key_Delete, Qt::Key_Return, Qt::Key_Space, Qt::Key_A};
    const MainState before = mainState();
    const Qt::Key key = Keys[static_cast<std::size_t>(uniform(0, static_cast<int>(Keys.size()) - 1))];
    note(utf8(QKeySequence(key).toString()));
    QTest::keyClick(&grid(), key);
    checkUnchanged(before, "a key in the grid", true, true, true);
}

void Soak::pressTab()
{
    // Moving the focus moves nothing else: the grid getting the focus leaves the
    // header row current until a click or a command picks a person.
    const MainState before = mainState();
    QWidget* from = QApplication::focusWidget();
    const bool back = chance(30);
    QTest::keyClick(from != nullptr ? from : m_form.get(), Qt::Key_Tab, back ? Qt::ShiftModifier : Qt::NoModifier);
    QWidget* to = QApplication::focusWidget();
    note(std::string(back ? "back " : "") + "from " + (from ? utf8(from->objectName()) : "nothing") + " to " +
         (to ? utf8(to->objectName()) : "nothing"));
    checkUnchanged(before, "Tab", true, true, true);
    expect(grid().currentRow() == before.currentRow,
           "Tab keeps the current row " + std::to_string(before.currentRow) + ", not " +
               std::to_string(grid().currentRow()));
}

void Soak::clickImage()
{
    m_expected.beforeTraining = mainState();
    m_driver.click("Command2");
    m_training = testkit::shownTrainingWindow();
    expect(m_training != nullptr, "イメージ shows the training window");
    expect(!m_form->isVisible(), "イメージ hides the main window");
    m_expected.trainingCentre = 5;
    m_expected.trainingDirection = Onward;
    // Ticks are driven by hand; should the real timer ever fire, the board has
    // moved and the soak follows it rather than call it a fault.
    QObject::connect(m_training->findChild<QTimer*>("Timer1"), &QTimer::timeout, m_training.data(), [this] {
        ++m_timerTicks;
        const int value = m_training->findChild<QSlider*>("Slider1")->value();
        m_expected.trainingCentre = wrapStar(m_expected.trainingCentre + (value >= 0 ? -1 : 1));
        m_expected.trainingDirection = value >= 0 ? Onward : Back;
    });
    auto* slider = static_cast<QSlider*>(trainingControl("Slider1"));
    auto* timer = m_training->findChild<QTimer*>("Timer1");
    expect(slider->value() == 4 && timer->interval() == 2000 && timer->isActive(),
           "every opening starts at slider 4, ticking every 2 seconds");
}

void Soak::scribbleFile()
{
    m_files.scribble(m_random);
}

void Soak::lookAtWindow()
{
    // Paints everything the window shows, the grid and the boards included.
    QWidget* shown = m_training ? static_cast<QWidget*>(m_training.data()) : m_form.get();
    expect(!shown->grab().isNull(), "the window can be drawn");
}

// ---------------------------------------------------------------------------
// Events of the training window

void Soak::tick()
{
    const int value = static_cast<QSlider*>(trainingControl("Slider1"))->value();
    note("slider " + std::to_string(value));
    m_training->tick();
    m_expected.trainingCentre = wrapStar(m_expected.trainingCentre + (value >= 0 ? -1 : 1));
    m_expected.trainingDirection = value >= 0 ? Onward : Back;
}

void Soak::moveSlider()
{
    static constexpr std::array Values = {SliderMinimum, SliderMinimum + 1, -60, -5, -4, -1, 0, 1, 2, 3, 4, 5, 60,
                                          SliderMaximum - 1, SliderMaximum, -121, 121, -100000, 100000};
    auto* slider = static_cast<QSlider*>(trainingControl("Slider1"));
    const int value = chance(60) ? Values[static_cast<std::size_t>(uniform(0, static_cast<int>(Values.size()) - 1))]
                                 : uniform(SliderMinimum, SliderMaximum);
    note("to " + std::to_string(value));
    slider->setValue(value);
    expect(slider->value() == std::clamp(value, SliderMinimum, SliderMaximum), "the slider stays in its range");
}

void Soak::pressKeyOnSlider()
{
    static constexpr std::array Keys = {Qt::Key_Up,   Qt::Key_Down, Qt::Key_PageUp, Qt::Key_PageDown,
                                        Qt::Key_Home, Qt::Key_End,  Qt::Key_Left,   Qt::Key_Right};
    auto* slider = static_cast<QSlider*>(trainingControl("Slider1"));
    const int before = slider->value();
    const Qt::Key key = Keys[static_cast<std::size_t>(uniform(0, static_cast<int>(Keys.size()) - 1))];
    note(utf8(QKeySequence(key).toString()) + " from " + std::to_string(before));
    QTest::keyClick(slider, key);
    // The thumb moves the way the arrow points: down the track is up the range.
    switch (key) {
    case Qt::Key_Down:
        expect(slider->value() == std::min(before + 1, SliderMaximum), "Down moves the slider one step down");
        break;
    case Qt::Key_Up:
        expect(slider->value() == std::max(before - 1, SliderMinimum), "Up moves the slider one step up");
        break;
    case Qt::Key_PageDown:
        expect(slider->value() == std::min(before + 5, SliderMaximum), "Page Down moves the slider five down");
        break;
    case Qt::Key_PageUp:
        expect(slider->value() == std::max(before - 5, SliderMinimum), "Page Up moves the slider five up");
        break;
    default:
        break;
    }
}

void Soak::clickSlider()
{
    auto* slider = static_cast<QSlider*>(trainingControl("Slider1"));
    const QPoint at(slider->width() / 2, uniform(0, slider->height() - 1));
    note("at y " + std::to_string(at.y()) + " from " + std::to_string(slider->value()));
    QTest::mouseClick(slider, Qt::LeftButton, {}, at);
}

void Soak::wheelOnSlider()
{
    auto* slider = static_cast<QSlider*>(trainingControl("Slider1"));
    const int notches = uniform(-3, 3);
    note(std::to_string(notches) + " notches from " + std::to_string(slider->value()));
    const QPointF at(slider->width() / 2.0, slider->height() / 2.0);
    QWheelEvent wheel(at, slider->mapToGlobal(at), QPoint(), QPoint(0, notches * QWheelEvent::DefaultDeltasPerStep),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(slider, &wheel);
}

void Soak::clickReturn() { returnToMain(false); }

void Soak::closeByFrame() { returnToMain(true); }

void Soak::returnToMain(bool byFrame)
{
    if (byFrame) {
        m_training->close();
    } else {
        testkit::click(trainingControl("Command1"));
    }
    settle();
    expect(m_training == nullptr, "the training window is gone after it closed");
    expect(m_form->isVisible(), "the main window is back");
    const MainState& before = *m_expected.beforeTraining;
    checkUnchanged(before, "the trip to the training window", true, true, true);
    expect(grid().currentRow() == before.currentRow, "the current row survives the trip");
    m_expected.beforeTraining.reset();
}

// ---------------------------------------------------------------------------
// Invariants

void Soak::checkNoDialogOpen()
{
    expect(QApplication::activeModalWidget() == nullptr, "no modal dialog is left open");
    expect(m_dialogs.unanswered() == 0, "every question had its scripted answer");
    expect(m_dialogs.allAnswersUsed(), "every scripted answer was asked for");
}

void Soak::checkOneWindowVisible()
{
    int visible = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        visible += w->isVisible() ? 1 : 0;
    }
    const bool training = m_training && m_training->isVisible();
    expect(visible == 1 && m_form->isVisible() != training, "exactly one of the two windows is shown");
}

void Soak::checkNumberColumn()
{
    const QHeaderView* numbers = grid().verticalHeader();
    const int rows = grid().model().rowCount();
    expect(numbers->count() == rows, "the number column has a number for every person");
    for (int row = 0; row < rows; ++row) {
        const QString shown = numbers->model()->headerData(row, Qt::Vertical).toString();
        expect(shown == QString::number(row + 1),
               "the number column reads 1..n, row " + std::to_string(row + 1) + " reads " + quoted(shown));
    }
}

void Soak::checkCurrentRowInRange()
{
    const int row = grid().currentRow();
    expect(row >= 0 && row <= grid().model().rowCount(), "the current row is a row of the grid");
}

void Soak::checkFirstCharacterOrder()
{
    if (!m_expected.registeredOnly) {
        return;
    }
    const QStringList names = testkit::shownNames(grid());
    int previous = -1;
    for (int row = 0; row < names.size(); ++row) {
        const int unit = orderingUnit(names[row]);
        expect(unit >= previous, "a registered list is in first-character order at row " + std::to_string(row + 1));
        previous = unit;
    }
}

void Soak::checkTrainingWindow()
{
    if (!m_training) {
        return;
    }
    const int centre = m_expected.trainingCentre;
    for (int palace = 1; palace <= 9; ++palace) {
        const auto* cell = static_cast<QLabel*>(trainingControl(qPrintable(QStringLiteral("Label1(%1)").arg(palace))));
        const int star = starOf(centre, palace);
        expect(cell->text() == QString::fromUtf8(reckoning::boardNumeral(star)) &&
                   cell->palette().color(QPalette::Window).rgb() == (0xFF000000 | reckoning::starColour(star)),
               "the training board is the board of centre " + std::to_string(centre) + " at palace " +
                   std::to_string(palace));
        expect(cell->palette().color(QPalette::WindowText).rgb() == 0xFFC0C0FF, "board text stays #C0C0FF");
    }
    const auto* direction = static_cast<QLabel*>(trainingControl("Label2"));
    expect(direction->text() == m_expected.trainingDirection, "the direction label names the last tick");
    const int value = static_cast<QSlider*>(trainingControl("Slider1"))->value();
    const auto* period = static_cast<QLabel*>(trainingControl("Label3"));
    expect(period->text() == periodLabel(value), "the period label reads " + utf8(periodLabel(value)) + " at " +
                                                     std::to_string(value) + ", not " + utf8(period->text()));
    const auto* timer = m_training->findChild<QTimer*>("Timer1");
    expect(timer->isActive() == (value != 0) && (value == 0 || timer->interval() == std::abs(value) * 500),
           "the timer ticks every |V| x 500 ms, and not at all at 0");
}

// ---------------------------------------------------------------------------
// Checks of one event

void Soak::checkReadingShowsFullBoards()
{
    const mainwindow::ReadingDisplay& shown = m_form->display();
    for (const auto* board : {&shown.monthCells, &shown.yearCells}) {
        const int centre = centreOf((*board)[5].caption);
        expect(centre != 0, "a board has a star in its centre");
        for (int palace = 1; palace <= 9; ++palace) {
            const int star = starOf(centre, palace);
            const auto& cell = (*board)[static_cast<std::size_t>(palace)];
            expect(cell.caption == reckoning::boardNumeral(star) && cell.fill == reckoning::starColour(star),
                   "every board shown is a full board, palace " + std::to_string(palace));
        }
    }
    static const std::array<std::string, 7> Marks = {"", "吉", "五黄殺", "暗剣殺", "本命殺", "的殺", "最大凶"};
    for (const auto* marks : {&shown.monthMarks, &shown.yearMarks}) {
        for (int palace = 1; palace <= 9; ++palace) {
            const std::string& mark = (*marks)[static_cast<std::size_t>(palace)];
            expect(std::find(Marks.begin(), Marks.end(), mark) != Marks.end(), "a mark is one of the six: " + mark);
        }
    }
    for (std::size_t slot = 1; slot <= 5; ++slot) {
        const auto& lucky = shown.luckySlots[slot];
        bool known = lucky.caption.empty();
        for (int star = 1; star <= 9; ++star) {
            known = known || (lucky.caption == reckoning::starName(star) && lucky.colour == reckoning::starColour(star));
        }
        expect(known, "a lucky slot names a star in its colour, or nothing");
    }
    // And the labels show exactly that reading.
    for (int palace = 1; palace <= 9; ++palace) {
        const auto* month = static_cast<QLabel*>(control("Label1", palace));
        const auto* year = static_cast<QLabel*>(control("Label2", palace));
        const auto at = static_cast<std::size_t>(palace);
        expect(utf8(month->text()) == shown.monthCells[at].caption && utf8(year->text()) == shown.yearCells[at].caption,
               "the board labels show the reading");
    }
}

void Soak::checkUnchanged(const MainState& before, const char* what, bool display, bool inputs, bool list)
{
    const MainState now = mainState();
    const std::string by = std::string(" by ") + what;
    if (display) {
        expect(now.display == before.display,
               "the reading is unchanged" + by + ": " + firstDifference(before.display, now.display));
    }
    if (inputs) {
        const auto& a = before.inputs;
        const auto& b = now.inputs;
        expect(a.birthYear == b.birthYear && a.birthMonth == b.birthMonth && a.birthDay == b.birthDay &&
                   a.readingYear == b.readingYear && a.readingMonth == b.readingMonth &&
                   a.readingDay == b.readingDay && before.name == now.name,
               "the inputs are unchanged" + by);
    }
    if (list) {
        expect(now.persons == before.persons, "the list is unchanged" + by);
    }
}

void Soak::checkDialogs(const std::vector<std::pair<Kind, QString>>& expected)
{
    const auto& shown = m_dialogs.shown();
    bool same = shown.size() == expected.size();
    for (std::size_t i = 0; same && i < shown.size(); ++i) {
        same = shown[i].kind == expected[i].first && shown[i].title == expected[i].second;
    }
    std::string seen;
    for (const auto& s : shown) {
        seen += ' ' + quoted(s.title);
    }
    expect(same, "the command showed the dialogs it should, it showed:" + (seen.empty() ? " none" : seen));
}

// ---------------------------------------------------------------------------
// Helpers

MainState Soak::mainState() const
{
    return {m_form->display(), m_form->readingInputs(), m_driver.personInputs().name->text(),
            testkit::shownPersons(grid()), grid().currentRow()};
}

personlist::PersonGrid& Soak::grid() const { return m_form->personGrid(); }

// By object name, as a screen reader or a test tool sees the window.
QWidget* Soak::control(const char* name, int index) const
{
    const QString objectName = index < 0 ? QString::fromLatin1(name) : QStringLiteral("%1(%2)").arg(name).arg(index);
    return m_driver.control(objectName);
}

QWidget* Soak::trainingControl(const char* name) const { return m_training->findChild<QWidget*>(name); }

void Soak::settle()
{
    // What the event loop and the window manager do between two user events,
    // short of running the timers: posted events are delivered (repaints, layout
    // requests, closed windows going), and the window shown is the active one, so
    // that the keyboard focus is where the user would see it. Left undelivered,
    // posted events pile up, and every later post and flush walks the whole pile.
    QCoreApplication::sendPostedEvents();
    testkit::letClosedWindowsGo();
    QWidget* shown = m_training ? static_cast<QWidget*>(m_training.data()) : m_form.get();
    if (shown->isVisible() && QApplication::activeWindow() != shown) {
        QApplication::setActiveWindow(shown);
    }
}

int Soak::uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }

bool Soak::chance(int percent) { return uniform(0, 99) < percent; }

void Soak::expect(bool ok, const std::string& what)
{
    if (!ok) {
        throw Failure(what);
    }
}

void Soak::note(const std::string& what)
{
    m_recent.back() = m_current + ": " + what;
}

void Soak::count(const std::string& outcome) { ++m_outcomes[outcome]; }

std::string Soak::recentEvents() const
{
    std::string lines;
    for (const std::string& line : m_recent) {
        lines += "  " + line + '\n';
    }
    return lines;
}

std::string Soak::tally() const
{
    std::ostringstream out;
    for (std::size_t i = 0; i < Events.size(); ++i) {
        out << "  " << Events[i].name << ": " << m_eventCounts[i] << '\n';
    }
    for (const auto& [outcome, n] : m_outcomes) {
        out << "  " << outcome << ": " << n << '\n';
    }
    out << "  longest list: " << m_longestList << " persons; ticks by the real timer: " << m_timerTicks << '\n';
    return out.str();
}

}  // namespace soak
