#pragma once

// The POSIX side of file_io.h: descriptors, and the calls replaceFile makes.
// file_io.h brings it along for its handles; only fileio and its tests make
// the calls.

#include <sys/stat.h>
#include <sys/types.h>

#include "fileio/file_error.h"
#include "fileio/save_watch.h"

#include <cstddef>
#include <optional>
#include <string_view>

namespace fileio {

// Closes a file descriptor on every way out.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : m_fd(fd) {}
    ~FileDescriptor();
    FileDescriptor(FileDescriptor&& other) noexcept : m_fd(other.m_fd) { other.m_fd = -1; }
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    // Hands the descriptor over without closing it.
    int release()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }
    // Closes now, reporting the result: on some file systems close() is where a
    // delayed write error shows up.
    int close();

private:
    int m_fd;
};

using FileHandle = FileDescriptor;

// The file a save is about to replace, as resolveSaveTarget found it.
using ExistingFile = struct stat;

// The system calls that replaceFile makes, one virtual function each, with the
// call's own arguments and result (-1 and errno on failure). The defaults make
// the real calls; a test overrides some of them to record the order of the
// calls or to make one of them fail.
class PosixCalls {
public:
    PosixCalls() = default;
    PosixCalls(const PosixCalls&) = delete;
    PosixCalls& operator=(const PosixCalls&) = delete;
    virtual ~PosixCalls() = default;

    virtual int openat(int folder, const char* path, int flags, mode_t mode);
    virtual ssize_t write(int fd, const void* data, std::size_t size);
    virtual int fsync(int fd);
    virtual int fchmod(int fd, mode_t mode);
    virtual int fchown(int fd, uid_t owner, gid_t group);
    virtual int faccessat(int folder, const char* path, int mode, int flags);
    virtual int fsetxattr(int fd, const char* name, const void* value, std::size_t size, int flags);
    virtual int fremovexattr(int fd, const char* name);
    virtual int linkat(int fromFolder, const char* from, int toFolder, const char* to, int flags);
    virtual int renameat(int fromFolder, const char* from, int toFolder, const char* to);
    virtual int unlinkat(int folder, const char* path, int flags);
    virtual int close(int fd);
};

// Passes every call on to `inner` once the watch lets its step go on. A
// refused call fails with ECANCELED (a refused unnamed file as one the file
// system does not have), while close and unlink still run, so that the new
// file is closed and removed on the way out.
class WatchedCalls final : public PosixCalls {
public:
    WatchedCalls(PosixCalls& inner, SaveWatch& watch) : m_inner(inner), m_watch(watch) {}

    int openat(int folder, const char* path, int flags, mode_t mode) override;
    ssize_t write(int fd, const void* data, std::size_t size) override;
    int fsync(int fd) override;
    int fchmod(int fd, mode_t mode) override;
    int fchown(int fd, uid_t owner, gid_t group) override;
    int faccessat(int folder, const char* path, int mode, int flags) override;
    int fsetxattr(int fd, const char* name, const void* value, std::size_t size, int flags) override;
    int fremovexattr(int fd, const char* name) override;
    int linkat(int fromFolder, const char* from, int toFolder, const char* to, int flags) override;
    int renameat(int fromFolder, const char* from, int toFolder, const char* to) override;
    int unlinkat(int folder, const char* path, int flags) override;
    int close(int fd) override;

private:
    bool refuse(SaveStep step) const { return !m_watch.proceed(step); }

    PosixCalls& m_inner;
    SaveWatch& m_watch;
};

// How replaceFile saves on POSIX systems.
//
// Replaces the target's file with these bytes, or creates it. The bytes go to
// a new file in the target's folder that has no name at all (O_TMPFILE) until
// they are flushed to disk; it then gets a temporary name and is renamed over
// the target, and the folder is flushed. So a save that fails, or a program
// killed while writing, leaves an existing file byte for byte as it was and no
// other file beside it; only a program killed in the instant between the
// naming and the rename leaves the complete new list under its temporary name.
// Where the file system has no unnamed files, the new file is named from the
// start and removed on failure; a killed program can then leave it behind.
//
// The rename needs only the folder's permission, so a file the user may not
// write (read-only, or another user's in a folder open to others) is refused
// with EACCES before anything is written, as writing into it would be; root
// may write any file and so may save over it. The new file keeps the old one's
// permissions, its extended attributes (the access ACL and user.* among them,
// where the file system has them and lets them be set) and, where the process
// may, its owner and group; a new list gets what any new file in that folder
// gets. A folder that exists but makes no files (/proc) is FolderHoldsNoFiles.

// The calls replaceFile makes on this system.
using SystemCalls = PosixCalls;

struct SaveTarget;

// replaceFile through these calls: a test's, to record or fail them.
[[nodiscard]] std::optional<FileError> replaceFile(const SaveTarget& target, std::string_view bytes,
                                                   PosixCalls& calls);

}  // namespace fileio
