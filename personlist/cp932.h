#pragma once

// Code page 932 as Windows has it: Shift_JIS with the NEC and IBM extensions,
// the user-defined area (F040-F9FC as U+E000-U+E757) and the five single bytes
// that Windows maps although the JIS table leaves them out (80 as U+0080, A0 as
// U+F8F0, FD-FF as U+F8F1-U+F8F3).
//
// The tables come from glibc's "CP932" converter (not "SHIFT_JIS", which is the
// plain JIS table: it has no ① and no 髙, and maps 5C to the yen sign), read once
// on first use. Characters that decode from two places (the NEC row 13 and the
// IBM rows duplicate each other and parts of the JIS rows) are written the way
// Windows writes them: ∵ as 81 E6, ⅰ as FA 40, 髙 as FB FC.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace personlist::cp932 {

// The CP932 bytes of one character: one or two, or none (size 0) when code page
// 932 has no form for it.
struct Encoded {
    std::uint8_t size = 0;
    char bytes[2] = {0, 0};
};

Encoded encode(char32_t c);

// The character that a file written for Windows holds in place of c: for the
// characters that Linux input methods type where Windows has another code point
// for the same CP932 character (〜 U+301C is written as 81 60 and read back as
// ～ U+FF5E, − U+2212 as －, ‖ as ∥, — as ―, ¢ £ ¬ as ￠ ￡ ￢), that other code
// point; c itself for every other character. A user reads the two as one.
char32_t windowsForm(char32_t c);

// Decodes bytes as one run of their own; nothing is kept for a next call. A lead
// byte with no second byte after it, at the end of the run, is dropped. A lead
// byte followed by a byte that cannot follow a lead byte gives U+FFFD, and that
// second byte is decoded again on its own. A lead and trail byte pair that the
// table leaves empty (for example 85 40) gives one U+FFFD for both.
std::string decode(std::string_view bytes);

// Room that decodeInto needs for a run of n bytes: three bytes of UTF-8 for each
// (the most one CP932 byte can become) and two to spare.
constexpr std::size_t decodedCapacity(std::size_t n) { return 3 * n + 2; }

// Decodes as decode does, into out (at least decodedCapacity(bytes.size())
// long), and returns the number of bytes written. For callers that cut the text
// down before they make a string of it.
std::size_t decodeInto(std::string_view bytes, char* out);

// False when the converter tables could not be built (glibc's gconv modules
// missing): then nothing but ASCII could be converted, and list files must not
// be read or written.
bool available();

}  // namespace personlist::cp932
