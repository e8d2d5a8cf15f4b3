#pragma once

// Small helpers for tests that read and write real files: a scratch folder that
// is removed afterwards, whole-file reads and writes, and hex byte strings.

#include "personlist/list_file_error.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace personlist::testing {

class ScratchDir {
public:
    ScratchDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "kyusei-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("mkdtemp failed");
        }
        m_path = pattern;
    }
    ~ScratchDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(std::string_view name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

inline std::string readBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeBytes(const std::filesystem::path& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// "8E 52 93 63" -> the four bytes.
inline std::string hexBytes(std::string_view hex)
{
    std::string bytes;
    std::string digits;
    for (char c : hex) {
        if (c != ' ') {
            digits.push_back(c);
        }
        if (digits.size() == 2) {
            bytes.push_back(static_cast<char>(std::stoi(digits, nullptr, 16)));
            digits.clear();
        }
    }
    return bytes;
}

// A field text as the writer makes it: the bytes, then blanks up to 20.
inline std::string paddedField(std::string_view bytes)
{
    std::string field(bytes);
    field.resize(20, ' ');
    return field;
}

// A whole record: the field text, then 20 zero bytes of filler.
inline std::string record(std::string_view fieldBytes)
{
    return paddedField(fieldBytes) + std::string(20, '\0');
}

// How a forked child ended (status as waitpid gives it), and what the list-file
// call it ran returned, if it lived to say.
struct ChildOutcome {
    int status = 0;
    bool reported = false;
    std::optional<ListFileError> error;
};

// Runs `call` (returning std::optional<ListFileError>) in a forked child, so that
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
        const std::optional<ListFileError> error = call();
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
        outcome.error = ListFileError{static_cast<ListFileError::Kind>(values[0]), values[1]};
    }
    return outcome;
}

}  // namespace personlist::testing
