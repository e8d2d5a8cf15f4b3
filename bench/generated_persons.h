#pragma once

// The persons of the generated benchmark lists: names that mix kanji, kana and
// ASCII, of every length up to past 20 bytes, and years, months and days as
// people type them. The same seed gives the same list in every program.

#include "personlist/person.h"

#include <array>
#include <cstddef>
#include <random>
#include <string>
#include <vector>

namespace bench {

inline std::vector<personlist::Person> generatedPersons(std::size_t count)
{
    static const std::array<const char*, 12> surnames = {"山田", "佐藤", "鈴木", "髙橋", "渡邊", "さとう",
                                                         "ヤマモト", "ｶﾄｳ", "Smith", "O'Neil", "①番", "～波"};
    static const std::array<const char*, 10> given = {"太郎", "花子", "一郎", "みどり", "ケン", "Ann",
                                                      "二十一文字名前長い", "", " 陽子", "John Paul"};
    std::mt19937 random(100'000);
    std::vector<personlist::Person> persons;
    persons.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        std::string name = std::string(surnames[random() % surnames.size()]) + given[random() % given.size()];
        persons.push_back({std::move(name), std::to_string(1920 + random() % 100), std::to_string(1 + random() % 12),
                           std::to_string(1 + random() % 31)});
    }
    return persons;
}

}  // namespace bench
