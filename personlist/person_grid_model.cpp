#include "personlist/person_grid_model.h"

#include "uikit/look.h"

#include <array>

namespace personlist {

namespace {

const std::array<QString, PersonGridModel::ColumnCount> HeaderTexts = {
    QStringLiteral("名前"), QStringLiteral("年"), QStringLiteral("月"), QStringLiteral("日"),
};

// The grid's general alignment: numbers to the right, any other text to the
// left, everything centred in the row's height.
bool isNumber(QStringView text)
{
    text = text.trimmed();
    if (text.startsWith(u'+') || text.startsWith(u'-')) {
        text = text.mid(1);
    }
    bool digit = false;
    bool point = false;
    for (const QChar c : text) {
        if (c >= u'0' && c <= u'9') {
            digit = true;
        } else if (c == u'.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digit;
}

QVariant generalAlignment(QStringView text)
{
    const Qt::Alignment horizontal = isNumber(text) ? Qt::AlignRight : Qt::AlignLeft;
    return QVariant::fromValue(horizontal | Qt::AlignVCenter);
}

}  // namespace

PersonGridModel::PersonGridModel(QObject* parent) : QAbstractTableModel(parent) {}

int PersonGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_list.size());
}

int PersonGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant PersonGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || (role != Qt::DisplayRole && role != Qt::TextAlignmentRole)) {
        return {};
    }
    const Person& p = m_list.at(static_cast<std::size_t>(index.row()));
    const std::string* fields[ColumnCount] = {&p.name, &p.year, &p.month, &p.day};
    if (index.column() < 0 || index.column() >= ColumnCount) {
        return {};
    }
    const QString text = uikit::qtText(*fields[index.column()]);
    return role == Qt::DisplayRole ? QVariant(text) : generalAlignment(text);
}

QVariant PersonGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    const int sections = orientation == Qt::Horizontal ? columnCount() : rowCount();
    if (section < 0 || section >= sections || (role != Qt::DisplayRole && role != Qt::TextAlignmentRole)) {
        return {};
    }
    // Person p is numbered p wherever it came from: the numbers are the rows'.
    const QString text = orientation == Qt::Horizontal ? HeaderTexts[static_cast<std::size_t>(section)]
                                                       : QString::number(section + 1);
    if (role == Qt::DisplayRole) {
        return text;
    }
    return generalAlignment(text);
}

Qt::ItemFlags PersonGridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

int PersonGridModel::registerPerson(Person person)
{
    const int row = static_cast<int>(m_list.placeFor(person.name));
    beginInsertRows({}, row, row);
    m_list.registerPerson(std::move(person));
    endInsertRows();
    return row;
}

void PersonGridModel::removeAt(int row)
{
    beginRemoveRows({}, row, row);
    m_list.removeAt(static_cast<std::size_t>(row));
    endRemoveRows();
}

void PersonGridModel::replaceAll(std::vector<Person> persons)
{
    // Built before the reset begins, so that a list too large for memory
    // throws while the views still show the old one, not halfway through.
    PersonList replacement(std::move(persons));
    beginResetModel();
    m_list = std::move(replacement);
    endResetModel();
}

}  // namespace personlist
