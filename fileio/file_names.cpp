#include "fileio/file_names.h"

#include <array>
#include <chrono>

namespace fileio {

namespace {

char16_t upper(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c; }

}  // namespace

bool isWindowsDeviceName(std::u16string_view fileName)
{
    // Windows drops blanks and dots from the end of a name, and reads the
    // device's name up to the first dot (an extension) or colon (a stream).
    const std::size_t last = fileName.find_last_not_of(u" .");
    if (last == std::u16string_view::npos) {
        return false;
    }
    std::u16string_view base = fileName.substr(0, last + 1);
    base = base.substr(0, base.find_first_of(u".:"));
    base = base.substr(0, base.find_last_not_of(u' ') + 1);
    std::u16string name;
    for (const char16_t c : base) {
        name += upper(c);
    }
    static constexpr std::array<std::u16string_view, 6> Plain = {u"CON", u"PRN", u"AUX", u"NUL", u"CONIN$", u"CONOUT$"};
    for (const std::u16string_view device : Plain) {
        if (name == device) {
            return true;
        }
    }
    if (name.size() != 4 || (name.substr(0, 3) != u"COM" && name.substr(0, 3) != u"LPT")) {
        return false;
    }
    const char16_t digit = name[3];
    return (digit >= u'1' && digit <= u'9') || digit == u'\u00B9' || digit == u'\u00B2' || digit == u'\u00B3';
}

// ".orx-save-" and six letters or digits: a fixed short prefix rather than one
// made from the target's name, which could pass the file-name length limit. A
// name that is taken costs one more attempt, so the six characters only need to
// differ between attempts, processes and moments, not to be unguessable.
std::string temporaryName(unsigned attempt, std::uint64_t process)
{
    static constexpr std::string_view Characters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    auto x = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    x ^= process << 40;
    x += (attempt + 1) * 0x9E3779B97F4A7C15ULL;
    // The mixing step of splitmix64: nearby inputs give unrelated outputs.
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    x ^= x >> 31;
    std::string name = ".orx-save-";
    for (int i = 0; i < 6; ++i) {
        name += Characters[x % Characters.size()];
        x /= Characters.size();
    }
    return name;
}

}  // namespace fileio
