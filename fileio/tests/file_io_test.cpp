#include "fileio/file_io.h"

#include "test_files.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <ostream>
#include <string>
#include <vector>

namespace fileio {
namespace {

using testing::readBytes;
using testing::ScratchDir;
using testing::writeBytes;

using Steps = std::vector<std::string>;

Steps namesIn(const std::filesystem::path& dir)
{
    Steps names;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Makes the real calls and notes each one as a step ("open unnamed", "write",
// "fsync file", "link", "rename", "fsync folder", ...). The step named in
// `failing` fails with `failingError` instead of being made.
class RecordingCalls : public PosixCalls {
public:
    Steps steps;
    std::string failing;
    int failingError = EIO;
    bool noUnnamedFiles = false;  // the folder's file system refuses O_TMPFILE
    int takenNames = 0;           // this many temporary names exist already

    int openat(int folder, const char* path, int flags, mode_t mode) override
    {
        const bool unnamed = (flags & O_TMPFILE) == O_TMPFILE;
        const std::string step = unnamed ? "open unnamed" : (flags & O_DIRECTORY) ? "open folder"
                                 : (flags & O_PATH) ? "open old" : "open named";
        const bool taken = step == "open named" && takenNames > 0 && takenNames--;
        const int fd = make(step, unnamed && noUnnamedFiles ? EOPNOTSUPP : taken ? EEXIST : 0,
                            [&] { return PosixCalls::openat(folder, path, flags, mode); });
        m_folder = step == "open folder" ? fd : m_folder;
        return fd;
    }
    ssize_t write(int fd, const void* data, std::size_t size) override
    {
        // One step for a run of writes, however the bytes were split.
        if (!steps.empty() && steps.back() == "write") {
            return PosixCalls::write(fd, data, size);
        }
        return make("write", 0, [&] { return PosixCalls::write(fd, data, size); });
    }
    int fsync(int fd) override
    {
        return make(fd == m_folder ? "fsync folder" : "fsync file", 0, [&] { return PosixCalls::fsync(fd); });
    }
    int fchmod(int fd, mode_t mode) override { return make("fchmod", 0, [&] { return PosixCalls::fchmod(fd, mode); }); }
    int faccessat(int folder, const char* path, int mode, int flags) override
    {
        return make("check access", 0, [&] { return PosixCalls::faccessat(folder, path, mode, flags); });
    }
    int linkat(int fromFolder, const char* from, int toFolder, const char* to, int flags) override
    {
        const bool taken = takenNames > 0 && takenNames--;
        return make("link", taken ? EEXIST : 0,
                    [&] { return PosixCalls::linkat(fromFolder, from, toFolder, to, flags); });
    }
    int renameat(int fromFolder, const char* from, int toFolder, const char* to) override
    {
        return make("rename", 0, [&] { return PosixCalls::renameat(fromFolder, from, toFolder, to); });
    }
    int unlinkat(int folder, const char* path, int flags) override
    {
        return make("unlink", 0, [&] { return PosixCalls::unlinkat(folder, path, flags); });
    }
    int close(int fd) override
    {
        return make(fd == m_folder ? "close folder" : "close file", 0, [&] { return PosixCalls::close(fd); });
    }

private:
    // Notes the step, then fails it with `refusal` (or as `failing` says) or
    // makes the real call.
    template <typename Call>
    auto make(const std::string& step, int refusal, Call&& real) -> decltype(real())
    {
        steps.push_back(step);
        if (refusal == 0 && step == failing) {
            refusal = failingError;
        }
        if (refusal != 0) {
            errno = refusal;
            return -1;
        }
        return real();
    }

    int m_folder = -1;
};

// A save's work: the target resolved as a list save resolves it, then replaced.
std::optional<FileError> save(const std::filesystem::path& path, std::string_view bytes, PosixCalls& calls)
{
    const SaveTarget target = resolveSaveTarget(path);
    if (target.error) {
        return target.error;
    }
    return replaceFile(target, bytes, calls);
}

// The order is what keeps a crash from losing the list: every byte flushed
// before the file gets any name, the rename only after that, the folder last.
TEST(ReplaceFileOnLinux, FlushesTheFileBeforeItIsNamedAndTheFolderAfterTheRename)
{
    const Steps unnamed = {"open folder", "open old", "check access", "open unnamed", "fchmod", "write",
                           "fsync file", "link", "close file", "rename", "fsync folder"};
    const Steps named = {"open folder", "open old", "check access", "open unnamed", "open named", "fchmod",
                         "write", "fsync file", "close file", "rename", "fsync folder"};
    const auto newList = [](Steps steps) {  // no old file to check or to take the mode from
        std::erase_if(steps, [](const std::string& step) { return step == "check access" || step == "fchmod"; });
        return steps;
    };
    Steps withoutProc(unnamed.begin(), unnamed.begin() + 8);
    withoutProc.insert(withoutProc.end(), named.begin() + 4, named.end());
    struct Case {
        const char* what;
        bool noUnnamedFiles;
        bool replacing;
        const char* failing;
        int failingError;
        Steps steps;
    };
    const Case cases[] = {
        {"unnamed file over an old one", false, true, "", 0, unnamed},
        {"named file over an old one", true, true, "", 0, named},
        {"unnamed file, new list", false, false, "", 0, newList(unnamed)},
        {"named file, new list", true, false, "", 0, newList(named)},
        // Without /proc the unnamed file cannot be named: written again, named.
        {"no /proc", false, true, "link", ENOENT, withoutProc},
        // The bytes are on disk by then; the save stands.
        {"folder not flushed", false, true, "fsync folder", EIO, unnamed},
    };
    // The replaced file keeps its 0640; a new one gets what the umask gives.
    const mode_t mask = ::umask(027);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchDir dir;
        if (c.replacing) {
            writeBytes(dir / "list.orx", "old");
            ::chmod((dir / "list.orx").c_str(), 0640);
        }
        RecordingCalls calls;
        calls.noUnnamedFiles = c.noUnnamedFiles;
        calls.failing = c.failing;
        calls.failingError = c.failingError;

        EXPECT_EQ(save(dir / "list.orx", "new list", calls), std::nullopt);

        EXPECT_EQ(calls.steps, c.steps);
        EXPECT_EQ(readBytes(dir / "list.orx"), "new list");
        EXPECT_EQ(std::filesystem::status(dir / "list.orx").permissions(), std::filesystem::perms(0640));
        EXPECT_EQ(namesIn(dir.path()), Steps{"list.orx"});
    }
    ::umask(mask);
}

TEST(ReplaceFileOnLinux, TakesAnotherTemporaryNameWhenOneIsTaken)
{
    for (const bool noUnnamedFiles : {false, true}) {
        SCOPED_TRACE(noUnnamedFiles ? "named" : "unnamed");
        ScratchDir dir;
        writeBytes(dir / "list.orx", "old");
        RecordingCalls calls;
        calls.noUnnamedFiles = noUnnamedFiles;
        calls.takenNames = 3;

        ASSERT_EQ(save(dir / "list.orx", "new list", calls), std::nullopt);

        EXPECT_EQ(std::count(calls.steps.begin(), calls.steps.end(), noUnnamedFiles ? "open named" : "link"), 4);
        EXPECT_EQ(readBytes(dir / "list.orx"), "new list");
        EXPECT_EQ(namesIn(dir.path()), Steps{"list.orx"});
    }
}

struct FailingStep {
    const char* step;
    bool noUnnamedFiles;

    friend void PrintTo(const FailingStep& s, std::ostream* out)
    {
        *out << s.step << (s.noUnnamedFiles ? " (named)" : " (unnamed)");
    }
};

class ReplaceFileOnLinuxFailingAt : public ::testing::TestWithParam<FailingStep> {};

TEST_P(ReplaceFileOnLinuxFailingAt, ReportsItAndLeavesTheOldFileAndNoOtherName)
{
    ScratchDir dir;
    writeBytes(dir / "list.orx", "old list");
    RecordingCalls calls;
    calls.failing = GetParam().step;
    calls.noUnnamedFiles = GetParam().noUnnamedFiles;

    EXPECT_EQ(save(dir / "list.orx", "new list", calls), (FileError{FileError::Kind::System, EIO}));

    EXPECT_NE(std::find(calls.steps.begin(), calls.steps.end(), GetParam().step), calls.steps.end());
    EXPECT_EQ(readBytes(dir / "list.orx"), "old list");
    EXPECT_EQ(namesIn(dir.path()), Steps{"list.orx"});
}

INSTANTIATE_TEST_SUITE_P(
    Steps, ReplaceFileOnLinuxFailingAt,
    ::testing::Values(FailingStep{"open folder", false}, FailingStep{"open old", false},
                      FailingStep{"check access", false}, FailingStep{"open unnamed", false},
                      FailingStep{"write", false}, FailingStep{"fsync file", false}, FailingStep{"link", false},
                      FailingStep{"close file", false}, FailingStep{"rename", false}, FailingStep{"open named", true},
                      FailingStep{"write", true}, FailingStep{"fsync file", true}, FailingStep{"close file", true},
                      FailingStep{"rename", true}),
    [](const ::testing::TestParamInfo<FailingStep>& info) {
        std::string name = std::string(info.param.noUnnamedFiles ? "Named" : "Unnamed") + "_" + info.param.step;
        std::replace(name.begin(), name.end(), ' ', '_');
        return name;
    });

// Writes half of the list, then the program is killed.
class KilledWhileWriting : public PosixCalls {
public:
    ssize_t write(int fd, const void* data, std::size_t size) override
    {
        [[maybe_unused]] const ssize_t n = PosixCalls::write(fd, data, size / 2);
        ::raise(SIGKILL);
        return -1;
    }
};

TEST(ReplaceFileOnLinux, AProgramKilledWhileWritingLeavesTheOldFileAndNothingElse)
{
    ScratchDir dir;
    const int probe = ::open(dir.path().c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (probe < 0) {
        GTEST_SKIP() << "the scratch folder's file system has no unnamed files";
    }
    ::close(probe);
    writeBytes(dir / "list.orx", "old list");

    const pid_t child = ::fork();
    if (child == 0) {
        KilledWhileWriting calls;
        [[maybe_unused]] const auto error = save(dir / "list.orx", std::string(100'000, 'x'), calls);
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);

    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    EXPECT_EQ(readBytes(dir / "list.orx"), "old list");
    EXPECT_EQ(namesIn(dir.path()), Steps{"list.orx"});
}

TEST(OpenFileOnLinux, OpeningAFolderOrAPipeFailsWithoutWaiting)
{
    ScratchDir dir;
    EXPECT_EQ(openRegularFile(dir.path()).error, FileError{FileError::Kind::NotAFile});
    ASSERT_EQ(::mkfifo((dir / "pipe.orx").c_str(), 0600), 0);
    EXPECT_EQ(openRegularFile(dir / "pipe.orx").error, FileError{FileError::Kind::NotAFile});
}

}  // namespace
}  // namespace fileio
