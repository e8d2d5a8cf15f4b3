#pragma once

// The file-system side of list files, apart from their byte layout: opening a
// file for reading without ever waiting on a pipe, finding the file a save
// really replaces, and replacing it so that a failed save leaves the old file
// byte for byte as it was.

#include "personlist/list_file_error.h"

#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string_view>

namespace personlist {

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
    // Closes now, reporting the result: on some file systems close() is where a
    // delayed write error shows up.
    int close();

private:
    int m_fd;
};

// A regular file opened for reading, with its length at the time it was opened.
struct OpenedFile {
    FileDescriptor fd;
    std::uint64_t size = 0;
    std::optional<ListFileError> error;  // set when there is no such file or it is no regular file
};

// Opens a regular file for reading. A folder, device or named pipe is NotAFile;
// a pipe picked by mistake fails at once instead of waiting for a writer.
OpenedFile openRegularFile(const std::filesystem::path& path);

// Fills `into` from the file at `offset`. A file that ends early is TooShort
// (it may have shrunk since it was opened).
std::optional<ListFileError> readExactly(const FileDescriptor& file, std::span<char> into, std::uint64_t offset);

// The file a save really replaces: the target of a symbolic link (of a chain of
// them), so that the link itself stays a link.
struct SaveTarget {
    std::filesystem::path path;
    std::optional<struct stat> existing;  // the file there now, if any
    std::optional<ListFileError> error;   // a loop, an unreadable link, or no regular file at the end
};

SaveTarget resolveSaveTarget(const std::filesystem::path& path);

// Replaces the target's file with these bytes, or creates it. The bytes go to
// a new file beside it that is flushed to disk before it takes the target's
// name, so a failed save leaves an existing file byte for byte as it was and
// leaves no partial file. The new file keeps the old one's permissions (and,
// where the process may, its owner).
[[nodiscard]] std::optional<ListFileError> replaceFile(const SaveTarget& target, std::string_view bytes);

}  // namespace personlist
