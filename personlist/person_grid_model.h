#pragma once

// The person list as a table for the list grid: one row per person, with the
// columns name, birth year, month and day (the grid's columns 1 to 4). The
// grid's two fixed parts are header data: the header row is the horizontal
// header, and the number column is the vertical header, because its numbers
// stay where they are while persons move up and down under them, which is what
// a header does and what a data column must not do.
//
// Rows change only through registerPerson, removeAt and replaceAll, which keep
// the PersonList and the views in step.

#include "personlist/person_list.h"

#include <QAbstractTableModel>

namespace personlist {

class PersonGridModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { Name, Year, Month, Day, ColumnCount };

    explicit PersonGridModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The heading over the number column, which has no section of its own.
    static QString numberHeading() { return QStringLiteral("No."); }

    const PersonList& list() const { return m_list; }

    // Inserts in first-character order and returns the model row taken.
    int registerPerson(Person person);
    void removeAt(int row);
    // Throws std::bad_alloc, with the model and its views unchanged, when the
    // new list does not fit in memory.
    void replaceAll(std::vector<Person> persons);

private:
    PersonList m_list;
};

}  // namespace personlist
