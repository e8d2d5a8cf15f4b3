#include "personlist/file_io.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <string>
#include <system_error>

namespace personlist {

namespace {

ListFileError systemError(int error) { return {ListFileError::Kind::System, error}; }

// Writes every byte or reports why not. A write() that writes less than asked
// is carried on from where it stopped; the next call then names the error (a
// full disk, the file size limit).
std::optional<ListFileError> writeAll(FileCalls& calls, int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = calls.write(fd, bytes.data(), bytes.size());
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

// A file that replaces another is created private and given the old file's
// permissions once it is open; a new list is created as any new file is, so
// that the umask (or the folder's default ACL) decides.
mode_t creationMode(const SaveTarget& target) { return target.existing ? 0600 : 0666; }

// The owner first: changing it clears the set-user-ID and set-group-ID bits
// that the mode then puts back. Failing to keep either is no reason to fail the
// save; the new file is then the user's own, private one.
void keepOwnerAndPermissions(FileCalls& calls, int fd, const SaveTarget& target)
{
    if (!target.existing) {
        return;
    }
    if (target.existing->st_uid != ::geteuid() || target.existing->st_gid != ::getegid()) {
        calls.fchown(fd, target.existing->st_uid, target.existing->st_gid);
    }
    calls.fchmod(fd, target.existing->st_mode & 07777);
}

std::optional<ListFileError> writeAndFlush(FileCalls& calls, int fd, const SaveTarget& target, std::string_view bytes)
{
    keepOwnerAndPermissions(calls, fd, target);
    if (const auto error = writeAll(calls, fd, bytes)) {
        return error;
    }
    if (calls.fsync(fd) != 0) {
        return systemError(errno);
    }
    return std::nullopt;
}

// ".orx-save-" and six letters or digits: a fixed short prefix rather than one
// made from the target's name, which could pass the file-name length limit. A
// name that is taken costs one more attempt, so the six characters only need to
// differ between attempts, processes and moments, not to be unguessable.
std::string temporaryName(unsigned attempt)
{
    static constexpr std::string_view Characters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    auto x = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    x ^= static_cast<std::uint64_t>(::getpid()) << 40;
    x += (attempt + 1) * 0x9E3779B97F4A7C15ULL;
    // The mixing step of splitmix64: nearby inputs give unrelated outputs.
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    x ^= x >> 31;
    std::string name = ".orx-save-";
    for (int i = 0; i < 6; ++i) {
        name += Characters[x % Characters.size()];
        x /= Characters.size();
    }
    return name;
}

constexpr unsigned NameAttempts = 100;

// The new file, complete and flushed, under its temporary name in the folder;
// or why not; or neither, when the folder cannot hold an unnamed file and the
// named way must be taken.
struct Staged {
    std::string name;
    std::optional<ListFileError> error;
    bool noUnnamedFiles = false;
};

Staged stageUnnamed(FileCalls& calls, int folder, const SaveTarget& target, std::string_view bytes)
{
    FileDescriptor file(calls.openat(folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, creationMode(target)));
    if (!file.valid()) {
        // EOPNOTSUPP: a file system without unnamed files; EISDIR: a kernel
        // older than O_TMPFILE, which sees only O_DIRECTORY; EINVAL: what some
        // network and FUSE file systems say instead.
        if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL) {
            return {{}, std::nullopt, true};
        }
        return {{}, systemError(errno)};
    }
    if (const auto error = writeAndFlush(calls, file.get(), target, bytes)) {
        return {{}, error};
    }
    // Named only now that every byte is on disk. Through /proc/self/fd with
    // AT_SYMLINK_FOLLOW, which any user may do; linkat with AT_EMPTY_PATH would
    // need CAP_DAC_READ_SEARCH on the kernels this program runs on.
    const std::string self = "/proc/self/fd/" + std::to_string(file.get());
    for (unsigned attempt = 0; attempt < NameAttempts; ++attempt) {
        std::string name = temporaryName(attempt);
        if (calls.linkat(AT_FDCWD, self.c_str(), folder, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            if (calls.close(file.release()) != 0) {
                const int error = errno;
                calls.unlinkat(folder, name.c_str(), 0);
                return {{}, systemError(error)};
            }
            return {std::move(name), std::nullopt};
        }
        if (errno == ENOENT) {
            // No /proc (a chroot, a container without it): the file cannot be
            // named, so it is written again the named way. A folder removed
            // meanwhile gives ENOENT too, and the named way then reports it.
            return {{}, std::nullopt, true};
        }
        if (errno != EEXIST) {
            return {{}, systemError(errno)};
        }
    }
    return {{}, systemError(EEXIST)};
}

Staged stageNamed(FileCalls& calls, int folder, const SaveTarget& target, std::string_view bytes)
{
    FileDescriptor file;
    std::string name;
    for (unsigned attempt = 0; attempt < NameAttempts && !file.valid(); ++attempt) {
        name = temporaryName(attempt);
        file = FileDescriptor(
            calls.openat(folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, creationMode(target)));
        if (!file.valid() && errno != EEXIST) {
            return {{}, systemError(errno)};
        }
    }
    if (!file.valid()) {
        return {{}, systemError(EEXIST)};
    }
    std::optional<ListFileError> error = writeAndFlush(calls, file.get(), target, bytes);
    if (!error && calls.close(file.release()) != 0) {
        error = systemError(errno);
    }
    if (error) {
        calls.unlinkat(folder, name.c_str(), 0);
        return {{}, error};
    }
    return {std::move(name), std::nullopt};
}

FileDescriptor openFolder(FileCalls& calls, const std::filesystem::path& path)
{
    FileDescriptor folder(calls.openat(AT_FDCWD, path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0));
    if (!folder.valid() && errno == EACCES) {
        // A folder the user may write in but not list: O_PATH still serves
        // the calls below; only flushing the folder then fails, which the saved
        // bytes do not depend on.
        folder = FileDescriptor(calls.openat(AT_FDCWD, path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC, 0));
    }
    return folder;
}

}  // namespace

FileDescriptor::~FileDescriptor()
{
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
        m_fd = other.m_fd;
        other.m_fd = -1;
    }
    return *this;
}

int FileDescriptor::close()
{
    const int result = ::close(m_fd);
    m_fd = -1;
    return result;
}

OpenedFile openRegularFile(const std::filesystem::path& path)
{
    // O_NONBLOCK so that a named pipe picked by mistake fails the check below
    // instead of waiting for a writer; it changes nothing for a regular file.
    OpenedFile file{FileDescriptor(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK)), 0, {}};
    if (!file.fd.valid()) {
        file.error = systemError(errno);
        return file;
    }
    struct stat st {};
    if (::fstat(file.fd.get(), &st) != 0) {
        file.error = systemError(errno);
    } else if (!S_ISREG(st.st_mode)) {
        file.error = ListFileError{ListFileError::Kind::NotAFile};
    } else {
        file.size = static_cast<std::uint64_t>(st.st_size);
    }
    return file;
}

std::optional<ListFileError> readExactly(const FileDescriptor& file, std::span<char> into, std::uint64_t offset)
{
    std::size_t done = 0;
    while (done < into.size()) {
        const ssize_t n =
            ::pread(file.get(), into.data() + done, into.size() - done, static_cast<off_t>(offset + done));
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

int FileCalls::openat(int folder, const char* path, int flags, mode_t mode)
{
    return ::openat(folder, path, flags, mode);
}
ssize_t FileCalls::write(int fd, const void* data, std::size_t size) { return ::write(fd, data, size); }
int FileCalls::fsync(int fd) { return ::fsync(fd); }
int FileCalls::fchmod(int fd, mode_t mode) { return ::fchmod(fd, mode); }
int FileCalls::fchown(int fd, uid_t owner, gid_t group) { return ::fchown(fd, owner, group); }
int FileCalls::linkat(int fromFolder, const char* from, int toFolder, const char* to, int flags)
{
    return ::linkat(fromFolder, from, toFolder, to, flags);
}
int FileCalls::renameat(int fromFolder, const char* from, int toFolder, const char* to)
{
    return ::renameat(fromFolder, from, toFolder, to);
}
int FileCalls::unlinkat(int folder, const char* path, int flags) { return ::unlinkat(folder, path, flags); }
int FileCalls::close(int fd) { return ::close(fd); }

std::optional<ListFileError> replaceFile(const SaveTarget& target, std::string_view bytes, FileCalls& calls)
{
    const std::filesystem::path folderPath = target.path.has_parent_path() ? target.path.parent_path() : ".";
    const FileDescriptor folder = openFolder(calls, folderPath);
    if (!folder.valid()) {
        return systemError(errno);
    }
    // Everything that allocates comes before the new file gets a name.
    const std::string targetName = target.path.filename().string();
    Staged staged = stageUnnamed(calls, folder.get(), target, bytes);
    if (staged.noUnnamedFiles) {
        staged = stageNamed(calls, folder.get(), target, bytes);
    }
    if (staged.error) {
        return staged.error;
    }
    if (calls.renameat(folder.get(), staged.name.c_str(), folder.get(), targetName.c_str()) != 0) {
        const int error = errno;
        calls.unlinkat(folder.get(), staged.name.c_str(), 0);
        return systemError(error);
    }
    // Makes the new name itself durable; the bytes already are, so a failure
    // here changes nothing the user could act on.
    calls.fsync(folder.get());
    return std::nullopt;
}

std::optional<ListFileError> replaceFile(const SaveTarget& target, std::string_view bytes)
{
    FileCalls calls;
    return replaceFile(target, bytes, calls);
}

}  // namespace personlist
