#include "fileio/file_io.h"
#include "fileio/file_names.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <system_error>
#include <vector>

namespace fileio {

namespace {

FileError systemError(int error) { return {FileError::Kind::System, error}; }

// The Windows error as the reason the user reads: the errno-based reason where
// one means the same, a reason of its own for a file another program holds.
FileError windowsError(DWORD code)
{
    switch (code) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE:
    case ERROR_UNABLE_TO_REMOVE_REPLACED:
        return FileError{FileError::Kind::InUse};
    case ERROR_ACCESS_DENIED:
    case ERROR_PRIVILEGE_NOT_HELD:
        return systemError(EACCES);
    case ERROR_WRITE_PROTECT:
        return systemError(EROFS);
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_PATHNAME:
        return systemError(ENOENT);
    case ERROR_DIRECTORY:
        return systemError(ENOTDIR);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return systemError(ENOSPC);
    case ERROR_FILE_TOO_LARGE:
        return systemError(EFBIG);
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return systemError(EEXIST);
    case ERROR_FILENAME_EXCED_RANGE:
        return systemError(ENAMETOOLONG);
    case ERROR_INVALID_NAME:
        return systemError(EILSEQ);
    case ERROR_INVALID_PARAMETER:
        return systemError(EINVAL);
    case ERROR_NOT_SUPPORTED:
    case ERROR_INVALID_FUNCTION:
        return systemError(EOPNOTSUPP);
    case ERROR_CANT_RESOLVE_FILENAME:
        return systemError(ELOOP);
    case ERROR_CRC:
    case ERROR_IO_DEVICE:
    case ERROR_FILE_CORRUPT:
    case ERROR_DISK_CORRUPT:
    case ERROR_GEN_FAILURE:
        return systemError(EIO);
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
    case ERROR_NO_SYSTEM_RESOURCES:
        return systemError(ENOMEM);
    case ERROR_TOO_MANY_OPEN_FILES:
        return systemError(EMFILE);
    case ERROR_NOT_SAME_DEVICE:
        return systemError(EXDEV);
    case ERROR_OPERATION_ABORTED:
    case ERROR_CANCELLED:
        return systemError(ECANCELED);
    case ERROR_NOT_READY:
    case ERROR_DEV_NOT_EXIST:
        return systemError(ENODEV);
    case ERROR_SEM_TIMEOUT:
        return systemError(ETIMEDOUT);
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_NETNAME_DELETED:
    case ERROR_UNEXP_NET_ERR:
    case ERROR_NETWORK_UNREACHABLE:
        return systemError(ENETUNREACH);
    default:
        return {FileError::Kind::OtherSystem, static_cast<int>(code)};
    }
}

FileError lastError() { return windowsError(::GetLastError()); }

// The path as the calls take it: absolute, with backslashes, and marked with
// the long-path prefix (its UNC form for a share), so that it may be longer
// than 260 characters whatever the system's setting. The marked form is taken as it stands, so the path is
// made absolute first, which also resolves "." and ".." and drops the blanks
// and dots that Windows ignores at the end of a name.
std::wstring systemPath(const std::filesystem::path& path)
{
    if (path.empty()) {
        return {};  // no such file, as on any other system
    }
    std::error_code ec;
    std::filesystem::path full = std::filesystem::absolute(path, ec);
    if (ec) {
        full = path;
    }
    std::wstring name = full.make_preferred().native();
    if (name.starts_with(LR"(\\?\)") || name.starts_with(LR"(\\.\)")) {
        return name;
    }
    if (name.starts_with(LR"(\\)")) {
        return LR"(\\?\UNC\)" + name.substr(2);
    }
    return LR"(\\?\)" + name;
}

// A device by its name, in any folder, or by the device namespace (\\.\).
// Checked before any call is made with the path: opening CON would wait for
// the console.
bool isDevicePath(const std::filesystem::path& path)
{
    const std::wstring& name = path.native();
    if (name.starts_with(LR"(\\.\)") || name.starts_with(L"//./")) {
        return true;
    }
    const std::wstring file = path.filename().native();
    return isWindowsDeviceName(std::u16string_view(reinterpret_cast<const char16_t*>(file.data()), file.size()));
}

constexpr DWORD ShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr DWORD MostAtOnce = 1U << 30;  // a DWORD's worth of bytes, rounded down

// Writes every byte or reports why not.
std::optional<FileError> writeAll(WindowsCalls& calls, void* file, std::string_view bytes)
{
    while (!bytes.empty()) {
        const auto size = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), MostAtOnce));
        unsigned long written = 0;
        if (!calls.writeFile(file, bytes.data(), size, &written)) {
            return lastError();
        }
        if (written == 0) {
            return systemError(ENOSPC);
        }
        bytes.remove_prefix(written);
    }
    return std::nullopt;
}

constexpr unsigned NameAttempts = 100;

// The attributes a file can be given; the others are the file system's own.
constexpr DWORD SettableAttributes = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED |
                                     FILE_ATTRIBUTE_OFFLINE | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM;

// The folder part of a path in the marked form.
std::wstring folderOf(const std::wstring& name) { return name.substr(0, name.find_last_of(L'\\')); }

}  // namespace

FileHandle::~FileHandle()
{
    if (valid()) {
        ::CloseHandle(m_handle);
    }
}

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept
{
    if (this != &other) {
        if (valid()) {
            ::CloseHandle(m_handle);
        }
        m_handle = other.m_handle;
        other.m_handle = invalid();
    }
    return *this;
}

OpenedFile openRegularFile(const std::filesystem::path& path)
{
    if (isDevicePath(path)) {
        return {FileHandle(), 0, FileError{FileError::Kind::NotAFile}};
    }
    // Shared every way, so that a list another program has open still opens;
    // with backup semantics, so that a folder opens too and is then NotAFile
    // rather than "access denied".
    OpenedFile file{FileHandle(::CreateFileW(systemPath(path).c_str(), GENERIC_READ, ShareAll, nullptr,
                                             OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)),
                    0, {}};
    if (!file.fd.valid()) {
        file.error = lastError();
        return file;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (::GetFileType(file.fd.get()) != FILE_TYPE_DISK) {
        file.error = FileError{FileError::Kind::NotAFile};
    } else if (!::GetFileInformationByHandle(file.fd.get(), &info)) {
        file.error = lastError();
    } else if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        file.error = FileError{FileError::Kind::NotAFile};
    } else {
        file.size = static_cast<std::uint64_t>(info.nFileSizeHigh) << 32 | info.nFileSizeLow;
    }
    return file;
}

std::optional<FileError> readExactly(const FileHandle& file, std::span<char> into, std::uint64_t offset)
{
    std::size_t done = 0;
    while (done < into.size()) {
        const std::uint64_t at = offset + done;
        OVERLAPPED where{};
        where.Offset = static_cast<DWORD>(at);
        where.OffsetHigh = static_cast<DWORD>(at >> 32);
        DWORD n = 0;
        const auto size = static_cast<DWORD>(std::min<std::size_t>(into.size() - done, MostAtOnce));
        if (!::ReadFile(file.get(), into.data() + done, size, &n, &where)) {
            const DWORD error = ::GetLastError();
            if (error == ERROR_HANDLE_EOF) {
                return FileError{FileError::Kind::TooShort};
            }
            return windowsError(error);
        }
        if (n == 0) {
            return FileError{FileError::Kind::TooShort};
        }
        done += n;
    }
    return std::nullopt;
}

SaveTarget resolveSaveTarget(const std::filesystem::path& path)
{
    if (isDevicePath(path)) {
        return {path, std::nullopt, FileError{FileError::Kind::NotAFile}};
    }
    std::filesystem::path resolved = path;
    DWORD attributes = ::GetFileAttributesW(systemPath(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        // A link (or a junction on the way): the file it leads to, as Windows
        // itself finds it. One that leads nowhere is refused, not created.
        const FileHandle link(::CreateFileW(systemPath(path).c_str(), 0, ShareAll, nullptr, OPEN_EXISTING,
                                            FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        if (!link.valid()) {
            return {path, std::nullopt, lastError()};
        }
        std::vector<wchar_t> name(MAX_PATH);
        for (;;) {
            const DWORD n = ::GetFinalPathNameByHandleW(link.get(), name.data(), static_cast<DWORD>(name.size()),
                                                        FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
            if (n == 0) {
                return {path, std::nullopt, lastError()};
            }
            if (n < name.size()) {
                resolved = std::wstring(name.data(), n);
                break;
            }
            name.resize(n + 1);
        }
        attributes = ::GetFileAttributesW(systemPath(resolved).c_str());
    }
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            return {resolved, std::nullopt, std::nullopt};
        }
        return {resolved, std::nullopt, windowsError(error)};
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return {resolved, std::nullopt, FileError{FileError::Kind::NotAFile}};
    }
    return {resolved, ExistingFile{attributes}, std::nullopt};
}

unsigned long WindowsCalls::getFileAttributes(const wchar_t* path) { return ::GetFileAttributesW(path); }
void* WindowsCalls::createFile(const wchar_t* path, unsigned long access, unsigned long share, unsigned long disposition,
                            unsigned long flags)
{
    return ::CreateFileW(path, access, share, nullptr, disposition, flags, nullptr);
}
bool WindowsCalls::writeFile(void* file, const void* data, unsigned long size, unsigned long* written)
{
    return ::WriteFile(file, data, size, written, nullptr) != 0;
}
bool WindowsCalls::flushFileBuffers(void* file) { return ::FlushFileBuffers(file) != 0; }
bool WindowsCalls::closeHandle(void* file) { return ::CloseHandle(file) != 0; }
bool WindowsCalls::replaceFile(const wchar_t* replaced, const wchar_t* replacement, unsigned long flags)
{
    return ::ReplaceFileW(replaced, replacement, nullptr, flags, nullptr, nullptr) != 0;
}
bool WindowsCalls::moveFileEx(const wchar_t* from, const wchar_t* to, unsigned long flags)
{
    return ::MoveFileExW(from, to, flags) != 0;
}
bool WindowsCalls::setFileAttributes(const wchar_t* path, unsigned long attributes)
{
    return ::SetFileAttributesW(path, attributes) != 0;
}
bool WindowsCalls::deleteFile(const wchar_t* path) { return ::DeleteFileW(path) != 0; }

// Each call as the step of a save it takes. A refusal sets the last error as
// the call would have failed.
namespace {

bool refused(bool refuse)
{
    if (refuse) {
        ::SetLastError(ERROR_CANCELLED);
    }
    return refuse;
}

}  // namespace

// Only asks: refusing it would read as "no such file", not as stopped.
unsigned long WatchedCalls::getFileAttributes(const wchar_t* path) { return m_inner.getFileAttributes(path); }
void* WatchedCalls::createFile(const wchar_t* path, unsigned long access, unsigned long share,
                               unsigned long disposition, unsigned long flags)
{
    const SaveStep step = disposition == CREATE_NEW ? SaveStep::Create : SaveStep::Look;
    return refused(refuse(step)) ? FileHandle::invalid() : m_inner.createFile(path, access, share, disposition, flags);
}
bool WatchedCalls::writeFile(void* file, const void* data, unsigned long size, unsigned long* written)
{
    return !refused(refuse(SaveStep::Write)) && m_inner.writeFile(file, data, size, written);
}
bool WatchedCalls::flushFileBuffers(void* file)
{
    return !refused(refuse(SaveStep::Flush)) && m_inner.flushFileBuffers(file);
}
bool WatchedCalls::closeHandle(void* file) { return m_inner.closeHandle(file); }
bool WatchedCalls::replaceFile(const wchar_t* replaced, const wchar_t* replacement, unsigned long flags)
{
    return !refused(refuse(SaveStep::Replace)) && m_inner.replaceFile(replaced, replacement, flags);
}
bool WatchedCalls::moveFileEx(const wchar_t* from, const wchar_t* to, unsigned long flags)
{
    return !refused(refuse(SaveStep::Replace)) && m_inner.moveFileEx(from, to, flags);
}
bool WatchedCalls::setFileAttributes(const wchar_t* path, unsigned long attributes)
{
    return !refused(refuse(SaveStep::KeepAttributes)) && m_inner.setFileAttributes(path, attributes);
}
bool WatchedCalls::deleteFile(const wchar_t* path) { return m_inner.deleteFile(path); }

std::optional<FileError> replaceFile(const SaveTarget& target, std::string_view bytes, WindowsCalls& calls)
{
    if (isDevicePath(target.path)) {
        return FileError{FileError::Kind::NotAFile};
    }
    const std::wstring targetName = systemPath(target.path);
    // The file there now, not when the save began.
    const DWORD old = calls.getFileAttributes(targetName.c_str());
    const bool replacing = old != INVALID_FILE_ATTRIBUTES;
    if (!replacing && ::GetLastError() != ERROR_FILE_NOT_FOUND) {
        return lastError();
    }
    if (replacing && (old & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return FileError{FileError::Kind::NotAFile};
    }
    if (replacing && (old & FILE_ATTRIBUTE_READONLY) != 0) {
        return systemError(EACCES);
    }
    // Opened as ReplaceFileW will open it, so that a file another program
    // holds is refused before anything is written, and closed at once.
    if (replacing && !FileHandle(calls.createFile(targetName.c_str(), GENERIC_READ | DELETE, ShareAll, OPEN_EXISTING,
                                                  FILE_FLAG_BACKUP_SEMANTICS))
                          .valid()) {
        return lastError();
    }
    const std::wstring folder = folderOf(targetName);
    std::wstring temporary;
    FileHandle file;
    for (unsigned attempt = 0; attempt < NameAttempts && !file.valid(); ++attempt) {
        const std::string name = temporaryName(attempt, ::GetCurrentProcessId());
        temporary = folder + L'\\' + std::wstring(name.begin(), name.end());
        file = FileHandle(calls.createFile(temporary.c_str(), GENERIC_WRITE | DELETE, 0, CREATE_NEW,
                                           FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_TEMPORARY));
        if (!file.valid() && ::GetLastError() != ERROR_FILE_EXISTS && ::GetLastError() != ERROR_ALREADY_EXISTS) {
            return lastError();
        }
    }
    if (!file.valid()) {
        return systemError(EEXIST);
    }
    std::optional<FileError> error = writeAll(calls, file.get(), bytes);
    if (!error && !calls.flushFileBuffers(file.get())) {
        error = lastError();
    }
    // Closed before it takes the old file's place, as ReplaceFileW needs, and
    // before a failed one is deleted, which an open handle would hold up.
    if (!calls.closeHandle(file.release()) && !error) {
        error = lastError();
    }
    if (!error && replacing &&
        !calls.replaceFile(targetName.c_str(), temporary.c_str(),
                           REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS)) {
        const DWORD code = ::GetLastError();
        error = windowsError(code);
        // The old file is gone and the new one kept its temporary name: it
        // is the only copy of the list left, so it gets the name it was
        // saved under, or stays where it is.
        if (code == ERROR_UNABLE_TO_MOVE_REPLACEMENT) {
            if (!calls.moveFileEx(temporary.c_str(), targetName.c_str(), MOVEFILE_WRITE_THROUGH)) {
                return lastError();
            }
            error.reset();
        }
    } else if (!error && !replacing && !calls.moveFileEx(temporary.c_str(), targetName.c_str(), MOVEFILE_WRITE_THROUGH)) {
        error = lastError();
    }
    if (error) {
        calls.deleteFile(temporary.c_str());
        return error;
    }
    // No longer hidden: the old file's attributes, or a new file's. The bytes
    // are saved either way, so a failure here fails nothing.
    calls.setFileAttributes(targetName.c_str(), replacing ? (old & SettableAttributes) | FILE_ATTRIBUTE_ARCHIVE
                                                          : FILE_ATTRIBUTE_ARCHIVE);
    return std::nullopt;
}

}  // namespace fileio
