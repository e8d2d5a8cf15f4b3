#pragma once

#include "personlist/file_io.h"

#include <functional>
#include <utility>

namespace personlist::testing {

// A save whose writes call `hold` first. The new file has its (hidden) name
// while it is written, whatever the file system.
class HeldWrite final : public personlist::FileCalls {
public:
    static constexpr bool AlwaysNamed = true;

    HeldWrite(std::function<void()> hold, bool /*named*/) : m_hold(std::move(hold)) {}
    bool writeFile(void* file, const void* data, unsigned long size, unsigned long* written) override
    {
        m_hold();
        return FileCalls::writeFile(file, data, size, written);
    }

private:
    std::function<void()> m_hold;
};

}  // namespace personlist::testing
