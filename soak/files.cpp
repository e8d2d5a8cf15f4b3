#include "soak/files.h"

#include "personlist/list_file.h"

#include <QFile>

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace soak {

namespace {

std::filesystem::path local(const QString& path) { return QFile::encodeName(path).toStdString(); }

void writeFile(const QString& path, const std::string& bytes)
{
    std::ofstream out(local(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string field(const std::string& text)
{
    const personlist::FieldBytes f = personlist::encodeField(text);
    return std::string(f.data(), f.size()) + std::string(personlist::FieldSize, '\0');
}

std::string storedField(const std::string& text)
{
    const personlist::FieldBytes f = personlist::encodeField(text);
    return personlist::trimBlankPairs(personlist::decodeField(std::string_view(f.data(), f.size())));
}

// Every save flushes its file and its folder to disk, and a soak saves hundreds
// of times: on a disk that is most of its run time, on a RAM file system none.
// The file system calls a save makes are the same on both.
std::filesystem::path scratchParent()
{
    std::error_code ec;
    const std::filesystem::path shm = "/dev/shm";
    if (std::filesystem::is_directory(shm, ec) && ::access(shm.c_str(), W_OK) == 0) {
        return shm;
    }
    return std::filesystem::temp_directory_path();
}

}  // namespace

personlist::Person asStored(const personlist::Person& person)
{
    return {storedField(person.name), storedField(person.year), storedField(person.month), storedField(person.day)};
}

ListFiles::ListFiles(Random& random)
{
    std::string pattern = (scratchParent() / "kyusei-soak-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a scratch folder");
    }
    m_root = pattern;
    const QString root = QFile::decodeName(m_root.c_str()) + u'/';
    using Kind = FileState::Kind;

    // Names the program saves to and opens, with and without the extension.
    addSlot(root + "a.orx", root + "a.orx", true, {});
    addSlot(root + "b", root + "b.orx", true, {});
    addSlot(root + "名簿 一覧.orx", root + "名簿 一覧.orx", true, {});
    addSlot(root + "notes.txt", root + "notes.txt", true, {});

    // A list that some earlier session saved.
    const std::vector<personlist::Person> earlier = {
        {"山田", "1960", "3", "12"}, {"a  b   c", "１９８０", "13", ""}, {"寿限無寿限無五劫の擦り切れ", "x", " 5", "😀"}};
    if (personlist::writeListFile(local(root + "list.orx"), earlier)) {
        throw std::runtime_error("cannot write the starting list");
    }
    FileState saved{Kind::List, {}};
    for (const personlist::Person& p : earlier) {
        saved.persons.push_back(asStored(p));
    }
    addSlot(root + "list.orx", root + "list.orx", true, saved);
    addSlot(root + "list", root + "list.orx", true, saved);

    // Files that are no list: random bytes, nothing at all, a list cut short,
    // a count of 0, a text file.
    writeNoise(root + "noise.orx", random);
    addSlot(root + "noise.orx", root + "noise.orx", true, {Kind::Other, {}});
    writeFile(root + "empty.orx", {});
    addSlot(root + "empty.orx", root + "empty.orx", true, {Kind::Other, {}});
    writeFile(root + "cut.orx", field("5") + field("山田") + field("1960"));
    addSlot(root + "cut.orx", root + "cut.orx", true, {Kind::Other, {}});
    writeFile(root + "zero.orx", field("0") + field("山田") + field("1960") + field("3") + field("12"));
    addSlot(root + "zero.orx", root + "zero.orx", true, {Kind::Other, {}});
    writeFile(root + "plain.txt", "not a list\n");
    addSlot(root + "plain.txt", root + "plain.txt", true, {Kind::Other, {}});

    // Places no save can succeed: folders, a folder that is not there, a path
    // below a regular file, and /proc, which even root cannot create files in
    // (directly, and through a link to one of its files).
    std::filesystem::create_directory(m_root / "folder");
    std::filesystem::create_directory(m_root / "folder.orx");
    addSlot(root + "folder", root + "folder", false, {Kind::Folder, {}});
    addSlot(root + "folder.orx", root + "folder.orx", false, {Kind::Folder, {}});
    addSlot(root + "missing/x.orx", root + "missing/x.orx", false, {});
    addSlot(root + "plain.txt/x.orx", root + "plain.txt/x.orx", false, {});
    std::filesystem::create_symlink("/proc/version", m_root / "proc.orx");
    addSlot(root + "proc.orx", root + "proc.orx", false, {Kind::Other, {}});
    addSlot(QStringLiteral("/proc/kyusei-soak.orx"), QStringLiteral("/proc/kyusei-soak.orx"), false, {});
}

ListFiles::~ListFiles()
{
    std::error_code ec;
    std::filesystem::remove_all(m_root, ec);
}

void ListFiles::addSlot(const QString& typed, const QString& target, bool writable, FileState state)
{
    m_slots.push_back({typed, target, writable});
    m_states.emplace(target, std::move(state));
}

void ListFiles::writeNoise(const QString& target, Random& random)
{
    std::uniform_int_distribution<int> byte(0, 255);
    std::string bytes(static_cast<std::size_t>(std::uniform_int_distribution<int>(1, 2000)(random)), '\0');
    for (char& b : bytes) {
        b = static_cast<char>(byte(random));
    }
    // Never a digit or a blank first, so that no count can be read from it.
    bytes[0] = static_cast<char>(std::uniform_int_distribution<int>('A', 'Z')(random));
    writeFile(target, bytes);
}

std::optional<std::string> ListFiles::bytes(const QString& target) const
{
    const std::filesystem::path path = local(target);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        return std::nullopt;
    }
    // Through the stream buffer rather than by the size stat gives: /proc/version
    // reports a size of 0 and still has bytes to read.
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return std::move(content).str();
}

void ListFiles::scribble(Random& random)
{
    // Only the plain files of the scratch folder: what a user could clobber.
    std::vector<QString> files;
    for (const Slot& s : m_slots) {
        const FileState::Kind kind = m_states[s.target].kind;
        if (s.writable && kind != FileState::Kind::Folder) {
            files.push_back(s.target);
        }
    }
    const QString& target = files[std::uniform_int_distribution<std::size_t>(0, files.size() - 1)(random)];
    switch (std::uniform_int_distribution<int>(0, 3)(random)) {
    case 0:
        writeNoise(target, random);
        break;
    case 1:
        writeFile(target, {});
        break;
    case 2:
        writeFile(target, field("9") + field("途中"));
        break;
    default: {
        std::error_code ec;
        std::filesystem::remove(local(target), ec);
        m_states[target] = {};
        return;
    }
    }
    m_states[target] = {FileState::Kind::Other, {}};
}

std::vector<std::string> ListFiles::leftovers() const
{
    std::vector<std::string> found;
    for (const auto* folder : {"", "folder", "folder.orx"}) {
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(m_root / folder, ec)) {
            if (entry.path().filename().string().starts_with(".orx-save-")) {
                found.push_back(entry.path().string());
            }
        }
    }
    return found;
}

}  // namespace soak
