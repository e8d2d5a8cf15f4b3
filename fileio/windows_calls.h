#pragma once

// The Windows side of file_io.h: handles, and the calls replaceFile makes.
// file_io.h brings it along for its handles; only fileio and its tests make
// the calls.
// A HANDLE is a void* and a DWORD an unsigned long to every Windows compiler;
// spelling them so keeps <windows.h> and its macros out of the headers that
// include this one.

#include "fileio/file_error.h"
#include "fileio/save_watch.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace fileio {

// Closes a handle on every way out.
class FileHandle {
public:
    static void* invalid() { return reinterpret_cast<void*>(static_cast<std::intptr_t>(-1)); }

    explicit FileHandle(void* handle = invalid()) : m_handle(handle) {}
    ~FileHandle();
    FileHandle(FileHandle&& other) noexcept : m_handle(other.m_handle) { other.m_handle = invalid(); }
    FileHandle& operator=(FileHandle&& other) noexcept;
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    void* get() const { return m_handle; }
    bool valid() const { return m_handle != invalid() && m_handle != nullptr; }
    // Hands the handle over without closing it.
    void* release()
    {
        void* const handle = m_handle;
        m_handle = invalid();
        return handle;
    }

private:
    void* m_handle;
};

// The file a save is about to replace, as resolveSaveTarget found it.
struct ExistingFile {
    unsigned long attributes = 0;  // FILE_ATTRIBUTE_*
};

// The calls that replaceFile makes, one virtual function each, with the call's
// own arguments (less those it always passes as null) and result; the reason
// for a failure is in GetLastError(). The defaults make the real calls; a test
// overrides some of them to record their order or to make one of them fail.
class WindowsCalls {
public:
    WindowsCalls() = default;
    WindowsCalls(const WindowsCalls&) = delete;
    WindowsCalls& operator=(const WindowsCalls&) = delete;
    virtual ~WindowsCalls() = default;

    virtual unsigned long getFileAttributes(const wchar_t* path);
    virtual void* createFile(const wchar_t* path, unsigned long access, unsigned long share,
                             unsigned long disposition, unsigned long flags);
    virtual bool writeFile(void* file, const void* data, unsigned long size, unsigned long* written);
    virtual bool flushFileBuffers(void* file);
    virtual bool closeHandle(void* file);
    virtual bool replaceFile(const wchar_t* replaced, const wchar_t* replacement, unsigned long flags);
    virtual bool moveFileEx(const wchar_t* from, const wchar_t* to, unsigned long flags);
    virtual bool setFileAttributes(const wchar_t* path, unsigned long attributes);
    virtual bool deleteFile(const wchar_t* path);
};

// Passes every call on to `inner` once the watch lets its step go on. A
// refused call fails with ERROR_CANCELLED, while closing and deleting still
// run, so that the new file is closed and removed on the way out. (Windows has
// no unnamed files: a save never asks for CreateUnnamed.)
class WatchedCalls final : public WindowsCalls {
public:
    WatchedCalls(WindowsCalls& inner, SaveWatch& watch) : m_inner(inner), m_watch(watch) {}

    unsigned long getFileAttributes(const wchar_t* path) override;
    void* createFile(const wchar_t* path, unsigned long access, unsigned long share, unsigned long disposition,
                     unsigned long flags) override;
    bool writeFile(void* file, const void* data, unsigned long size, unsigned long* written) override;
    bool flushFileBuffers(void* file) override;
    bool closeHandle(void* file) override;
    bool replaceFile(const wchar_t* replaced, const wchar_t* replacement, unsigned long flags) override;
    bool moveFileEx(const wchar_t* from, const wchar_t* to, unsigned long flags) override;
    bool setFileAttributes(const wchar_t* path, unsigned long attributes) override;
    bool deleteFile(const wchar_t* path) override;

private:
    bool refuse(SaveStep step) const { return !m_watch.proceed(step); }

    WindowsCalls& m_inner;
    SaveWatch& m_watch;
};

// How replaceFile saves on Windows.
//
// The bytes go to a new hidden file under a temporary name in the target's
// folder, and are flushed to disk; only then does ReplaceFileW put it in the
// old file's place (keeping the old file's attributes, ACL and creation time),
// or MoveFileExW give a new list its name. A save that fails removes the new
// file, so the old one stays byte for byte as it was with nothing beside it; a
// program killed while writing can leave the hidden file behind.
//
// A read-only file is refused with EACCES before anything is written, as
// Windows would refuse writing into it; so is a file another program holds
// open without letting others delete it, as InUse.

// The calls replaceFile makes on this system.
using SystemCalls = WindowsCalls;

struct SaveTarget;

// replaceFile through these calls: a test's, to record or fail them.
[[nodiscard]] std::optional<FileError> replaceFile(const SaveTarget& target, std::string_view bytes,
                                                   WindowsCalls& calls);

}  // namespace fileio
