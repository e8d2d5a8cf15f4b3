#pragma once

// What a careless user types into the inputs: numbers of every shape, names in
// every script the list file has to survive, and texts that fit no field at all.

#include <QString>

#include <random>

namespace soak {

using Random = std::mt19937_64;

// For the name box: mostly names, sometimes anything.
QString nameText(Random& random);

// For the year, month and day inputs: mostly numbers (so that 算出 has something
// to read), sometimes anything.
QString numberText(Random& random);

// A fresh text of random characters: ASCII, blanks, U+3000, kanji, kana, half-width
// katakana, full-width digits, emoji, Hangul and the two wave dashes.
QString randomText(Random& random);

}  // namespace soak
