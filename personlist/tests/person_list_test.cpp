#include "personlist/person_list.h"

#include <gtest/gtest.h>

#include <random>

namespace personlist {
namespace {

std::vector<std::string> namesOf(const PersonList& list)
{
    std::vector<std::string> names;
    for (const Person& p : list.persons()) {
        names.push_back(p.name);
    }
    return names;
}

PersonList registered(std::initializer_list<const char*> names)
{
    PersonList list;
    for (const char* name : names) {
        list.registerPerson({name, "1960", "1", "1"});
    }
    return list;
}

TEST(RegisterPerson, KeepsFirstCharacterOrderAndRegistrationOrderWithinIt)
{
    const struct {
        const char* label;
        std::initializer_list<const char*> registeredInOrder;
        std::vector<std::string> listed;
    } cases[] = {
        {"sa before yama", {"山田", "佐藤"}, {"佐藤", "山田"}},
        {"equal first characters keep registration order", {"山田", "山本"}, {"山田", "山本"}},
        {"only the first character counts", {"山本", "山田"}, {"山本", "山田"}},
        {"ASCII and hiragana before kanji", {"山田", "あきら", "Bob"}, {"Bob", "あきら", "山田"}},
        {"uppercase before lowercase", {"alice", "Alice"}, {"Alice", "alice"}},
        {"same person twice", {"山田", "山田"}, {"山田", "山田"}},
        {"name beyond U+FFFF orders by its high surrogate", {"Ａ", "𠮷野", "山"}, {"山", "𠮷野", "Ａ"}},
        {"empty name first, then in registration order", {"B", "", "A", ""}, {"", "", "A", "B"}},
        {"digit before letter", {"a", "1"}, {"1", "a"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(namesOf(registered(c.registeredInOrder)), c.listed);
    }
}

TEST(RegisterPerson, ReturnsTheIndexThePersonTook)
{
    PersonList list = registered({"佐藤", "山田"});
    EXPECT_EQ(list.registerPerson({"鈴木", "1970", "1", "1"}), 2u);
    EXPECT_EQ(list.registerPerson({"伊藤", "1970", "1", "1"}), 0u);
    EXPECT_EQ(list.registerPerson({"山本", "1970", "1", "1"}), 3u);
    EXPECT_EQ(namesOf(list), (std::vector<std::string>{"伊藤", "佐藤", "山田", "山本", "鈴木"}));
    EXPECT_EQ(list.at(3), (Person{"山本", "1970", "1", "1"}));
}

// The scan as the grid does it, row by row from the bottom, over a list that
// need not be in order (one opened from a file keeps the file's order).
std::size_t scannedInsertion(const std::vector<Person>& persons, const std::string& name)
{
    const std::int32_t c = orderingUnit(name);
    std::size_t at = persons.size();
    for (std::size_t k = persons.size(); k-- > 0;) {
        if (orderingUnit(persons[k].name) > c) {
            at = k;
        } else {
            break;
        }
    }
    return at;
}

TEST(RegisterPerson, InAListOpenedOutOfOrderGoesWhereTheUpwardScanStops)
{
    const struct {
        const char* label;
        std::vector<std::string> opened;
        const char* name;
        std::size_t index;
    } cases[] = {
        {"smaller than the last person only", {"山", "あ", "佐"}, "い", 2},
        {"stops below a larger person higher up", {"山", "あ", "山"}, "佐", 2},
        {"greater than the last person", {"山", "佐", "あ"}, "松", 3},
        {"smaller than everyone", {"山", "佐", "あ"}, "A", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        std::vector<Person> persons;
        for (const std::string& n : c.opened) {
            persons.push_back({n, "", "", ""});
        }
        PersonList list(persons);
        EXPECT_EQ(list.registerPerson({c.name, "1", "", ""}), c.index);
        EXPECT_EQ(list.at(c.index).name, c.name);
    }

    std::mt19937 random(20240210);
    const char* firsts[] = {"", "A", "a", "あ", "佐", "山", "Ａ", "𠮷"};
    std::uniform_int_distribution<std::size_t> pick(0, std::size(firsts) - 1);
    for (int round = 0; round < 200; ++round) {
        std::vector<Person> persons;
        const std::size_t size = pick(random) * 3;
        for (std::size_t i = 0; i < size; ++i) {
            persons.push_back({std::string(firsts[pick(random)]) + "x", "", "", ""});
        }
        PersonList list(persons);
        for (int added = 0; added < 5; ++added) {
            const std::string name = std::string(firsts[pick(random)]) + "y";
            const std::size_t expected = scannedInsertion(list.persons(), name);
            ASSERT_EQ(list.registerPerson({name, "1", "", ""}), expected) << "round " << round;
        }
    }
}

TEST(RemovePerson, ThePersonsBelowMoveUp)
{
    PersonList list = registered({"A", "B", "C", "D"});
    list.removeAt(1);
    EXPECT_EQ(namesOf(list), (std::vector<std::string>{"A", "C", "D"}));
    list.removeAt(2);
    EXPECT_EQ(namesOf(list), (std::vector<std::string>{"A", "C"}));
    list.removeAt(0);
    list.removeAt(0);
    EXPECT_TRUE(list.empty());
    // The order still holds for persons registered after removals.
    list.registerPerson({"B", "1", "", ""});
    list.registerPerson({"A", "1", "", ""});
    EXPECT_EQ(namesOf(list), (std::vector<std::string>{"A", "B"}));
}

}  // namespace
}  // namespace personlist
