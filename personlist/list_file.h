#pragma once

// List files (.orx): flat files of 40-byte records in code page 932, with no
// header, magic number or version.
//
//   record 1          the grid's row count, persons + 1, as a decimal number
//   record 2 + 4(p-1) name of person p, then birth year, month and day of p
//
// A record is a 20-byte field text, left-aligned and padded with blanks (20 hex),
// then 20 filler bytes that no reader looks at (we write zeros). A list of two
// persons is 9 records, 360 bytes, with a count of 3.
//
// Opening never creates a file and parses the whole file before it returns
// anything: a file that is not a complete list, or a list too large for the
// memory the program may use, gives an error and no persons, so the list on
// screen stays as it was. Saving replaces the target only once the
// new list is completely on disk.

#include "fileio/file_error.h"
#include "fileio/save_watch.h"
#include "personlist/person.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace personlist {

using fileio::FileError;

inline constexpr std::size_t RecordSize = 40;
inline constexpr std::size_t FieldSize = 20;
inline constexpr std::size_t RecordsPerPerson = 4;

using FieldBytes = std::array<char, FieldSize>;

// The field text of a UTF-8 text: its CP932 bytes, padded with blanks to 20. A
// longer text is cut after the last character that fits whole, so a double-byte
// character that would straddle byte 20 is dropped and a blank takes its byte.
// A character with no CP932 form is written as "?".
FieldBytes encodeField(std::string_view text);

// The text of a field (at most its first 20 bytes are read), decoded on its own:
// a lead byte in the field's last byte is dropped, never joined to the next field.
// The padding blanks are still there; see trimBlankPairs.
std::string decodeField(std::string_view field);

// Drops every blank (U+0020) that is followed by another blank or ends the text:
// the padding goes, a run of blanks inside the text shrinks to one, and a field
// of blanks only gives the empty text. The full-width space U+3000 is no blank.
std::string trimBlankPairs(std::string text);

// A text that a list file cannot hold as it was typed, and the text that
// opening the file will show in its place.
struct AlteredText {
    std::string typed;
    std::string saved;

    friend bool operator==(const AlteredText&, const AlteredText&) = default;
};

// What opening a saved list will show of a typed text, when a user would read
// it as another text: a character that code page 932 lacks came back as "?", or
// the text was cut at 20 bytes. Nothing when it comes back as typed, which
// counts a run of blanks shrunk to one, the trailing blanks gone, and the
// characters that Windows writes in place of what input methods type (〜 as ～,
// see cp932::windowsForm) as the same text.
std::optional<std::string> savedTextIfAltered(std::string_view text);

// The altered texts of the first `limit` persons, in list order, that a save
// would alter; one entry per person, with each of its altered texts in the
// order name, year, month, day. Stops looking once it has found `limit`.
std::vector<std::vector<AlteredText>> personsAlteredBySaving(const std::vector<Person>& persons,
                                                             std::size_t limit);

// The number in a decoded count record: decimal digits with blanks around them
// allowed. Values that no file could hold are capped rather than wrapped, so a
// huge count fails the length check instead of looking small.
std::optional<std::uint64_t> parseCount(std::string_view text);

// The complete bytes of the list file for these persons.
std::string listFileBytes(const std::vector<Person>& persons);

struct ListFileContents {
    std::vector<Person> persons;           // in the file's order
    std::optional<FileError> error;    // set when the file is no complete list; persons is then empty
};

// The persons in the bytes of a list file. Records after the last one that the
// count calls for are ignored.
ListFileContents parseListFile(std::string_view bytes);

// Opens a list file. Never creates, changes or locks the file.
ListFileContents readListFile(const std::filesystem::path& path);

// Saves the persons as a list file; nothing on success. The list is written to a
// new, unnamed file beside the target, flushed to disk and then renamed over the
// target (see fileio::replaceFile), so a failed save leaves an existing file byte for
// byte as it was and leaves no partial file behind. A symbolic link stays a
// link: the file it points to is replaced.
[[nodiscard]] std::optional<FileError> writeListFile(const std::filesystem::path& path,
                                                         const std::vector<Person>& persons);

// The file-system half of writeListFile, for bytes made beforehand by
// listFileBytes, asking `watch` before each step: the half that may wait on a
// disk.
[[nodiscard]] std::optional<FileError> writeListFileBytes(const std::filesystem::path& path,
                                                          std::string_view bytes, fileio::SaveWatch& watch);

}  // namespace personlist
