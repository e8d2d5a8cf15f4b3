#pragma once

// Why a list file could not be opened or saved: refused by the file system
// (file_io.h), or no complete list (the byte layout, personlist/list_file.h).
// failureReason gives the text a user reads.

#include <string>

namespace fileio {

struct FileError {
    enum class Kind {
        System,         // the file system refused; systemError holds errno
        NotAFile,       // a folder, device or pipe where a list file should be
        NotANumber,     // the count record holds no whole decimal number
        CountBelowOne,  // a count of 0: even an empty list counts its header row
        TooShort,       // the file ends before the last record its count calls for
        OutOfMemory,    // the list does not fit in the memory the program may use
        FolderHoldsNoFiles,  // a folder that is there but makes no new files (/proc)
        InUse,          // another program holds the file open and lets no one else in
        OtherSystem,    // Windows refused with a code no errno stands for; systemError holds it
    };
    Kind kind;
    int systemError = 0;

    friend bool operator==(const FileError&, const FileError&) = default;
};

// Why, in the words of the message box (UTF-8, one sentence): short, and about
// the user's disk and file rather than the system call that refused. Always
// Japanese: an error without a text of its own gets a general one with its
// number, never the system's own message, which is English in most locales.
std::string failureReason(const FileError& error);

}  // namespace fileio
