#include "personlist/file_io.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>

namespace personlist {

namespace {

ListFileError systemError(int error) { return {ListFileError::Kind::System, error}; }

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

mode_t newFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
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

std::optional<ListFileError> replaceFile(const SaveTarget& target, std::string_view bytes)
{
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

}  // namespace personlist
