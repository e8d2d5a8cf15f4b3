#pragma once

// What must hold for any bytes at all that a user might open as a list file.
// The fuzzer and the corpus replay run the same checks, so an input the fuzzer
// once broke keeps being checked by every build.
//
//  - The reader either rejects the bytes (no persons) or reads the persons that
//    the count record calls for; it never rejects a file that holds them all.
//  - Every text it gives is valid UTF-8 with no trailing blank and no two blanks
//    in a row, and is the field decoded on its own and blank-pair trimmed.
//  - It asks the heap for at most AllocationFactor x the file's size, plus
//    AllocationSlack bytes: a damaged count or field can never make it ask for
//    more than the file itself could justify.
//  - Saving what was read and reading it back gives the same persons, except
//    that a character the file did not map (U+FFFD) comes back as "?", and
//    saving that again writes the very same bytes: one trip reaches a fixed point.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace fuzz {

// Each 160 bytes of a file hold one person, who takes a Person of four strings
// (128 bytes in libstdc++) and, for each field of 20 bytes, at most 60 bytes of
// UTF-8 plus a terminator (half-width katakana and U+FFFD take 3 bytes for 1):
// 372 bytes in all, 2.33 per byte read. The count record's 40 bytes take at most
// 61. Three bytes per byte leaves room for another standard library's layout
// without letting a reader that reserves by the count alone slip through.
inline constexpr std::size_t AllocationFactor = 3;
inline constexpr std::size_t AllocationSlack = 64;

// The first of the properties above that these bytes break, described for a
// developer, or nothing when they all hold.
std::optional<std::string> listFileFault(std::string_view bytes);

// Opening the file at path, whose content is bytes, must give what reading the
// bytes gives: the same persons or the same error.
std::optional<std::string> openedFileFault(const std::filesystem::path& path, std::string_view bytes);

}  // namespace fuzz
