#include "personlist/person_list.h"

#include "textcodec/utf8.h"

#include <cassert>
#include <utility>

namespace personlist {

namespace utf8 = textcodec::utf8;

std::int32_t orderingUnit(std::string_view name)
{
    if (name.empty()) {
        return -1;
    }
    const char32_t first = utf8::characterAt(name, 0).value;
    if (first > 0xFFFF) {
        return static_cast<std::int32_t>(0xD800 + ((first - 0x10000) >> 10));
    }
    return static_cast<std::int32_t>(first);
}

std::size_t PersonList::placeFor(std::string_view name) const
{
    const std::int32_t unit = orderingUnit(name);
    // The grid's scan: from the last person upward, pass every person whose first
    // character is greater and stop at the first one that is not.
    std::size_t at = m_units.size();
    while (at > 0 && m_units[at - 1] > unit) {
        --at;
    }
    return at;
}

std::size_t PersonList::registerPerson(Person person)
{
    const std::size_t at = placeFor(person.name);
    const auto offset = static_cast<std::ptrdiff_t>(at);
    m_units.insert(m_units.begin() + offset, orderingUnit(person.name));
    m_persons.insert(m_persons.begin() + offset, std::move(person));
    return at;
}

void PersonList::removeAt(std::size_t index)
{
    assert(index < m_persons.size());
    const auto offset = static_cast<std::ptrdiff_t>(index);
    m_persons.erase(m_persons.begin() + offset);
    m_units.erase(m_units.begin() + offset);
}

void PersonList::replaceAll(std::vector<Person> persons)
{
    // The units first: if they do not fit in memory, the list is still the
    // old one, not new persons with no units beside them.
    std::vector<std::int32_t> units;
    units.reserve(persons.size());
    for (const Person& p : persons) {
        units.push_back(orderingUnit(p.name));
    }
    m_persons = std::move(persons);
    m_units = std::move(units);
}

}  // namespace personlist
