#pragma once

// The files a careless user points the list dialogs at, in a scratch folder of
// their own, and what the soak expects each of them to hold.
//
// A slot is one answer to the file dialog: what was typed, the file the program
// really works on (the dialog adds ".orx" to a name typed without an extension)
// and whether a save there can succeed at all. The state of each file is kept as
// the soak last left it: a list saved by the program (with the persons as the file
// stores them), some other file, a folder, or nothing.

#include "personlist/person.h"
#include "soak/texts.h"

#include <QString>

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace soak {

struct Slot {
    QString typed;   // the path the dialog returns
    QString target;  // the file the command reads or replaces
    bool writable;   // false where even root cannot create a file
};

struct FileState {
    enum class Kind { Missing, List, Other, Folder } kind = Kind::Missing;
    std::vector<personlist::Person> persons;  // for a List: as opening it must show them
};

// A person as a list file keeps it: each field cut to 20 CP932 bytes, decoded, and
// its runs of blanks trimmed, exactly as opening the file shows it.
personlist::Person asStored(const personlist::Person& person);

class ListFiles {
public:
    explicit ListFiles(Random& random);
    ~ListFiles();
    ListFiles(const ListFiles&) = delete;
    ListFiles& operator=(const ListFiles&) = delete;

    const std::vector<Slot>& choices() const { return m_slots; }
    FileState& state(const QString& target) { return m_states[target]; }

    // The bytes at the target now, or nothing when no regular file is there.
    std::optional<std::string> bytes(const QString& target) const;

    // Another program rewrites or removes a file behind the list's back.
    void scribble(Random& random);

    // Save's temporary files that were left behind, if any.
    std::vector<std::string> leftovers() const;

    const std::filesystem::path& root() const { return m_root; }

private:
    void addSlot(const QString& typed, const QString& target, bool writable, FileState state);
    void writeNoise(const QString& target, Random& random);

    std::filesystem::path m_root;
    std::vector<Slot> m_slots;
    std::map<QString, FileState> m_states;
};

}  // namespace soak
