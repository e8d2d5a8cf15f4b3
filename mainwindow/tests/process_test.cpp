#include "mainwindow/process.h"

#include "personlist/list_file.h"
#include "personlist/tests/test_files.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

namespace mainwindow {
namespace {

using personlist::ListFileError;
using personlist::Person;
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

struct ChildOutcome {
    int status = 0;                       // as waitpid gives it
    std::optional<ListFileError> error;   // what the save returned, if the child lived to say
};

// Runs the process set-up in a forked child, as main() does, then saves under
// `ulimit -f 1` (1,024 bytes). The child starts from the default action for
// SIGXFSZ, so whatever the test runner inherited cannot stand in for the set-up.
ChildOutcome saveInChildWithOneKilobyteLimit(const std::filesystem::path& path, const std::vector<Person>& list)
{
    int report[2];
    if (::pipe(report) != 0) {
        ADD_FAILURE() << "pipe failed";
        return {};
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(report[0]);
        std::signal(SIGXFSZ, SIG_DFL);
        prepareProcess();
        const rlimit limit{1024, 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const std::optional<ListFileError> error = personlist::writeListFile(path, list);
        const int values[2] = {error ? static_cast<int>(error->kind) : -1, error ? error->systemError : 0};
        [[maybe_unused]] const ssize_t n = ::write(report[1], values, sizeof values);
        ::_exit(0);
    }
    ::close(report[1]);
    int values[2] = {-2, 0};
    const ssize_t n = ::read(report[0], values, sizeof values);
    ::close(report[0]);
    ChildOutcome outcome;
    ::waitpid(child, &outcome.status, 0);
    if (n == static_cast<ssize_t>(sizeof values) && values[0] >= 0) {
        outcome.error = ListFileError{static_cast<ListFileError::Kind>(values[0]), values[1]};
    }
    return outcome;
}

TEST(ProcessSetUp, ASaveBeyondTheFileSizeLimitFailsAndTheProgramGoesOn)
{
    ScratchDir dir;
    const auto path = dir / "list.orx";
    const std::string old = personlist::listFileBytes(persons(3));
    writeBytes(path, old);

    const ChildOutcome outcome = saveInChildWithOneKilobyteLimit(path, persons(1000));

    ASSERT_TRUE(WIFEXITED(outcome.status)) << "the program ended by signal "
                                           << (WIFSIGNALED(outcome.status) ? WTERMSIG(outcome.status) : 0);
    EXPECT_EQ(outcome.error, (ListFileError{ListFileError::Kind::System, EFBIG}));
    EXPECT_EQ(readBytes(path), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()),
              1);
}

}  // namespace
}  // namespace mainwindow
