#include "personlist/list_file.h"

#include "fileio/file_io.h"
#include "textcodec/cp932.h"
#include "textcodec/utf8.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <span>

namespace personlist {

namespace cp932 = textcodec::cp932;
namespace utf8 = textcodec::utf8;

namespace {

constexpr char Blank = ' ';

// A count this large needs more than 10^17 bytes of file, so no real file passes
// the length check with it, and 40 x 4 x the cap still fits in 64 bits.
constexpr std::uint64_t CountCap = 1'000'000'000'000'000ULL;

constexpr std::size_t PersonSize = RecordSize * RecordsPerPerson;

std::size_t fileSizeFor(std::uint64_t count)
{
    return static_cast<std::size_t>(RecordSize * (1 + RecordsPerPerson * (count - 1)));
}

// Drops the blanks that trimBlankPairs drops from the size bytes at data, in
// place, and returns how many bytes are left.
std::size_t trimBlankPairsIn(char* data, std::size_t size)
{
    std::size_t end = size;
    while (end > 0 && data[end - 1] == Blank) {
        --end;
    }
    std::size_t kept = 0;
    for (std::size_t i = 0; i < end; ++i) {
        if (data[i] != Blank || data[i + 1] != Blank) {
            data[kept++] = data[i];
        }
    }
    return kept;
}

// The text of a field as opening shows it: decoded, blank pairs trimmed. The
// padding is not decoded: all but its first blank are cut off beforehand, which
// gives the same text, since every trailing blank is trimmed anyway and the one
// blank kept still turns a lead byte before it into U+FFFD, as in the full field.
// The text is trimmed before it becomes a string, so that the string is no
// longer than the text: a name of five kanji (15 bytes) stays in the string's
// own short buffer instead of taking a block of the heap for 16.
std::string fieldText(std::string_view field)
{
    const std::size_t lastText = field.find_last_not_of(Blank);
    const std::size_t end = lastText == std::string_view::npos ? 0 : lastText + 1;
    std::array<char, cp932::decodedCapacity(FieldSize)> buffer;
    const std::size_t decoded = cp932::decodeInto(field.substr(0, std::min({end + 1, field.size(), FieldSize})),
                                                  buffer.data());
    return std::string(buffer.data(), trimBlankPairsIn(buffer.data(), decoded));
}

// What the count record asks of a file of the given length: the number of
// persons to read, or why the file cannot be a complete list.
struct CountCheck {
    std::size_t persons = 0;
    std::optional<FileError> error;
};

CountCheck checkCount(std::string_view countField, std::uint64_t fileSize)
{
    const std::optional<std::uint64_t> count = parseCount(decodeField(countField));
    if (!count) {
        return {0, FileError{FileError::Kind::NotANumber}};
    }
    if (*count < 1) {
        return {0, FileError{FileError::Kind::CountBelowOne}};
    }
    if (*count >= CountCap || fileSize < fileSizeFor(*count)) {
        return {0, FileError{FileError::Kind::TooShort}};
    }
    return {static_cast<std::size_t>(*count - 1), std::nullopt};
}

// Appends the persons of whole person records (160 bytes each) to persons.
void appendPersons(std::string_view records, std::vector<Person>& persons)
{
    for (std::size_t at = 0; at + PersonSize <= records.size(); at += PersonSize) {
        const auto field = [&](std::size_t f) { return fieldText(records.substr(at + f * RecordSize, FieldSize)); };
        persons.push_back({field(0), field(1), field(2), field(3)});
    }
}

// How many persons opening reads from the file at a time: the file is never
// held whole beside the persons made of it, which for a large list took more
// memory than the persons themselves.
constexpr std::size_t PersonsPerRead = 512;

ListFileContents openAndParse(const std::filesystem::path& path)
{
    const fileio::OpenedFile file = fileio::openRegularFile(path);
    if (file.error) {
        return {{}, file.error};
    }
    std::array<char, RecordSize> countRecord{};
    if (file.size < RecordSize) {
        return {{}, FileError{FileError::Kind::TooShort}};
    }
    if (const auto error = fileio::readExactly(file.fd, countRecord, 0)) {
        return {{}, *error};
    }
    // Check the count against the file's length before reading (or reserving)
    // anything for it: a damaged count of 2,000,000,000 must not ask for 320 GB.
    const CountCheck check = checkCount(std::string_view(countRecord.data(), FieldSize), file.size);
    if (check.error) {
        return {{}, check.error};
    }
    std::vector<Person> persons;
    persons.reserve(check.persons);
    const auto chunk = std::make_unique_for_overwrite<char[]>(PersonsPerRead * PersonSize);
    for (std::size_t done = 0; done < check.persons;) {
        const std::size_t count = std::min(PersonsPerRead, check.persons - done);
        const std::span<char> records(chunk.get(), count * PersonSize);
        if (const auto error = fileio::readExactly(file.fd, records, RecordSize + done * PersonSize)) {
            return {{}, *error};
        }
        appendPersons(std::string_view(records.data(), records.size()), persons);
        done += count;
    }
    return {std::move(persons), std::nullopt};
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
    text.resize(trimBlankPairsIn(text.data(), text.size()));
    return text;
}

std::optional<std::string> savedTextIfAltered(std::string_view text)
{
    // ASCII is written and read back byte for byte, so a short ASCII text, as
    // most years, months and days are, can only lose blanks, which do not count.
    if (text.size() <= FieldSize &&
        std::all_of(text.begin(), text.end(), [](char b) { return static_cast<unsigned char>(b) < 0x80; })) {
        return std::nullopt;
    }
    const FieldBytes field = encodeField(text);
    std::string saved = fieldText(std::string_view(field.data(), field.size()));
    if (saved == text) {
        return std::nullopt;
    }
    std::string asRead;
    asRead.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const utf8::Character c = utf8::characterAt(text, at);
        const char32_t form = cp932::windowsForm(c.value);
        if (form == c.value) {
            asRead.append(text.substr(at, c.length));
        } else {
            utf8::append(asRead, form);
        }
        at += c.length;
    }
    if (saved == trimBlankPairs(std::move(asRead))) {
        return std::nullopt;
    }
    return saved;
}

std::vector<std::vector<AlteredText>> personsAlteredBySaving(const std::vector<Person>& persons, std::size_t limit)
{
    std::vector<std::vector<AlteredText>> altered;
    for (const Person& p : persons) {
        if (altered.size() == limit) {
            break;
        }
        std::vector<AlteredText> texts;
        for (const std::string* typed : {&p.name, &p.year, &p.month, &p.day}) {
            if (std::optional<std::string> saved = savedTextIfAltered(*typed)) {
                texts.push_back({*typed, std::move(*saved)});
            }
        }
        if (!texts.empty()) {
            altered.push_back(std::move(texts));
        }
    }
    return altered;
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
        return {{}, FileError{FileError::Kind::TooShort}};
    }
    const CountCheck check = checkCount(bytes.substr(0, FieldSize), bytes.size());
    if (check.error) {
        return {{}, check.error};
    }
    // A file that really holds ten million persons is a valid list that may
    // still not fit in memory: a failed open, not the end of the program.
    try {
        std::vector<Person> persons;
        persons.reserve(check.persons);
        appendPersons(bytes.substr(RecordSize, check.persons * PersonSize), persons);
        return {std::move(persons), std::nullopt};
    } catch (const std::bad_alloc&) {
        return {{}, FileError{FileError::Kind::OutOfMemory}};
    }
}

ListFileContents readListFile(const std::filesystem::path& path)
{
    try {
        return openAndParse(path);
    } catch (const std::bad_alloc&) {
        return {{}, FileError{FileError::Kind::OutOfMemory}};
    }
}

std::optional<FileError> writeListFile(const std::filesystem::path& path, const std::vector<Person>& persons)
{
    // The file's bytes take about as much memory as the list itself, so a list
    // that only just fits may not be savable: that is a failed save, and the
    // list stays in memory.
    std::string bytes;
    try {
        bytes = listFileBytes(persons);
    } catch (const std::bad_alloc&) {
        return FileError{FileError::Kind::OutOfMemory};
    }
    fileio::Unwatched watch;
    return writeListFileBytes(path, bytes, watch);
}

std::optional<FileError> writeListFileBytes(const std::filesystem::path& path, std::string_view bytes,
                                            fileio::SaveWatch& watch)
{
    // replaceFile allocates nothing once the new file has a name, so a failed
    // allocation leaves nothing behind either.
    try {
        const fileio::SaveTarget target = fileio::resolveSaveTarget(path);
        if (target.error) {
            return target.error;
        }
        return fileio::replaceFile(target, bytes, watch);
    } catch (const std::bad_alloc&) {
        return FileError{FileError::Kind::OutOfMemory};
    }
}

}  // namespace personlist
