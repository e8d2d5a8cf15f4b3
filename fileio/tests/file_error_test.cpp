#include "fileio/file_error.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cerrno>

namespace fileio {
namespace {

// Never the system's own message, which is English under C.UTF-8.
TEST(FailureReason, IsJapaneseForEveryErrorNumber)
{
    for (int error = 0; error <= 200; ++error) {
        const std::string reason = failureReason({FileError::Kind::System, error});
        EXPECT_TRUE(std::none_of(reason.begin(), reason.end(), [](unsigned char c) { return std::isalpha(c); }))
            << error << " " << reason;
    }
    EXPECT_EQ(failureReason({FileError::Kind::System, ECHILD}), "予期しないエラーが発生しました（エラー番号 10）。");
}

}  // namespace
}  // namespace fileio
