#include "testkit/main_window.h"

#include "mainwindow/form2.h"
#include "personlist/person_grid.h"
#include "training/form1.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>

namespace testkit {

MainWindowDriver::MainWindowDriver(mainwindow::Form2& form)
    : m_form(&form),
      m_person{lineEdit(QStringLiteral("Text2")), lineEdit(QStringLiteral("Text1")), comboBox(QStringLiteral("Combo1")),
               comboBox(QStringLiteral("Combo2"))},
      m_readingYear(lineEdit(QStringLiteral("Text4"))),
      m_readingMonth(comboBox(QStringLiteral("Combo3"))),
      m_readingDay(comboBox(QStringLiteral("Combo4")))
{
}

personlist::PersonGrid& MainWindowDriver::grid() const { return m_form->personGrid(); }

QWidget* MainWindowDriver::control(const QString& name) const
{
    auto* found = m_form->findChild<QWidget*>(name, Qt::FindDirectChildrenOnly);
    if (found == nullptr) {
        qFatal("the main window has no control %s", qPrintable(name));
    }
    return found;
}

QLineEdit* MainWindowDriver::lineEdit(const QString& name) const
{
    auto* edit = qobject_cast<QLineEdit*>(control(name));
    if (edit == nullptr) {
        qFatal("%s is no text box", qPrintable(name));
    }
    return edit;
}

QComboBox* MainWindowDriver::comboBox(const QString& name) const
{
    auto* combo = qobject_cast<QComboBox*>(control(name));
    if (combo == nullptr) {
        qFatal("%s is no drop-down list", qPrintable(name));
    }
    return combo;
}

void MainWindowDriver::click(const QString& name) const { testkit::click(control(name)); }

void MainWindowDriver::typePerson(const QString& name, const QString& year, const QString& month,
                                  const QString& day) const
{
    testkit::typePerson(m_person, name, year, month, day);
}

void MainWindowDriver::typeReading(const mainwindow::ReadingInputs& in) const
{
    m_person.year->setText(QString::fromStdString(in.birthYear));
    m_person.month->setEditText(QString::fromStdString(in.birthMonth));
    m_person.day->setEditText(QString::fromStdString(in.birthDay));
    m_readingYear->setText(QString::fromStdString(in.readingYear));
    m_readingMonth->setEditText(QString::fromStdString(in.readingMonth));
    m_readingDay->setEditText(QString::fromStdString(in.readingDay));
}

QStringList MainWindowDriver::shownNames() const { return testkit::shownNames(grid()); }

training::Form1* MainWindowDriver::openTraining() const
{
    click(QStringLiteral("Command2"));
    return shownTrainingWindow();
}

QList<training::Form1*> trainingWindows()
{
    QList<training::Form1*> found;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* f = qobject_cast<training::Form1*>(w)) {
            found.append(f);
        }
    }
    return found;
}

training::Form1* shownTrainingWindow()
{
    training::Form1* shown = nullptr;
    for (training::Form1* f : trainingWindows()) {
        if (f->isVisible()) {
            shown = f;
        }
    }
    return shown;
}

}  // namespace testkit
