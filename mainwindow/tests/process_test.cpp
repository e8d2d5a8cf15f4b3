#include "mainwindow/process.h"

#include "personlist/list_file.h"
#include "personlist/tests/forked_child.h"
#include "fileio/tests/test_files.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

namespace mainwindow {
namespace {

using personlist::FileError;
using personlist::Person;
using personlist::testing::ChildOutcome;
using personlist::testing::readBytes;
using personlist::testing::ScratchDir;
using personlist::testing::writeBytes;

std::vector<Person> persons(int count)
{
    std::vector<Person> list;
    for (int i = 0; i < count; ++i) {
        list.push_back({"鈴木" + std::to_string(i), std::to_string(1950 + i % 50), "7", "21"});
    }
    return list;
}

// Runs the process set-up in a forked child, as main() does, then saves under
// `ulimit -f 1` (1,024 bytes). The child starts from the default action for
// SIGXFSZ, so whatever the test runner inherited cannot stand in for the set-up.
ChildOutcome saveInChildWithOneKilobyteLimit(const std::filesystem::path& path, const std::vector<Person>& list)
{
    return personlist::testing::inChild([&] {
        std::signal(SIGXFSZ, SIG_DFL);
        prepareProcess();
        const rlimit limit{1024, 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        return personlist::writeListFile(path, list);
    });
}

TEST(ProcessSetUpOnLinux, ASaveBeyondTheFileSizeLimitFailsAndTheProgramGoesOn)
{
    ScratchDir dir;
    const auto path = dir / "list.orx";
    const std::string old = personlist::listFileBytes(persons(3));
    writeBytes(path, old);

    const ChildOutcome outcome = saveInChildWithOneKilobyteLimit(path, persons(1000));

    ASSERT_TRUE(WIFEXITED(outcome.status)) << "the program ended by signal "
                                           << (WIFSIGNALED(outcome.status) ? WTERMSIG(outcome.status) : 0);
    EXPECT_EQ(outcome.error, (FileError{FileError::Kind::System, EFBIG}));
    EXPECT_EQ(readBytes(path), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()),
              1);
}

}  // namespace
}  // namespace mainwindow
