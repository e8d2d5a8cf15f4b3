#include "fileio/file_io.h"
#include "fileio/file_names.h"

#include <fcntl.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

namespace fileio {

namespace {

FileError systemError(int error) { return {FileError::Kind::System, error}; }

// Writes every byte or reports why not. A write() that writes less than asked
// is carried on from where it stopped; the next call then names the error (a
// full disk, the file size limit).
std::optional<FileError> writeAll(PosixCalls& calls, int fd, std::string_view bytes)
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

// The file a save is about to replace, as it is at that moment: what the
// folder holds under the target's name now, not what it held when the save
// began. Named by an O_PATH descriptor, which needs no permission on the file
// itself and never follows a link, so the checks and the attributes are those of
// the very file the rename replaces.
struct OldFile {
    FileDescriptor fd;
    std::optional<struct stat> st;  // none: a new list
    std::vector<std::pair<std::string, std::string>> attributes;
    std::optional<FileError> error;
};

constexpr const char* AccessAcl = "system.posix_acl_access";

// A list of attribute names or an attribute's value, asked for size first; a
// value that grows between the two calls is asked for again.
template <typename Read>
std::optional<std::string> readGrowing(Read read)
{
    for (int attempt = 0; attempt < 4; ++attempt) {
        const ssize_t size = read(nullptr, 0);
        if (size < 0) {
            return std::nullopt;
        }
        std::string buffer(static_cast<std::size_t>(size), '\0');
        const ssize_t got = read(buffer.data(), buffer.size());
        if (got >= 0) {
            buffer.resize(static_cast<std::size_t>(got));
            return buffer;
        }
        if (errno != ERANGE) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

// Through /proc/self/fd, since an O_PATH descriptor takes no attribute calls of
// its own; without /proc the new file simply gets none. An attribute the user
// may not read is left out.
std::vector<std::pair<std::string, std::string>> readAttributes(int fd)
{
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    const std::optional<std::string> names =
        readGrowing([&](char* into, std::size_t size) { return ::listxattr(self.c_str(), into, size); });
    std::vector<std::pair<std::string, std::string>> attributes;
    if (!names) {
        return attributes;
    }
    for (std::size_t at = 0; at < names->size();) {
        std::string name = names->c_str() + at;
        at += name.size() + 1;
        std::optional<std::string> value = readGrowing(
            [&](char* into, std::size_t size) { return ::getxattr(self.c_str(), name.c_str(), into, size); });
        if (value) {
            attributes.emplace_back(std::move(name), std::move(*value));
        }
    }
    return attributes;
}

// Whether the user may write the file itself, by the effective ids and with its
// ACL, as the kernel would judge an open for writing. Kernels before 5.8 take
// no flags here; the file's entry in /proc/self/fd is then the same file.
int mayWrite(PosixCalls& calls, int fd)
{
    if (calls.faccessat(fd, "", W_OK, AT_EACCESS | AT_EMPTY_PATH) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return errno;
    }
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    if (calls.faccessat(AT_FDCWD, self.c_str(), W_OK, AT_EACCESS) == 0) {
        return 0;
    }
    // Neither way can tell (an old kernel without /proc): the save goes on, as
    // writing into the file would be judged by the file system alone.
    return errno == ENOENT ? 0 : errno;
}

OldFile inspectOld(PosixCalls& calls, int folder, const std::string& name)
{
    OldFile old;
    old.fd = FileDescriptor(calls.openat(folder, name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC, 0));
    if (!old.fd.valid()) {
        // Gone since the save began: then it is a new list.
        if (errno != ENOENT) {
            old.error = systemError(errno);
        }
        return old;
    }
    struct stat st {};
    if (::fstat(old.fd.get(), &st) != 0) {
        old.error = systemError(errno);
    } else if (!S_ISREG(st.st_mode)) {
        old.error = FileError{FileError::Kind::NotAFile};
    } else if (const int refused = mayWrite(calls, old.fd.get())) {
        old.error = systemError(refused);
    } else {
        old.st = st;
        old.attributes = readAttributes(old.fd.get());
    }
    return old;
}

// A file that replaces another is created private and given the old file's
// permissions once it is open; a new list is created as any new file is, so
// that the umask (or the folder's default ACL) decides.
mode_t creationMode(const OldFile& old) { return old.st ? 0600 : 0666; }

// The owner first: changing it clears the set-user-ID and set-group-ID bits
// and file capabilities. Then the attributes, the ACL among them, which also
// sets the group bits of the mode to the ACL's mask. The mode last, so that the
// file gets exactly the old mode even where an attribute was refused. Failing
// to keep any of them is no reason to fail the save; the new file is then the
// user's own, with the old mode where the user may set it.
void keepOwnerAndPermissions(PosixCalls& calls, int fd, const OldFile& old)
{
    if (!old.st) {
        return;
    }
    if (old.st->st_uid != ::geteuid() || old.st->st_gid != ::getegid()) {
        calls.fchown(fd, old.st->st_uid, old.st->st_gid);
    }
    bool hadAcl = false;
    for (const auto& [name, value] : old.attributes) {
        hadAcl = hadAcl || name == AccessAcl;
        calls.fsetxattr(fd, name.c_str(), value.data(), value.size(), 0);
    }
    // A folder with a default ACL gives every new file an ACL of its own,
    // which would let others in where the old file did not.
    if (!hadAcl && ::fgetxattr(fd, AccessAcl, nullptr, 0) >= 0) {
        calls.fremovexattr(fd, AccessAcl);
    }
    calls.fchmod(fd, old.st->st_mode & 07777);
}

std::optional<FileError> writeAndFlush(PosixCalls& calls, int fd, const OldFile& old, std::string_view bytes)
{
    keepOwnerAndPermissions(calls, fd, old);
    if (const auto error = writeAll(calls, fd, bytes)) {
        return error;
    }
    if (calls.fsync(fd) != 0) {
        return systemError(errno);
    }
    return std::nullopt;
}

std::string temporaryName(unsigned attempt)
{
    return fileio::temporaryName(attempt, static_cast<std::uint64_t>(::getpid()));
}

constexpr unsigned NameAttempts = 100;

// The new file, complete and flushed, under its temporary name in the folder;
// or why not; or neither, when the folder cannot hold an unnamed file and the
// named way must be taken.
struct Staged {
    std::string name;
    std::optional<FileError> error;
    bool noUnnamedFiles = false;
};

Staged stageUnnamed(PosixCalls& calls, int folder, const OldFile& old, std::string_view bytes)
{
    FileDescriptor file(calls.openat(folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, creationMode(old)));
    if (!file.valid()) {
        // EOPNOTSUPP: a file system without unnamed files; EISDIR: a kernel
        // older than O_TMPFILE, which sees only O_DIRECTORY; EINVAL: what some
        // network and FUSE file systems say instead.
        if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL) {
            return {{}, std::nullopt, true};
        }
        return {{}, systemError(errno)};
    }
    if (const auto error = writeAndFlush(calls, file.get(), old, bytes)) {
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

// A folder that is there gives ENOENT to a new name only where its file system
// makes no files, as /proc and its like do; one removed since it was opened
// gives it too, and is then said to be missing.
FileError creationError(int folder, int error)
{
    struct stat st {};
    if (error == ENOENT && ::fstat(folder, &st) == 0 && st.st_nlink > 0) {
        return FileError{FileError::Kind::FolderHoldsNoFiles};
    }
    return systemError(error);
}

Staged stageNamed(PosixCalls& calls, int folder, const OldFile& old, std::string_view bytes)
{
    FileDescriptor file;
    std::string name;
    for (unsigned attempt = 0; attempt < NameAttempts && !file.valid(); ++attempt) {
        name = temporaryName(attempt);
        file = FileDescriptor(
            calls.openat(folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, creationMode(old)));
        if (!file.valid() && errno != EEXIST) {
            return {{}, creationError(folder, errno)};
        }
    }
    if (!file.valid()) {
        return {{}, systemError(EEXIST)};
    }
    std::optional<FileError> error = writeAndFlush(calls, file.get(), old, bytes);
    if (!error && calls.close(file.release()) != 0) {
        error = systemError(errno);
    }
    if (error) {
        calls.unlinkat(folder, name.c_str(), 0);
        return {{}, error};
    }
    return {std::move(name), std::nullopt};
}

FileDescriptor openFolder(PosixCalls& calls, const std::filesystem::path& path)
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
        file.error = FileError{FileError::Kind::NotAFile};
    } else {
        file.size = static_cast<std::uint64_t>(st.st_size);
    }
    return file;
}

std::optional<FileError> readExactly(const FileDescriptor& file, std::span<char> into, std::uint64_t offset)
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
            return FileError{FileError::Kind::TooShort};
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
                return {p, std::nullopt, FileError{FileError::Kind::NotAFile}};
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

int PosixCalls::openat(int folder, const char* path, int flags, mode_t mode)
{
    return ::openat(folder, path, flags, mode);
}
ssize_t PosixCalls::write(int fd, const void* data, std::size_t size) { return ::write(fd, data, size); }
int PosixCalls::fsync(int fd) { return ::fsync(fd); }
int PosixCalls::fchmod(int fd, mode_t mode) { return ::fchmod(fd, mode); }
int PosixCalls::fchown(int fd, uid_t owner, gid_t group) { return ::fchown(fd, owner, group); }
int PosixCalls::faccessat(int folder, const char* path, int mode, int flags)
{
    return ::faccessat(folder, path, mode, flags);
}
int PosixCalls::fsetxattr(int fd, const char* name, const void* value, std::size_t size, int flags)
{
    return ::fsetxattr(fd, name, value, size, flags);
}
int PosixCalls::fremovexattr(int fd, const char* name) { return ::fremovexattr(fd, name); }
int PosixCalls::linkat(int fromFolder, const char* from, int toFolder, const char* to, int flags)
{
    return ::linkat(fromFolder, from, toFolder, to, flags);
}
int PosixCalls::renameat(int fromFolder, const char* from, int toFolder, const char* to)
{
    return ::renameat(fromFolder, from, toFolder, to);
}
int PosixCalls::unlinkat(int folder, const char* path, int flags) { return ::unlinkat(folder, path, flags); }
int PosixCalls::close(int fd) { return ::close(fd); }

std::optional<FileError> replaceFile(const SaveTarget& target, std::string_view bytes, PosixCalls& calls)
{
    const std::filesystem::path folderPath = target.path.has_parent_path() ? target.path.parent_path() : ".";
    const FileDescriptor folder = openFolder(calls, folderPath);
    if (!folder.valid()) {
        return systemError(errno);
    }
    // Everything that allocates comes before the new file gets a name.
    const std::string targetName = target.path.filename().string();
    const OldFile old = inspectOld(calls, folder.get(), targetName);
    if (old.error) {
        return old.error;
    }
    Staged staged = stageUnnamed(calls, folder.get(), old, bytes);
    if (staged.noUnnamedFiles) {
        staged = stageNamed(calls, folder.get(), old, bytes);
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

// Each call as the step of a save it takes. A refusal sets errno as the call
// would have failed.
int WatchedCalls::openat(int folder, const char* path, int flags, mode_t mode)
{
    if ((flags & O_TMPFILE) == O_TMPFILE) {
        if (refuse(SaveStep::CreateUnnamed)) {
            errno = EOPNOTSUPP;
            return -1;
        }
    } else if (refuse((flags & O_CREAT) != 0 ? SaveStep::Create : SaveStep::Look)) {
        errno = ECANCELED;
        return -1;
    }
    return m_inner.openat(folder, path, flags, mode);
}

namespace {

// -1 with ECANCELED when the watch refuses the step, else what `call` returns.
template <typename Call>
auto unlessRefused(bool refused, Call call) -> decltype(call())
{
    if (refused) {
        errno = ECANCELED;
        return -1;
    }
    return call();
}

}  // namespace

ssize_t WatchedCalls::write(int fd, const void* data, std::size_t size)
{
    return unlessRefused(refuse(SaveStep::Write), [&] { return m_inner.write(fd, data, size); });
}
int WatchedCalls::fsync(int fd)
{
    return unlessRefused(refuse(SaveStep::Flush), [&] { return m_inner.fsync(fd); });
}
int WatchedCalls::fchmod(int fd, mode_t mode)
{
    return unlessRefused(refuse(SaveStep::KeepAttributes), [&] { return m_inner.fchmod(fd, mode); });
}
int WatchedCalls::fchown(int fd, uid_t owner, gid_t group)
{
    return unlessRefused(refuse(SaveStep::KeepAttributes), [&] { return m_inner.fchown(fd, owner, group); });
}
// Only asks: refusing it would read as "not allowed", not as stopped.
int WatchedCalls::faccessat(int folder, const char* path, int mode, int flags)
{
    return m_inner.faccessat(folder, path, mode, flags);
}
int WatchedCalls::fsetxattr(int fd, const char* name, const void* value, std::size_t size, int flags)
{
    return unlessRefused(refuse(SaveStep::KeepAttributes),
                         [&] { return m_inner.fsetxattr(fd, name, value, size, flags); });
}
int WatchedCalls::fremovexattr(int fd, const char* name)
{
    return unlessRefused(refuse(SaveStep::KeepAttributes), [&] { return m_inner.fremovexattr(fd, name); });
}
int WatchedCalls::linkat(int fromFolder, const char* from, int toFolder, const char* to, int flags)
{
    return unlessRefused(refuse(SaveStep::Replace), [&] { return m_inner.linkat(fromFolder, from, toFolder, to, flags); });
}
int WatchedCalls::renameat(int fromFolder, const char* from, int toFolder, const char* to)
{
    return unlessRefused(refuse(SaveStep::Replace), [&] { return m_inner.renameat(fromFolder, from, toFolder, to); });
}
int WatchedCalls::unlinkat(int folder, const char* path, int flags) { return m_inner.unlinkat(folder, path, flags); }
int WatchedCalls::close(int fd) { return m_inner.close(fd); }

}  // namespace fileio
