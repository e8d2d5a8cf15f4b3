#include "testkit/driver.h"

#include "personlist/person_grid.h"
#include "uikit/look.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

namespace testkit {

void useProgramFont() { QApplication::setFont(uikit::defaultUiFont()); }

void click(QWidget* control) { QTest::mouseClick(control, Qt::LeftButton); }

void letClosedWindowsGo() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

void typePerson(const personlist::PersonInputs& inputs, const QString& name, const QString& year,
                const QString& month, const QString& day)
{
    inputs.name->setText(name);
    inputs.year->setText(year);
    inputs.month->setEditText(month);
    inputs.day->setEditText(day);
}

std::vector<personlist::Person> shownPersons(const personlist::PersonGrid& grid)
{
    using Column = personlist::PersonGridModel::Column;
    const personlist::PersonGridModel& model = grid.model();
    const auto cell = [&model](int row, Column column) {
        return model.index(row, column).data().toString().toStdString();
    };
    std::vector<personlist::Person> persons;
    persons.reserve(static_cast<std::size_t>(model.rowCount()));
    for (int row = 0; row < model.rowCount(); ++row) {
        persons.push_back({cell(row, Column::Name), cell(row, Column::Year), cell(row, Column::Month),
                           cell(row, Column::Day)});
    }
    return persons;
}

QStringList shownNames(const personlist::PersonGrid& grid)
{
    const personlist::PersonGridModel& model = grid.model();
    QStringList names;
    names.reserve(model.rowCount());
    for (int row = 0; row < model.rowCount(); ++row) {
        names << model.index(row, personlist::PersonGridModel::Name).data().toString();
    }
    return names;
}

}  // namespace testkit
