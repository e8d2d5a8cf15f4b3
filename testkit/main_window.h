#pragma once

// The main window driven as a user drives it, for the widget tests, the soak and
// the benchmarks: its controls by the names they carry ("Text1", "Command5"),
// typing into its inputs, its buttons clicked, its list read back, and the trip
// to the training window. The inputs are found once, when the driver is made, so
// that a benchmark's loop measures the window and not the look-up.

#include "mainwindow/calculate.h"
#include "personlist/list_commands.h"
#include "testkit/driver.h"

#include <QList>

class QComboBox;
class QLineEdit;

namespace mainwindow {
class Form2;
}
namespace training {
class Form1;
}

namespace testkit {

// Born 5 May 1980, reading 10 February 2024: the reading worked through by hand.
inline const mainwindow::ReadingInputs WorkedReading = {"1980", "5", "5", "2024", "2", "10"};

class MainWindowDriver {
public:
    explicit MainWindowDriver(mainwindow::Form2& form);

    personlist::PersonGrid& grid() const;
    const personlist::PersonInputs& personInputs() const { return m_person; }

    // One of the window's own controls by its name; a name the window lacks
    // stops the test here rather than at a null pointer further on.
    QWidget* control(const QString& name) const;
    QLineEdit* lineEdit(const QString& name) const;
    QComboBox* comboBox(const QString& name) const;

    void click(const QString& name) const;
    void typePerson(const QString& name, const QString& year, const QString& month, const QString& day) const;
    // The six reading inputs, top to bottom: Text1, Combo1, Combo2, Text4, Combo3, Combo4.
    void typeReading(const mainwindow::ReadingInputs& in) const;
    QStringList shownNames() const;

    // Clicks イメージ: the training window that shows then, or null.
    training::Form1* openTraining() const;

private:
    mainwindow::Form2* m_form;
    personlist::PersonInputs m_person;
    QLineEdit* m_readingYear;
    QComboBox* m_readingMonth;
    QComboBox* m_readingDay;
};

// Every training window that exists, shown or not, and the one shown (null when
// none is).
QList<training::Form1*> trainingWindows();
training::Form1* shownTrainingWindow();

}  // namespace testkit
