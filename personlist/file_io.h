#pragma once

// The file-system side of list files, apart from their byte layout: opening a
// file for reading without ever waiting on a pipe or a device, finding the file
// a save really replaces, and replacing it so that a failed save leaves the old
// file byte for byte as it was, and no save leaves a stray file beside it.
//
// The calls themselves are each system's own (file_calls_posix.h,
// file_calls_windows.h); what list_file.cpp uses is the same on both.

#include "personlist/file_calls.h"
#include "personlist/list_file_error.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace personlist {

// A regular file opened for reading, with its length at the time it was opened.
struct OpenedFile {
    FileHandle fd;
    std::uint64_t size = 0;
    std::optional<ListFileError> error;  // set when there is no such file or it is no regular file
};

// Opens a regular file for reading. A folder, device or named pipe is NotAFile;
// a pipe picked by mistake fails at once instead of waiting for a writer.
OpenedFile openRegularFile(const std::filesystem::path& path);

// Fills `into` from the file at `offset`. A file that ends early is TooShort
// (it may have shrunk since it was opened).
std::optional<ListFileError> readExactly(const FileHandle& file, std::span<char> into, std::uint64_t offset);

// The file a save really replaces: the target of a symbolic link (of a chain of
// them), so that the link itself stays a link.
struct SaveTarget {
    std::filesystem::path path;
    std::optional<ExistingFile> existing;  // the file there now, if any
    std::optional<ListFileError> error;    // a loop, an unreadable link, or no regular file at the end
};

SaveTarget resolveSaveTarget(const std::filesystem::path& path);

// Replaces the target's file with these bytes, or creates it, through `calls`
// (a test's, to record or fail them; the worker's, to stop them). How each
// system keeps the old file whole is told beside its FileCalls.
[[nodiscard]] std::optional<ListFileError> replaceFile(const SaveTarget& target, std::string_view bytes,
                                                       FileCalls& calls);
[[nodiscard]] std::optional<ListFileError> replaceFile(const SaveTarget& target, std::string_view bytes);

// Whether Windows takes this file name (the last part of a path) for one of its
// devices in every folder: CON, PRN, AUX, NUL, COM1-9 and LPT1-9 (also with the
// superscript digits ¹²³), CONIN$ and CONOUT$, in any case, with any extension,
// and with the blanks and dots that Windows drops from the end of a name.
// Opening one would read the console or a port instead of a file.
bool isWindowsDeviceName(std::u16string_view fileName);

// A temporary name for the new file of a save: ".orx-save-" and six letters or
// digits, different for each attempt, process and moment.
std::string temporaryName(unsigned attempt, std::uint64_t process);

}  // namespace personlist
