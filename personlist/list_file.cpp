#include "personlist/list_file.h"

#include "personlist/cp932.h"
#include "personlist/file_io.h"
#include "personlist/utf8.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <span>

namespace personlist {

namespace {

constexpr char Blank = ' ';

// A count this large needs more than 10^17 bytes of file, so no real file passes
// the length check with it, and 40 x 4 x the cap still fits in 64 bits.
constexpr std::uint64_t CountCap = 1'000'000'000'000'000ULL;

std::size_t fileSizeFor(std::uint64_t count)
{
    return static_cast<std::size_t>(RecordSize * (1 + RecordsPerPerson * (count - 1)));
}

// The text of a field as opening shows it: decoded, blank pairs trimmed. The
// padding is not decoded: all but its first blank are cut off beforehand, which
// gives the same text, since every trailing blank is trimmed anyway and the one
// blank kept still turns a lead byte before it into U+FFFD, as in the full field.
std::string fieldText(std::string_view field)
{
    const std::size_t lastText = field.find_last_not_of(Blank);
    const std::size_t end = lastText == std::string_view::npos ? 0 : lastText + 1;
    return trimBlankPairs(decodeField(field.substr(0, std::min(end + 1, field.size()))));
}

// What the count record asks of a file of the given length: the number of
// persons to read, or why the file cannot be a complete list.
struct CountCheck {
    std::size_t persons = 0;
    std::optional<ListFileError> error;
};

CountCheck checkCount(std::string_view countField, std::uint64_t fileSize)
{
    const std::optional<std::uint64_t> count = parseCount(decodeField(countField));
    if (!count) {
        return {0, ListFileError{ListFileError::Kind::NotANumber}};
    }
    if (*count < 1) {
        return {0, ListFileError{ListFileError::Kind::CountBelowOne}};
    }
    if (*count >= CountCap || fileSize < fileSizeFor(*count)) {
        return {0, ListFileError{ListFileError::Kind::TooShort}};
    }
    return {static_cast<std::size_t>(*count - 1), std::nullopt};
}

// The persons of a file whose count record has been checked against its length.
std::vector<Person> readPersons(std::string_view bytes, std::size_t personCount)
{
    std::vector<Person> persons;
    persons.reserve(personCount);
    std::size_t record = 1;
    const auto next = [&]() {
        return fieldText(bytes.substr(record++ * RecordSize, FieldSize));
    };
    for (std::size_t p = 0; p < personCount; ++p) {
        Person person;
        person.name = next();
        person.year = next();
        person.month = next();
        person.day = next();
        persons.push_back(std::move(person));
    }
    return persons;
}

ListFileContents openAndParse(const std::filesystem::path& path)
{
    const OpenedFile file = openRegularFile(path);
    if (file.error) {
        return {{}, file.error};
    }
    std::array<char, RecordSize> countRecord{};
    if (file.size < RecordSize) {
        return {{}, ListFileError{ListFileError::Kind::TooShort}};
    }
    if (const auto error = readExactly(file.fd, countRecord, 0)) {
        return {{}, *error};
    }
    // Check the count against the file's length before reading (or reserving)
    // anything for it: a damaged count of 2,000,000,000 must not ask for 320 GB.
    const CountCheck check = checkCount(std::string_view(countRecord.data(), FieldSize), file.size);
    if (check.error) {
        return {{}, check.error};
    }
    const std::size_t needed = fileSizeFor(check.persons + 1);
    const auto bytes = std::make_unique_for_overwrite<char[]>(needed);
    if (const auto error = readExactly(file.fd, std::span(bytes.get(), needed), 0)) {
        return {{}, *error};
    }
    return parseListFile(std::string_view(bytes.get(), needed));
}

}  // namespace

FieldBytes encodeField(std::string_view text)
{
    FieldBytes field;
    field.fill(Blank);
    std::size_t used = 0;
    for (std::size_t at = 0; at < text.size();) {
        const utf8::Character c = utf8::characterAt(text, at);
        at += c.length;
        cp932::Encoded bytes = cp932::encode(c.value);
        if (bytes.size == 0) {
            bytes = {1, {'?', 0}};
        }
        if (used + bytes.size > FieldSize) {
            break;
        }
        for (std::size_t i = 0; i < bytes.size; ++i) {
            field[used++] = bytes.bytes[i];
        }
    }
    return field;
}

std::string decodeField(std::string_view field) { return cp932::decode(field.substr(0, FieldSize)); }

std::string trimBlankPairs(std::string text)
{
    // In place: opening a list of 100,000 persons trims 400,000 fields, most of
    // them a few characters followed by blanks, which all go.
    std::size_t end = text.size();
    while (end > 0 && text[end - 1] == Blank) {
        --end;
    }
    char* const data = text.data();
    std::size_t kept = 0;
    for (std::size_t i = 0; i < end; ++i) {
        if (data[i] != Blank || data[i + 1] != Blank) {
            data[kept++] = data[i];
        }
    }
    text.resize(kept);
    return text;
}

std::optional<std::uint64_t> parseCount(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(Blank);
    if (first == std::string_view::npos) {
        return std::nullopt;
    }
    const std::size_t last = text.find_last_not_of(Blank);
    std::uint64_t value = 0;
    for (std::size_t i = first; i <= last; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<std::uint64_t>(text[i] - '0');
        if (value > CountCap) {
            value = CountCap;
        }
    }
    return value;
}

std::string listFileBytes(const std::vector<Person>& persons)
{
    std::string bytes((1 + RecordsPerPerson * persons.size()) * RecordSize, '\0');
    std::size_t record = 0;
    const auto put = [&](std::string_view text) {
        const FieldBytes field = encodeField(text);
        std::memcpy(bytes.data() + record * RecordSize, field.data(), FieldSize);
        ++record;
    };
    put(std::to_string(persons.size() + 1));
    for (const Person& p : persons) {
        put(p.name);
        put(p.year);
        put(p.month);
        put(p.day);
    }
    return bytes;
}

ListFileContents parseListFile(std::string_view bytes)
{
    if (bytes.size() < RecordSize) {
        return {{}, ListFileError{ListFileError::Kind::TooShort}};
    }
    const CountCheck check = checkCount(bytes.substr(0, FieldSize), bytes.size());
    if (check.error) {
        return {{}, check.error};
    }
    // A file that really holds ten million persons is a valid list that may
    // still not fit in memory: a failed open, not the end of the program.
    try {
        return {readPersons(bytes, check.persons), std::nullopt};
    } catch (const std::bad_alloc&) {
        return {{}, ListFileError{ListFileError::Kind::OutOfMemory}};
    }
}

ListFileContents readListFile(const std::filesystem::path& path)
{
    if (!cp932::available()) {
        return {{}, ListFileError{ListFileError::Kind::NoConverter}};
    }
    try {
        return openAndParse(path);
    } catch (const std::bad_alloc&) {
        return {{}, ListFileError{ListFileError::Kind::OutOfMemory}};
    }
}

std::optional<ListFileError> writeListFile(const std::filesystem::path& path, const std::vector<Person>& persons)
{
    if (!cp932::available()) {
        return ListFileError{ListFileError::Kind::NoConverter};
    }
    // The file's bytes take about as much memory as the list itself, so a list
    // that only just fits may not be savable: that is a failed save, and the
    // list stays in memory.
    std::string bytes;
    try {
        bytes = listFileBytes(persons);
    } catch (const std::bad_alloc&) {
        return ListFileError{ListFileError::Kind::OutOfMemory};
    }
    FileCalls calls;
    return writeListFileBytes(path, bytes, calls);
}

std::optional<ListFileError> writeListFileBytes(const std::filesystem::path& path, std::string_view bytes,
                                                FileCalls& calls)
{
    // replaceFile allocates nothing once the new file has a name, so a failed
    // allocation leaves nothing behind either.
    try {
        const SaveTarget target = resolveSaveTarget(path);
        if (target.error) {
            return target.error;
        }
        return replaceFile(target, bytes, calls);
    } catch (const std::bad_alloc&) {
        return ListFileError{ListFileError::Kind::OutOfMemory};
    }
}

}  // namespace personlist
