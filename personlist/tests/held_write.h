#pragma once

// A save whose write waits until the test lets it go.

#include "fileio/save_watch.h"

#include <functional>
#include <utility>

namespace personlist::testing {

// `named`: as on a file system without unnamed files, so that the new file
// has a name while it is written. On Windows it always has one (hidden).
class HeldWrite final : public fileio::SaveWatch {
public:
#ifdef _WIN32
    static constexpr bool AlwaysNamed = true;
#else
    static constexpr bool AlwaysNamed = false;
#endif

    HeldWrite(std::function<void()> hold, bool named) : m_hold(std::move(hold)), m_named(named) {}

    bool proceed(fileio::SaveStep step) override
    {
        if (step == fileio::SaveStep::CreateUnnamed) {
            return !m_named;
        }
        if (step == fileio::SaveStep::Write) {
            m_hold();
        }
        return true;
    }

private:
    std::function<void()> m_hold;
    bool m_named;
};

}  // namespace personlist::testing
