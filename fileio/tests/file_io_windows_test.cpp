#include "fileio/file_io.h"

#include "test_files.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace fileio {
namespace {

using testing::namesIn;
using testing::readBytes;
using testing::ScratchDir;
using testing::writeBytes;

using Steps = std::vector<std::string>;

// Makes the real calls and notes each one as a step. The step named in
// `failing` fails with `failingError`; a failing close still closes, as
// CloseHandle does.
class RecordingCalls : public WindowsCalls {
public:
    Steps steps;
    std::string failing;
    DWORD failingError = ERROR_IO_DEVICE;

    unsigned long getFileAttributes(const wchar_t* path) override
    {
        return make("attributes", [&] { return WindowsCalls::getFileAttributes(path); }, INVALID_FILE_ATTRIBUTES);
    }
    void* createFile(const wchar_t* path, unsigned long access, unsigned long share, unsigned long disposition,
                     unsigned long flags) override
    {
        return make(disposition == CREATE_NEW ? "create" : "open old", [&] { return WindowsCalls::createFile(path, access, share, disposition, flags); },
                    INVALID_HANDLE_VALUE);
    }
    bool writeFile(void* file, const void* data, unsigned long size, unsigned long* written) override
    {
        return make("write", [&] { return WindowsCalls::writeFile(file, data, size, written); }, false);
    }
    bool flushFileBuffers(void* file) override
    {
        return make("flush", [&] { return WindowsCalls::flushFileBuffers(file); }, false);
    }
    bool closeHandle(void* file) override
    {
        const bool closed = WindowsCalls::closeHandle(file);
        return make("close", [&] { return closed; }, false);
    }
    bool replaceFile(const wchar_t* replaced, const wchar_t* replacement, unsigned long flags) override
    {
        // As Windows fails when the old file is gone and the new one could not take its name.
        if (failing == "replace" && failingError == ERROR_UNABLE_TO_MOVE_REPLACEMENT) {
            ::DeleteFileW(replaced);
        }
        return make("replace", [&] { return WindowsCalls::replaceFile(replaced, replacement, flags); }, false);
    }
    bool moveFileEx(const wchar_t* from, const wchar_t* to, unsigned long flags) override
    {
        return make("move", [&] { return WindowsCalls::moveFileEx(from, to, flags); }, false);
    }
    bool setFileAttributes(const wchar_t* path, unsigned long attributes) override
    {
        return make("set attributes", [&] { return WindowsCalls::setFileAttributes(path, attributes); }, false);
    }
    bool deleteFile(const wchar_t* path) override
    {
        return make("delete", [&] { return WindowsCalls::deleteFile(path); }, false);
    }

private:
    template <typename Call, typename Result>
    Result make(const std::string& step, Call&& real, Result failed)
    {
        steps.push_back(step);
        if (step == failing) {
            ::SetLastError(failingError);
            return failed;
        }
        return real();
    }
};

std::optional<FileError> save(const std::filesystem::path& path, std::string_view bytes, WindowsCalls& calls)
{
    const SaveTarget target = resolveSaveTarget(path);
    if (target.error) {
        return target.error;
    }
    return replaceFile(target, bytes, calls);
}

const Steps NewList = {"attributes", "create", "write", "flush", "close", "move", "set attributes"};
const Steps Replacing = {"attributes", "open old", "create", "write", "flush", "close", "replace", "set attributes"};

// Every byte flushed before the new file takes the old one's place; a failed
// step at any point leaves the old file as it was and nothing beside it.
TEST(ReplaceFileOnWindows, FlushesBeforeReplacingAndRemovesTheNewFileOnEveryFailure)
{
    const struct {
        bool replacing;
        const char* failing;
        std::optional<FileError> error;
        DWORD failingError = ERROR_IO_DEVICE;
    } cases[] = {
        {false, "", std::nullopt},
        {true, "", std::nullopt},
        // The bytes are saved by then; only the hidden attribute may stay.
        {true, "set attributes", std::nullopt},
        {true, "open old", FileError{FileError::Kind::System, EIO}},
        {true, "create", FileError{FileError::Kind::System, EIO}},
        {true, "write", FileError{FileError::Kind::System, EIO}},
        {true, "flush", FileError{FileError::Kind::System, EIO}},
        {true, "close", FileError{FileError::Kind::System, EIO}},
        {true, "replace", FileError{FileError::Kind::System, EIO}},
        {false, "write", FileError{FileError::Kind::System, EIO}},
        {false, "move", FileError{FileError::Kind::System, EIO}},
        // The new file is then the only copy of the list: it takes the name.
        {true, "replace", std::nullopt, ERROR_UNABLE_TO_MOVE_REPLACEMENT},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.replacing ? "replacing, failing " : "new list, failing ") + c.failing);
        ScratchDir dir;
        if (c.replacing) {
            writeBytes(dir / "list.orx", "old list");
        }
        RecordingCalls calls;
        calls.failing = c.failing;
        calls.failingError = c.failingError;

        EXPECT_EQ(save(dir / "list.orx", "new list", calls), c.error);

        Steps expected = c.replacing ? Replacing : NewList;
        if (c.failingError == ERROR_UNABLE_TO_MOVE_REPLACEMENT) {
            expected.insert(expected.end() - 1, "move");
        }
        if (c.error) {
            expected.resize(std::find(expected.begin(), expected.end(), c.failing) - expected.begin() + 1);
            if (std::string(c.failing) == "write" || std::string(c.failing) == "flush") {
                expected.push_back("close");
            }
            if (std::string(c.failing) != "create" && std::string(c.failing) != "open old") {
                expected.push_back("delete");
            }
        }
        EXPECT_EQ(calls.steps, expected);
        EXPECT_EQ(namesIn(dir.path()), c.replacing || !c.error ? Steps{"list.orx"} : Steps{});
        if (c.replacing || !c.error) {
            EXPECT_EQ(readBytes(dir / "list.orx"), c.error ? "old list" : "new list");
        }
        const DWORD attributes = ::GetFileAttributesW((dir / "list.orx").c_str());
        EXPECT_TRUE(attributes == INVALID_FILE_ATTRIBUTES || std::string(c.failing) == "set attributes" ||
                    (attributes & FILE_ATTRIBUTE_HIDDEN) == 0);
    }
}

// A file the user may not write, one another program holds open to itself,
// and the devices by name: refused, the file as it was, and no device touched.
TEST(ReplaceFileOnWindows, RefusesReadOnlyFilesFilesInUseAndDevices)
{
    const FileError inUse{FileError::Kind::InUse};
    const FileError notAFile{FileError::Kind::NotAFile};
    const struct {
        const char* name;
        DWORD attributes;
        bool held;
        FileError saving;
        std::optional<FileError> opening;
    } cases[] = {
        {"list.orx", FILE_ATTRIBUTE_READONLY, false, {FileError::Kind::System, EACCES}, std::nullopt},
        {"list.orx", FILE_ATTRIBUTE_NORMAL, true, inUse, inUse},
        {"CON.orx", 0, false, notAFile, notAFile},
        {"nul", 0, false, notAFile, notAFile},
        {"com1.txt. ", 0, false, notAFile, notAFile},
        {"LPT3", 0, false, notAFile, notAFile},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchDir dir;
        const std::filesystem::path path = dir / c.name;
        std::string before;
        if (c.attributes != 0) {
            before = testing::record("1");
            writeBytes(path, before);
            ASSERT_TRUE(::SetFileAttributesW(path.c_str(), c.attributes));
        }
        const FileHandle held(c.held ? ::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)
                                     : INVALID_HANDLE_VALUE);
        RecordingCalls calls;

        EXPECT_EQ(save(path, "new list", calls), c.saving);
        EXPECT_EQ(openRegularFile(path).error, c.opening);

        EXPECT_EQ(calls.steps.empty(), c.attributes == 0);
        ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (c.attributes != 0 && !c.held) {
            EXPECT_EQ(readBytes(path), before);
        }
        EXPECT_EQ(namesIn(dir.path()), c.attributes != 0 ? Steps{c.name} : Steps{});
    }
}

// Names no code page holds, and a path longer than 260 characters.
TEST(SaveListOnWindows, SavesAndOpensUnderAnyNameAndALongPath)
{
    ScratchDir dir;
    const std::filesystem::path longFolder = dir / std::string(200, 'f');
    ASSERT_TRUE(::CreateDirectoryW((LR"(\\?\)" + longFolder.wstring()).c_str(), nullptr));
    const std::filesystem::path paths[] = {dir.path() / u8"\U00020BB7\U0001F600.orx",
                                           longFolder / (std::string(100, 'n') + ".orx")};
    WindowsCalls calls;
    for (const std::filesystem::path& path : paths) {
        SCOPED_TRACE(path.string());
        EXPECT_EQ(save(path, "new list", calls), std::nullopt);
        {
            const OpenedFile opened = openRegularFile(path);
            ASSERT_EQ(opened.error, std::nullopt);
            std::string read(opened.size, '\0');
            EXPECT_EQ(readExactly(opened.fd, read, 0), std::nullopt);
            EXPECT_EQ(read, "new list");
        }
        ::DeleteFileW((LR"(\\?\)" + path.wstring()).c_str());
    }
    EXPECT_GT(paths[1].native().size(), 260U);
    ::RemoveDirectoryW((LR"(\\?\)" + longFolder.wstring()).c_str());
}

}  // namespace
}  // namespace fileio
