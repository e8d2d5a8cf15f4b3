#pragma once

// The file-system side of list files, apart from their byte layout: opening a
// file for reading without ever waiting on a pipe or a device, finding the file
// a save really replaces, and replacing it so that a failed save leaves the old
// file byte for byte as it was, and no save leaves a stray file beside it.
//
// The calls themselves are each system's own (posix_calls.h, windows_calls.h);
// what this header offers is the same on both.

#include "fileio/file_error.h"
#include "fileio/save_watch.h"

#ifdef _WIN32
#include "fileio/windows_calls.h"
#else
#include "fileio/posix_calls.h"
#endif

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace fileio {

// A regular file opened for reading, with its length at the time it was opened.
struct OpenedFile {
    FileHandle fd;
    std::uint64_t size = 0;
    std::optional<FileError> error;  // set when there is no such file or it is no regular file
};

// Opens a regular file for reading. A folder, device or named pipe is NotAFile;
// a pipe picked by mistake fails at once instead of waiting for a writer.
OpenedFile openRegularFile(const std::filesystem::path& path);

// Fills `into` from the file at `offset`. A file that ends early is TooShort
// (it may have shrunk since it was opened).
std::optional<FileError> readExactly(const FileHandle& file, std::span<char> into, std::uint64_t offset);

// The file a save really replaces: the target of a symbolic link (of a chain of
// them), so that the link itself stays a link.
struct SaveTarget {
    std::filesystem::path path;
    std::optional<ExistingFile> existing;  // the file there now, if any
    std::optional<FileError> error;    // a loop, an unreadable link, or no regular file at the end
};

SaveTarget resolveSaveTarget(const std::filesystem::path& path);

// Replaces the target's file with these bytes, or creates it, asking `watch`
// before each step. How each system keeps the old file whole is told beside
// its calls.
[[nodiscard]] std::optional<FileError> replaceFile(const SaveTarget& target, std::string_view bytes,
                                                   SaveWatch& watch);
[[nodiscard]] std::optional<FileError> replaceFile(const SaveTarget& target, std::string_view bytes);

}  // namespace fileio
