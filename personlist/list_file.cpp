#include "personlist/list_file.h"

#include "personlist/cp932.h"
#include "personlist/utf8.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <system_error>

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

ListFileError systemError(int error) { return {ListFileError::Kind::System, error}; }

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

// Closes a file descriptor on every way out.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor()
    {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    // Closes now, reporting the result: on some file systems close() is where a
    // delayed write error shows up.
    int close()
    {
        const int result = ::close(m_fd);
        m_fd = -1;
        return result;
    }

private:
    int m_fd;
};

// Reads exactly size bytes from offset, or reports why not. A file that ends
// early is TooShort (it may have shrunk since it was measured).
std::optional<ListFileError> readExactly(int fd, char* into, std::size_t size, off_t offset)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd, into + done, size - done, offset + static_cast<off_t>(done));
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return systemError(errno);
        }
        if (n == 0) {
            return ListFileError{ListFileError::Kind::TooShort};
        }
        done += static_cast<std::size_t>(n);
    }
    return std::nullopt;
}

// Writes every byte or reports why not. A write() that writes less than asked
// is carried on from where it stopped; the next call then names the error (a
// full disk, the file size limit).
std::optional<ListFileError> writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return systemError(errno);
        }
        if (n == 0) {
            return systemError(ENOSPC);
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return std::nullopt;
}

// The file a save really replaces: the target of a symbolic link (of a chain of
// them), so that the link itself stays a link.
struct SaveTarget {
    std::filesystem::path path;
    std::optional<struct stat> existing;  // the file there now, if any
    std::optional<ListFileError> error;
};

SaveTarget resolveSaveTarget(const std::filesystem::path& path)
{
    std::filesystem::path p = path;
    constexpr int MaxLinks = 40;  // the kernel's own limit for one lookup
    for (int hops = 0; hops <= MaxLinks; ++hops) {
        struct stat st {};
        if (::lstat(p.c_str(), &st) != 0) {
            if (errno != ENOENT) {
                return {p, std::nullopt, systemError(errno)};
            }
            return {p, std::nullopt, std::nullopt};
        }
        if (!S_ISLNK(st.st_mode)) {
            // Renaming over a folder fails anyway; over a device or a pipe it
            // would succeed and replace it, which no list save should do.
            if (!S_ISREG(st.st_mode)) {
                return {p, std::nullopt, ListFileError{ListFileError::Kind::NotAFile}};
            }
            return {p, st, std::nullopt};
        }
        std::error_code ec;
        const std::filesystem::path next = std::filesystem::read_symlink(p, ec);
        if (ec) {
            return {p, std::nullopt, systemError(ec.value())};
        }
        p = next.is_absolute() ? next : p.parent_path() / next;
    }
    return {p, std::nullopt, systemError(ELOOP)};
}

mode_t newFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
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
    const std::size_t personCount = check.persons;
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
    return {std::move(persons), std::nullopt};
}

ListFileContents readListFile(const std::filesystem::path& path)
{
    if (!cp932::available()) {
        return {{}, ListFileError{ListFileError::Kind::NoConverter}};
    }
    // O_NONBLOCK so that a named pipe picked by mistake fails the check below
    // instead of waiting for a writer; it changes nothing for a regular file.
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!fd.valid()) {
        return {{}, systemError(errno)};
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) {
        return {{}, systemError(errno)};
    }
    if (!S_ISREG(st.st_mode)) {
        return {{}, ListFileError{ListFileError::Kind::NotAFile}};
    }
    const auto fileSize = static_cast<std::uint64_t>(st.st_size);
    std::array<char, RecordSize> countRecord{};
    if (fileSize < RecordSize) {
        return {{}, ListFileError{ListFileError::Kind::TooShort}};
    }
    if (const auto error = readExactly(fd.get(), countRecord.data(), RecordSize, 0)) {
        return {{}, *error};
    }
    // Check the count against the file's length before reading (or reserving)
    // anything for it: a damaged count of 2,000,000,000 must not ask for 320 GB.
    const CountCheck check = checkCount(std::string_view(countRecord.data(), FieldSize), fileSize);
    if (check.error) {
        return {{}, check.error};
    }
    const std::size_t needed = fileSizeFor(check.persons + 1);
    const auto bytes = std::make_unique_for_overwrite<char[]>(needed);
    if (const auto error = readExactly(fd.get(), bytes.get(), needed, 0)) {
        return {{}, *error};
    }
    return parseListFile(std::string_view(bytes.get(), needed));
}

std::optional<ListFileError> writeListFile(const std::filesystem::path& path, const std::vector<Person>& persons)
{
    if (!cp932::available()) {
        return ListFileError{ListFileError::Kind::NoConverter};
    }
    const SaveTarget target = resolveSaveTarget(path);
    if (target.error) {
        return target.error;
    }
    const std::string bytes = listFileBytes(persons);

    std::filesystem::path directory = target.path.parent_path();
    if (directory.empty()) {
        directory = ".";
    }
    // A fixed short name rather than one made from the target's, which could
    // pass the file-name length limit once the random part is added.
    std::string temporary = (directory / ".orx-save-XXXXXX").string();
    FileDescriptor fd(::mkostemp(temporary.data(), O_CLOEXEC));
    if (!fd.valid()) {
        return systemError(errno);
    }
    const auto fail = [&](ListFileError error) {
        if (fd.valid()) {
            fd.close();
        }
        ::unlink(temporary.c_str());
        return error;
    };
    // The saved file keeps the permissions (and, where we may, the owner) of the
    // file it replaces; a new file gets the usual ones.
    if (target.existing) {
        ::fchmod(fd.get(), target.existing->st_mode & 07777);
        if (target.existing->st_uid != ::geteuid() || target.existing->st_gid != ::getegid()) {
            [[maybe_unused]] const int ignored = ::fchown(fd.get(), target.existing->st_uid, target.existing->st_gid);
        }
    } else {
        ::fchmod(fd.get(), newFileMode());
    }
    if (const auto error = writeAll(fd.get(), bytes)) {
        return fail(*error);
    }
    if (::fsync(fd.get()) != 0) {
        return fail(systemError(errno));
    }
    if (fd.close() != 0) {
        return fail(systemError(errno));
    }
    if (::rename(temporary.c_str(), target.path.c_str()) != 0) {
        return fail(systemError(errno));
    }
    // Make the new name itself durable; the data already is, so a failure here
    // changes nothing the user could act on.
    FileDescriptor dir(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.valid()) {
        ::fsync(dir.get());
    }
    return std::nullopt;
}

std::string reasonText(const ListFileError& error)
{
    switch (error.kind) {
    case ListFileError::Kind::NotAFile:
        return "通常のファイルではありません。";
    case ListFileError::Kind::NotANumber:
    case ListFileError::Kind::CountBelowOne:
        return "九星リストのファイルではありません。";
    case ListFileError::Kind::TooShort:
        return "ファイルが途中で切れています。";
    case ListFileError::Kind::NoConverter:
        return "文字コード(CP932)の変換表がありません。";
    case ListFileError::Kind::System:
        break;
    }
    switch (error.systemError) {
    case ENOSPC:
        return "ディスクの空きが足りません。";
    case EDQUOT:
        return "ディスクの使用量の上限を超えました。";
    case EFBIG:
        return "ファイルが大きすぎます。";
    case EACCES:
    case EPERM:
        return "アクセスが拒否されました。";
    case EROFS:
        return "書き込みのできない場所です。";
    case ENOENT:
    case ENOTDIR:
        return "フォルダが見つかりません。";
    case EISDIR:
        return "同じ名前のフォルダがあります。";
    case ENAMETOOLONG:
        return "ファイル名が長すぎます。";
    case ELOOP:
        return "リンクが循環しています。";
    case EIO:
        return "ディスクの読み書きに失敗しました。";
    default:
        return std::strerror(error.systemError);
    }
}

}  // namespace personlist
