#pragma once

#include "personlist/file_io.h"

#include <fcntl.h>

#include <cerrno>
#include <functional>
#include <utility>

namespace personlist::testing {

// A save whose writes call `hold` first; `named`: on a file system without
// unnamed files, so that the new file has a name while it is written.
class HeldWrite final : public personlist::FileCalls {
public:
    static constexpr bool AlwaysNamed = false;

    HeldWrite(std::function<void()> hold, bool named) : m_hold(std::move(hold)), m_named(named) {}
    int openat(int folder, const char* path, int flags, mode_t mode) override
    {
        if (m_named && (flags & O_TMPFILE) == O_TMPFILE) {
            errno = EOPNOTSUPP;
            return -1;
        }
        return FileCalls::openat(folder, path, flags, mode);
    }
    ssize_t write(int fd, const void* data, std::size_t size) override
    {
        m_hold();
        return FileCalls::write(fd, data, size);
    }

private:
    std::function<void()> m_hold;
    bool m_named;
};

}  // namespace personlist::testing
