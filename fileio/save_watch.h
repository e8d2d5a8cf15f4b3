#pragma once

// What a save asks of whoever runs it, the same on every system: whether to
// take its next step. The list commands' worker stops a save the user no longer
// waits for through it; a test holds a save at its write.

#include <cstdint>

namespace fileio {

// The steps of a save that may wait on a disk.
enum class SaveStep : std::uint8_t {
    Look,            // at the file to be replaced and the folder, and whether the user may write it
    CreateUnnamed,   // the new file, with no name yet (where the file system has such files)
    Create,          // the new file, under a temporary name
    Write,           // the list's bytes
    Flush,           // the new file to disk
    KeepAttributes,  // the old file's owner, permissions and attributes on the new one
    Replace,         // the new file in the old one's place, and its folder flushed
};

class SaveWatch {
public:
    SaveWatch() = default;
    SaveWatch(const SaveWatch&) = delete;
    SaveWatch& operator=(const SaveWatch&) = delete;
    virtual ~SaveWatch() = default;

    // Asked before each step. False refuses it: the save fails as cancelled,
    // closing and removing its new file on the way out (those always run), and
    // the old file stays byte for byte as it was. A refused CreateUnnamed only
    // makes the save name its new file from the start.
    virtual bool proceed(SaveStep step) = 0;
};

// The watch of a save that nobody stops.
class Unwatched final : public SaveWatch {
public:
    bool proceed(SaveStep /*step*/) override { return true; }
};

}  // namespace fileio
