#pragma once

// Runs a list-file call in a forked child, for tests that set limits or signal
// actions that must not reach the test runner.

#include "fileio/file_error.h"

#include <sys/wait.h>
#include <unistd.h>

#include <optional>
#include <stdexcept>

namespace personlist::testing {

// How a forked child ended (status as waitpid gives it), and what the list-file
// call it ran returned, if it lived to say.
struct ChildOutcome {
    int status = 0;
    bool reported = false;
    std::optional<FileError> error;
};

// Runs `call` (returning std::optional<FileError>) in a forked child, so that
// the limits and signal actions it sets up cannot reach the test runner.
template <typename Call>
ChildOutcome inChild(Call call)
{
    int report[2];
    if (::pipe(report) != 0) {
        throw std::runtime_error("pipe failed");
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(report[0]);
        const std::optional<FileError> error = call();
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
    outcome.reported = n == static_cast<ssize_t>(sizeof values);
    if (outcome.reported && values[0] >= 0) {
        outcome.error = FileError{static_cast<FileError::Kind>(values[0]), values[1]};
    }
    return outcome;
}

}  // namespace personlist::testing
