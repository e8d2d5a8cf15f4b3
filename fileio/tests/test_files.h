#pragma once

// Small helpers for tests that read and write real files: a scratch folder that
// is removed afterwards, whole-file reads and writes, and hex byte strings.

#include "fileio/file_error.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace fileio::testing {

class ScratchDir {
public:
    ScratchDir()
    {
        // Private to the user, as mkdtemp makes it.
        std::random_device random;
        for (int attempt = 0; m_path.empty(); ++attempt) {
            const auto path = std::filesystem::temp_directory_path() / ("kyusei-test-" + std::to_string(random()));
            if (std::filesystem::create_directory(path)) {
                std::filesystem::permissions(path, std::filesystem::perms::owner_all);
                m_path = path;
            } else if (attempt == 100) {
                throw std::runtime_error("no scratch folder");
            }
        }
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

// The names in a folder, sorted.
inline std::vector<std::string> namesIn(const std::filesystem::path& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

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

}  // namespace fileio::testing

// The list's tests find them where their own helpers are.
namespace personlist::testing {
using namespace fileio::testing;
}  // namespace personlist::testing
