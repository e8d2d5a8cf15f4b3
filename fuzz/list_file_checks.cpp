#include "fuzz/list_file_checks.h"

#include "fuzz/allocation_count.h"
#include "personlist/list_file.h"
#include "textcodec/utf8.h"

#include <array>
#include <cstdint>

namespace fuzz {

namespace {

using personlist::FieldSize;
using personlist::ListFileContents;
using personlist::FileError;
using personlist::Person;
using personlist::RecordSize;
using personlist::RecordsPerPerson;

constexpr std::array<const char*, RecordsPerPerson> FieldNames = {"name", "birth year", "birth month", "birth day"};

const std::string& fieldOf(const Person& person, std::size_t field)
{
    const std::array<const std::string*, RecordsPerPerson> texts = {&person.name, &person.year, &person.month,
                                                                     &person.day};
    return *texts[field];
}

std::string hex(std::string_view bytes)
{
    constexpr char Digits[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (!out.empty()) {
            out += ' ';
        }
        out += Digits[b >> 4];
        out += Digits[b & 0xF];
    }
    return out;
}

std::string describe(const ListFileContents& contents)
{
    if (contents.error) {
        return "error kind " + std::to_string(static_cast<int>(contents.error->kind)) + ", errno " +
               std::to_string(contents.error->systemError);
    }
    return std::to_string(contents.persons.size()) + " persons";
}

// Counts the characters of a text, or gives nothing when it is no valid UTF-8.
// The only U+FFFD that counts as valid is its own three-byte form.
std::optional<std::size_t> utf8Length(std::string_view text)
{
    std::size_t characters = 0;
    for (std::size_t at = 0; at < text.size(); ++characters) {
        const textcodec::utf8::Character c = textcodec::utf8::characterAt(text, at);
        if (c.value == textcodec::utf8::Replacement && c.length != 3) {
            return std::nullopt;
        }
        at += c.length;
    }
    return characters;
}

// The text as saving and reopening gives it back: what the file did not map
// was read as U+FFFD, which code page 932 has no form for.
std::string withQuestionMarks(std::string_view text)
{
    std::string out;
    for (std::size_t at = 0; at < text.size();) {
        const textcodec::utf8::Character c = textcodec::utf8::characterAt(text, at);
        if (c.value == textcodec::utf8::Replacement) {
            out += '?';
        } else {
            out += text.substr(at, c.length);
        }
        at += c.length;
    }
    return out;
}

// Whether a file of this size holds every record that the count calls for:
// the count record and four records for each of count - 1 persons, in full.
bool holdsEveryRecord(std::uint64_t count, std::size_t size)
{
    const std::uint64_t records = size / RecordSize;
    return count >= 1 && records >= 1 && (records - 1) / RecordsPerPerson >= count - 1;
}

std::optional<std::string> rejectionFault(std::string_view bytes, const ListFileContents& read)
{
    if (!read.persons.empty()) {
        return "rejected the file with " + describe(read) + " but still gave " +
               std::to_string(read.persons.size()) + " persons";
    }
    switch (read.error->kind) {
    case FileError::Kind::NotANumber:
    case FileError::Kind::CountBelowOne:
    case FileError::Kind::TooShort:
        break;
    default:
        return "bytes alone gave " + describe(read);
    }
    if (bytes.size() >= RecordSize) {
        const auto count = personlist::parseCount(personlist::decodeField(bytes.substr(0, FieldSize)));
        if (count && holdsEveryRecord(*count, bytes.size())) {
            return "rejected with " + describe(read) + " a file of " + std::to_string(bytes.size()) +
                   " bytes that holds every record of its count " + std::to_string(*count);
        }
    }
    return std::nullopt;
}

std::optional<std::string> fieldFault(std::string_view raw, const std::string& text)
{
    const std::optional<std::size_t> characters = utf8Length(text);
    if (!characters) {
        return "is no valid UTF-8: " + hex(text);
    }
    if (*characters > FieldSize) {
        return "has " + std::to_string(*characters) + " characters, more than its 20 bytes can hold";
    }
    if (!text.empty() && text.back() == ' ') {
        return "ends with a blank";
    }
    if (text.find("  ") != std::string::npos) {
        return "keeps two blanks in a row";
    }
    if (text != personlist::trimBlankPairs(personlist::decodeField(raw))) {
        return "differs from the whole field decoded and trimmed";
    }
    return std::nullopt;
}

std::optional<std::string> roundTripFault(const std::vector<Person>& persons)
{
    const std::string saved = personlist::listFileBytes(persons);
    const ListFileContents reread = personlist::parseListFile(saved);
    if (reread.error || reread.persons.size() != persons.size()) {
        return "saving " + std::to_string(persons.size()) + " persons and reading them back gave " + describe(reread);
    }
    for (std::size_t p = 0; p < persons.size(); ++p) {
        for (std::size_t f = 0; f < RecordsPerPerson; ++f) {
            const std::string expected = withQuestionMarks(fieldOf(persons[p], f));
            const std::string& back = fieldOf(reread.persons[p], f);
            if (back != expected) {
                return "saved and reopened, the " + std::string(FieldNames[f]) + " of person " +
                       std::to_string(p + 1) + " came back as " + hex(back) + " instead of " + hex(expected);
            }
        }
    }
    if (personlist::listFileBytes(reread.persons) != saved) {
        return "saving the reopened list wrote other bytes than the first save";
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> listFileFault(std::string_view bytes)
{
    ListFileContents read;
    const std::size_t allocated = bytesAllocatedBy([&] { read = personlist::parseListFile(bytes); });
    if (allocated > AllocationFactor * bytes.size() + AllocationSlack) {
        return "reading " + std::to_string(bytes.size()) + " bytes asked the heap for " + std::to_string(allocated) +
               " bytes";
    }
    if (read.error) {
        return rejectionFault(bytes, read);
    }

    const std::size_t persons = read.persons.size();
    if (bytes.size() < RecordSize * (1 + RecordsPerPerson * persons)) {
        return "read " + std::to_string(persons) + " persons from only " + std::to_string(bytes.size()) + " bytes";
    }
    const auto count = personlist::parseCount(personlist::decodeField(bytes.substr(0, FieldSize)));
    if (count != persons + 1) {
        return "read " + std::to_string(persons) + " persons where the count record says " +
               (count ? std::to_string(*count) : "nothing");
    }
    for (std::size_t p = 0; p < persons; ++p) {
        for (std::size_t f = 0; f < RecordsPerPerson; ++f) {
            const std::string_view raw = bytes.substr((1 + RecordsPerPerson * p + f) * RecordSize, FieldSize);
            if (const auto fault = fieldFault(raw, fieldOf(read.persons[p], f))) {
                return "the " + std::string(FieldNames[f]) + " of person " + std::to_string(p + 1) + ", read from " +
                       hex(raw) + ", " + *fault;
            }
        }
    }
    return roundTripFault(read.persons);
}

std::optional<std::string> openedFileFault(const std::filesystem::path& path, std::string_view bytes)
{
    const ListFileContents opened = personlist::readListFile(path);
    const ListFileContents read = personlist::parseListFile(bytes);
    if (opened.error != read.error || opened.persons != read.persons) {
        return "opening the file gave " + describe(opened) + " where its bytes give " + describe(read);
    }
    return std::nullopt;
}

}  // namespace fuzz
