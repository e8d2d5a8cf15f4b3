#include "personlist/list_file.h"

#include "forked_child.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <grp.h>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <csignal>
#include <tuple>

namespace personlist {
namespace {

using testing::namesIn;
using testing::hexBytes;
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

TEST(SaveListOnLinux, ReplacesALongerFileByExactlyTheNewRecords)
{
    ScratchDir dir;
    const auto path = dir / "list.orx";
    ASSERT_EQ(writeListFile(path, numberedPersons(50)), std::nullopt);
    ASSERT_EQ(writeListFile(path, numberedPersons(2)), std::nullopt);
    EXPECT_EQ(readBytes(path), listFileBytes(numberedPersons(2)));
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"list.orx"});
}

TEST(SaveListOnLinux, KeepsThePermissionsOfTheFileItReplaces)
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

TEST(SaveListOnLinux, ThroughASymbolicLinkReplacesTheFileAndKeepsTheLink)
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

TEST(SaveListOnLinux, ThroughADanglingLinkCreatesTheFileItPointsTo)
{
    ScratchDir dir;
    std::filesystem::create_symlink("new.orx", dir / "link.orx");
    ASSERT_EQ(writeListFile(dir / "link.orx", numberedPersons(1)), std::nullopt);
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.orx"));
    EXPECT_EQ(readBytes(dir / "new.orx"), listFileBytes(numberedPersons(1)));
}

TEST(SaveListOnLinux, RefusesFoldersPipesLinkLoopsAndMissingFolders)
{
    ScratchDir dir;
    std::filesystem::create_directory(dir / "folder.orx");
    ASSERT_EQ(::mkfifo((dir / "pipe.orx").c_str(), 0600), 0);
    std::filesystem::create_symlink("loop-b.orx", dir / "loop-a.orx");
    std::filesystem::create_symlink("loop-a.orx", dir / "loop-b.orx");
    const auto before = namesIn(dir.path());

    using Kind = FileError::Kind;
    EXPECT_EQ(writeListFile(dir / "folder.orx", {}), FileError{Kind::NotAFile});
    EXPECT_EQ(writeListFile(dir / "pipe.orx", {}), FileError{Kind::NotAFile});
    EXPECT_EQ(writeListFile(dir / "loop-a.orx", {}), (FileError{Kind::System, ELOOP}));
    EXPECT_EQ(writeListFile(dir / "missing" / "list.orx", {}), (FileError{Kind::System, ENOENT}));
    if (std::filesystem::exists("/proc/self")) {  // a folder that is there, but makes no files
        EXPECT_EQ(writeListFile("/proc/list.orx", {}), FileError{Kind::FolderHoldsNoFiles});
    }

    EXPECT_EQ(namesIn(dir.path()), before);
    EXPECT_TRUE(std::filesystem::is_empty(dir / "folder.orx"));
}

// The rename needs only the folder's permission; the file's own decides.
TEST(SaveListOnLinux, RefusesAFileTheUserMayNotWriteAndRootMayWriteAny)
{
    const passwd* nobody = ::geteuid() == 0 ? ::getpwnam("nobody") : nullptr;
    if (nobody == nullptr) {
        GTEST_SKIP() << "needs root, to save as nobody and as root";
    }
    const uid_t u = nobody->pw_uid;
    const gid_t g = nobody->pw_gid;
    const struct { const char* what; uid_t owner; mode_t mode; bool byNobody; bool refused; } cases[] = {
        {"own read-only file", u, 0444, true, true},
        {"another user's file in a folder open to all", 0, 0644, true, true},
        {"another user's file open to all", 0, 0646, true, false},
        {"root and another user's read-only file", u, 0444, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchDir dir;
        const auto path = dir / "list.orx";
        writeBytes(path, "old");
        ASSERT_EQ(::chmod(dir.path().c_str(), 0777) + ::chmod(path.c_str(), c.mode) + ::chown(path.c_str(), c.owner, 0),
                  0);
        // A child that gives up root for good is judged as any user is.
        const testing::ChildOutcome outcome = testing::inChild([&] {
            if (c.byNobody && (::setgroups(0, nullptr) != 0 || ::setresgid(g, g, g) != 0 ||
                               ::setresuid(u, u, u) != 0 || ::access(dir.path().c_str(), W_OK | X_OK) != 0)) {
                ::_exit(0);  // reports nothing
            }
            return writeListFile(path, numberedPersons(1));
        });
        if (!outcome.reported) {
            GTEST_SKIP() << "nobody cannot reach the scratch folder";
        }
        struct stat after {};
        ASSERT_EQ(::stat(path.c_str(), &after), 0);
        const FileError refusal{FileError::Kind::System, EACCES};
        EXPECT_EQ(outcome.error, c.refused ? std::optional(refusal) : std::nullopt);
        EXPECT_EQ(readBytes(path), c.refused ? "old" : listFileBytes(numberedPersons(1)));
        EXPECT_EQ(std::pair(after.st_mode & 07777, after.st_uid),
                  std::pair(c.mode, c.byNobody && !c.refused ? u : c.owner));
        EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"list.orx"});
    }
}

TEST(SaveListOnLinux, KeepsTheOwnerModeAclAndAttributesOfTheFileItReplaces)
{
    // Version 2, then tag, permissions, id: owner rw-, user 1234 rw-, group r--,
    // mask rw-, others r--: mode 664, although the group only reads.
    const std::string acl = hexBytes("02000000 01000600FFFFFFFF 02000600D2040000 04000400FFFFFFFF"
                                     " 10000600FFFFFFFF 20000400FFFFFFFF");
    const auto attribute = [](const std::filesystem::path& path, const char* name) {
        std::string value(256, '\0');
        const ssize_t n = ::getxattr(path.c_str(), name, value.data(), value.size());
        return n < 0 ? std::nullopt : std::optional(value.substr(0, static_cast<std::size_t>(n)));
    };
    ScratchDir dir;
    // The second file has no ACL, in a folder that gives its new files one.
    const std::filesystem::path files[] = {dir / "list.orx", dir / "shared" / "list.orx"};
    std::filesystem::create_directory(dir / "shared");
    writeBytes(files[0], "old");
    if (::setxattr(files[0].c_str(), "user.tag", "family", 6, 0) != 0 ||
        ::setxattr(files[0].c_str(), "system.posix_acl_access", acl.data(), acl.size(), 0) != 0 ||
        ::setxattr((dir / "shared").c_str(), "system.posix_acl_default", acl.data(), acl.size(), 0) != 0) {
        GTEST_SKIP() << "the scratch folder's file system keeps no user attributes or ACLs";
    }
    writeBytes(files[1], "old");
    ASSERT_EQ(::removexattr(files[1].c_str(), "system.posix_acl_access"), 0);
    ASSERT_EQ(::geteuid() == 0 ? ::chown(files[0].c_str(), 1234, 5678) : 0, 0);
    for (const auto& file : files) {
        SCOPED_TRACE(file.string());
        struct stat before {}, after {};
        ASSERT_EQ(::stat(file.c_str(), &before), 0);
        const auto oldAcl = attribute(file, "system.posix_acl_access");
        const auto oldTag = attribute(file, "user.tag");
        ASSERT_EQ(writeListFile(file, numberedPersons(1)), std::nullopt);
        ASSERT_EQ(::stat(file.c_str(), &after), 0);
        EXPECT_EQ(std::tuple(after.st_mode, after.st_uid, after.st_gid),
                  std::tuple(before.st_mode, before.st_uid, before.st_gid));
        EXPECT_EQ(attribute(file, "system.posix_acl_access"), oldAcl);
        EXPECT_EQ(attribute(file, "user.tag"), oldTag);
    }
}

// Makes every write past `limit` bytes fail, in a child process so that the
// limit cannot reach the test runner, and saves there. Tests run as root, so a
// read-only file or folder would not make the save fail.
std::optional<FileError> saveWithFileSizeLimit(const std::filesystem::path& path,
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

class SaveUnderFileSizeLimitOnLinux : public ::testing::TestWithParam<rlim_t> {};

TEST_P(SaveUnderFileSizeLimitOnLinux, FailsWithTheOldFileUntouchedAndNoTemporaryFileLeft)
{
    ScratchDir dir;
    const auto path = dir / "list.orx";
    const std::string old = listFileBytes(numberedPersons(3));
    writeBytes(path, old);

    const std::optional<FileError> error = saveWithFileSizeLimit(path, numberedPersons(10), GetParam());

    EXPECT_EQ(error, (FileError{FileError::Kind::System, EFBIG}));
    EXPECT_EQ(readBytes(path), old);
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"list.orx"});
}

// Ten persons make 41 records, 1640 bytes: nothing written, a cut inside the
// third record, and the last byte missing.
INSTANTIATE_TEST_SUITE_P(Limits, SaveUnderFileSizeLimitOnLinux, ::testing::Values(0, 2 * 40 + 7, 1639));

TEST(SaveListOnLinux, FileSizeLimitJustLargeEnoughLetsTheSaveThrough)
{
    ScratchDir dir;
    const auto path = dir / "list.orx";
    writeBytes(path, "old");
    EXPECT_EQ(saveWithFileSizeLimit(path, numberedPersons(10), 1640), std::nullopt);
    EXPECT_EQ(readBytes(path), listFileBytes(numberedPersons(10)));
}

}  // namespace
}  // namespace personlist
