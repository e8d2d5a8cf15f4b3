#pragma once

#include <string>

namespace personlist {

// One person of the list: the four texts of the person inputs, UTF-8, exactly as
// they were typed. Nothing is trimmed or checked: a birth month of "13" or a year
// of "昭和35" is kept and shown as it stands.
struct Person {
    std::string name;
    std::string year;
    std::string month;
    std::string day;

    friend bool operator==(const Person&, const Person&) = default;
};

}  // namespace personlist
