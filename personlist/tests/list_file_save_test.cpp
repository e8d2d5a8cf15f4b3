#include "personlist/list_file.h"

#include "test_files.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

namespace personlist {
namespace {

using testing::readBytes;
using testing::ScratchDir;
using testing::writeBytes;

std::vector<Person> numberedPersons(int count)
{
    std::vector<Person> persons;
    for (int i = 0; i < count; ++i) {
        persons.push_back({"山田" + std::to_string(i), std::to_string(1900 + i), "3", "12"});
    }
    return persons;
}

std::vector<std::string> namesIn(const std::filesystem::path& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(SaveList, ReplacesALongerFileByExactlyTheNewRecords)
{
    ScratchDir dir;
    const auto path = dir / "list.orx";
    ASSERT_EQ(writeListFile(path, numberedPersons(50)), std::nullopt);
    ASSERT_EQ(writeListFile(path, numberedPersons(2)), std::nullopt);
    EXPECT_EQ(readBytes(path), listFileBytes(numberedPersons(2)));
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"list.orx"});
}

TEST(SaveList, KeepsThePermissionsOfTheFileItReplaces)
{
    ScratchDir dir;
    const auto path = dir / "list.orx";
    writeBytes(path, "old");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_EQ(writeListFile(path, numberedPersons(1)), std::nullopt);
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST(SaveList, ThroughASymbolicLinkReplacesTheFileAndKeepsTheLink)
{
    ScratchDir dir;
    std::filesystem::create_directory(dir / "lists");
    std::filesystem::create_directory(dir / "desk");
    writeBytes(dir / "lists" / "family.orx", "old");
    std::filesystem::create_symlink("../lists/family.orx", dir / "desk" / "family.orx");
    std::filesystem::create_symlink("family.orx", dir / "desk" / "shortcut.orx");

    ASSERT_EQ(writeListFile(dir / "desk" / "shortcut.orx", numberedPersons(3)), std::nullopt);

    EXPECT_TRUE(std::filesystem::is_symlink(dir / "desk" / "family.orx"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "desk" / "shortcut.orx"));
    EXPECT_EQ(readBytes(dir / "lists" / "family.orx"), listFileBytes(numberedPersons(3)));
    EXPECT_EQ(namesIn(dir / "lists"), std::vector<std::string>{"family.orx"});
    EXPECT_EQ(namesIn(dir / "desk"), (std::vector<std::string>{"family.orx", "shortcut.orx"}));
}

TEST(SaveList, ThroughADanglingLinkCreatesTheFileItPointsTo)
{
    ScratchDir dir;
    std::filesystem::create_symlink("new.orx", dir / "link.orx");
    ASSERT_EQ(writeListFile(dir / "link.orx", numberedPersons(1)), std::nullopt);
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.orx"));
    EXPECT_EQ(readBytes(dir / "new.orx"), listFileBytes(numberedPersons(1)));
}

TEST(SaveList, RefusesFoldersPipesLinkLoopsAndMissingFolders)
{
    ScratchDir dir;
    std::filesystem::create_directory(dir / "folder.orx");
    ASSERT_EQ(::mkfifo((dir / "pipe.orx").c_str(), 0600), 0);
    std::filesystem::create_symlink("loop-b.orx", dir / "loop-a.orx");
    std::filesystem::create_symlink("loop-a.orx", dir / "loop-b.orx");
    const auto before = namesIn(dir.path());

    using Kind = ListFileError::Kind;
    EXPECT_EQ(writeListFile(dir / "folder.orx", {}), ListFileError{Kind::NotAFile});
    EXPECT_EQ(writeListFile(dir / "pipe.orx", {}), ListFileError{Kind::NotAFile});
    EXPECT_EQ(writeListFile(dir / "loop-a.orx", {}), (ListFileError{Kind::System, ELOOP}));
    EXPECT_EQ(writeListFile(dir / "missing" / "list.orx", {}), (ListFileError{Kind::System, ENOENT}));

    EXPECT_EQ(namesIn(dir.path()), before);
    EXPECT_TRUE(std::filesystem::is_empty(dir / "folder.orx"));
}

// Makes every write past `limit` bytes fail, in a child process so that the
// limit cannot reach the test runner, and saves there. Tests run as root, so a
// read-only file or folder would not make the save fail.
std::optional<ListFileError> saveWithFileSizeLimit(const std::filesystem::path& path,
                                                   const std::vector<Person>& persons, rlim_t limit)
{
    const testing::ChildOutcome outcome = testing::inChild([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit rl{limit, limit};
        ::setrlimit(RLIMIT_FSIZE, &rl);
        return writeListFile(path, persons);
    });
    EXPECT_TRUE(outcome.reported);
    EXPECT_TRUE(WIFEXITED(outcome.status));
    return outcome.error;
}

class SaveUnderFileSizeLimit : public ::testing::TestWithParam<rlim_t> {};

TEST_P(SaveUnderFileSizeLimit, FailsWithTheOldFileUntouchedAndNoTemporaryFileLeft)
{
    ScratchDir dir;
    const auto path = dir / "list.orx";
    const std::string old = listFileBytes(numberedPersons(3));
    writeBytes(path, old);

    const std::optional<ListFileError> error = saveWithFileSizeLimit(path, numberedPersons(10), GetParam());

    EXPECT_EQ(error, (ListFileError{ListFileError::Kind::System, EFBIG}));
    EXPECT_EQ(readBytes(path), old);
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"list.orx"});
}

// Ten persons make 41 records, 1640 bytes: nothing written, a cut inside the
// third record, and the last byte missing.
INSTANTIATE_TEST_SUITE_P(Limits, SaveUnderFileSizeLimit, ::testing::Values(0, 2 * 40 + 7, 1639));

TEST(SaveList, FileSizeLimitJustLargeEnoughLetsTheSaveThrough)
{
    ScratchDir dir;
    const auto path = dir / "list.orx";
    writeBytes(path, "old");
    EXPECT_EQ(saveWithFileSizeLimit(path, numberedPersons(10), 1640), std::nullopt);
    EXPECT_EQ(readBytes(path), listFileBytes(numberedPersons(10)));
}

}  // namespace
}  // namespace personlist
