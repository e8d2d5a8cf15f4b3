#pragma once

// The persons of the list grid, in grid order.
//
// Registering keeps the persons in first-character order: by the UTF-16 code unit
// of the first character of the name, not by reading or by any locale. Only the
// first character counts, and equal first characters keep the order in which the
// persons were registered, so 山田 and 山本 stand in the order they came in.
// A list opened from a file keeps the file's order and is never re-sorted; a
// person registered into such a list goes where the grid's upward scan puts it
// (see registerPerson).

#include "personlist/person.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace personlist {

// The code unit a name is ordered by: the first UTF-16 code unit of its first
// character, or -1 for an empty name, which comes before every character. A name
// beginning with a character beyond U+FFFF orders by its high surrogate
// (D800-DBFF), that is before U+E000-U+FFFF such as the full-width forms. A first
// byte that is not valid UTF-8 orders as U+FFFD, the character it is shown as.
std::int32_t orderingUnit(std::string_view name);

class PersonList {
public:
    PersonList() = default;
    explicit PersonList(std::vector<Person> persons) { replaceAll(std::move(persons)); }

    // Inserts the person after the last person, counted from the bottom, whose
    // name's first character is equal to or smaller than the new one's, or at the
    // top when there is none, and returns the index it took. In a list in
    // first-character order this is the place after the last person of equal or
    // smaller first character; in an unordered list it is where the grid's scan
    // from the bottom stops, and nothing else in the list moves.
    std::size_t registerPerson(Person person);

    // The index registerPerson would give a person of this name, without adding
    // it; views use it to announce the new row before it exists.
    std::size_t placeFor(std::string_view name) const;

    // Removes the person at index (which must be below size()); the persons
    // below it move up.
    void removeAt(std::size_t index);

    // Replaces the whole list, keeping the given order. Throws std::bad_alloc
    // when the new list does not fit in memory, and then leaves the list as it was.
    void replaceAll(std::vector<Person> persons);

    const Person& at(std::size_t index) const { return m_persons.at(index); }
    std::size_t size() const { return m_persons.size(); }
    bool empty() const { return m_persons.empty(); }
    const std::vector<Person>& persons() const { return m_persons; }

private:
    std::vector<Person> m_persons;
    // orderingUnit() of every name, kept beside the persons so that the scan for
    // the insertion place reads one small array instead of 100,000 strings.
    std::vector<std::int32_t> m_units;
};

}  // namespace personlist
