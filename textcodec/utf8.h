#pragma once

// Reading UTF-8 one character at a time, for the list's ordering and for writing
// list files. Texts come from the inputs and are valid UTF-8; a byte that does
// not start a valid sequence still reads as one character of its own (U+FFFD),
// so a damaged text can neither stop the reader nor make it read past the end.

#include <cstddef>
#include <string>
#include <string_view>

namespace textcodec::utf8 {

struct Character {
    char32_t value;
    std::size_t length;  // bytes used, at least 1
};

inline constexpr char32_t Replacement = 0xFFFD;

inline Character characterAt(std::string_view text, std::size_t at)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char b0 = byte(at);
    if (b0 < 0x80) {
        return {b0, 1};
    }
    std::size_t length = 0;
    char32_t value = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        length = 2;
        value = b0 & 0x1Fu;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        length = 3;
        value = b0 & 0x0Fu;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        length = 4;
        value = b0 & 0x07u;
    } else {
        return {Replacement, 1};
    }
    if (text.size() - at < length) {
        return {Replacement, 1};
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) {
            return {Replacement, 1};
        }
        value = (value << 6) | (byte(at + i) & 0x3Fu);
    }
    constexpr char32_t smallestOfLength[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < smallestOfLength[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return {Replacement, 1};
    }
    return {value, length};
}

// Appends the UTF-8 bytes of c, a character of U+0000-U+10FFFF that is no
// surrogate.
inline void append(std::string& text, char32_t c)
{
    const auto put = [&](char32_t bits) { text.push_back(static_cast<char>(bits)); };
    if (c < 0x80) {
        put(c);
    } else if (c < 0x800) {
        put(0xC0 | (c >> 6));
        put(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        put(0xE0 | (c >> 12));
        put(0x80 | ((c >> 6) & 0x3F));
        put(0x80 | (c & 0x3F));
    } else {
        put(0xF0 | (c >> 18));
        put(0x80 | ((c >> 12) & 0x3F));
        put(0x80 | ((c >> 6) & 0x3F));
        put(0x80 | (c & 0x3F));
    }
}

}  // namespace textcodec::utf8
