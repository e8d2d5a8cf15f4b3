#include "personlist/cp932.h"

#include <iconv.h>

#include <array>
#include <optional>
#include <utility>
#include <vector>

namespace personlist::cp932 {

namespace {

constexpr char16_t Replacement = 0xFFFD;
constexpr std::uint16_t NoBytes = 0xFFFF;  // FF is no lead byte, so FF FF is no pair

bool isLead(unsigned b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool isTrail(unsigned b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

// One glibc converter, reset before every call so that each conversion stands on
// its own.
class Iconv {
public:
    Iconv(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Iconv()
    {
        if (valid()) {
            iconv_close(m_cd);
        }
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // The converted bytes, or nothing when the input is not one whole convertible
    // sequence.
    std::optional<std::string> convert(std::string_view in)
    {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        std::string input(in);
        std::array<char, 16> output{};
        char* inPtr = input.data();
        std::size_t inLeft = input.size();
        char* outPtr = output.data();
        std::size_t outLeft = output.size();
        if (iconv(m_cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0) {
            return std::nullopt;
        }
        return std::string(output.data(), output.size() - outLeft);
    }

private:
    iconv_t m_cd;
};

std::string utf32le(char32_t c)
{
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i) {
        s[static_cast<std::size_t>(i)] = static_cast<char>((c >> (8 * i)) & 0xFF);
    }
    return s;
}

// The single character that a UTF-32LE text holds, if it holds exactly one in
// the Basic Multilingual Plane.
std::optional<char16_t> onlyCharacter(const std::optional<std::string>& text)
{
    if (!text || text->size() != 4) {
        return std::nullopt;
    }
    char32_t c = 0;
    for (int i = 3; i >= 0; --i) {
        c = (c << 8) | static_cast<unsigned char>((*text)[static_cast<std::size_t>(i)]);
    }
    if (c > 0xFFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        return std::nullopt;
    }
    return static_cast<char16_t>(c);
}

struct Tables {
    bool complete = false;
    std::array<char16_t, 256> single{};        // the character of each byte that is no lead byte
    std::vector<char16_t> pair;                // indexed lead << 8 | trail; 0 where the table is empty
    std::vector<std::uint16_t> bytesOf;        // indexed by character; NoBytes where CP932 has none

    Tables() : pair(0x10000, 0), bytesOf(0x10000, NoBytes)
    {
        for (unsigned b = 0; b < 0x80; ++b) {
            single[b] = static_cast<char16_t>(b);
            bytesOf[b] = static_cast<std::uint16_t>(b);
        }
        for (unsigned b = 0x80; b < 0x100; ++b) {
            single[b] = Replacement;
        }
        Iconv toUnicode("UTF-32LE", "CP932");
        Iconv toCp932("CP932", "UTF-32LE");
        if (!toUnicode.valid() || !toCp932.valid()) {
            return;
        }
        for (unsigned b = 0; b < 0x100; ++b) {
            if (!isLead(b)) {
                const std::optional<char16_t> c = onlyCharacter(toUnicode.convert(std::string(1, static_cast<char>(b))));
                single[b] = c.value_or(Replacement);
            }
        }
        for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
            if (!isLead(lead)) {
                continue;
            }
            for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
                if (!isTrail(trail)) {
                    continue;
                }
                const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                const std::optional<char16_t> c = onlyCharacter(toUnicode.convert(std::string_view(bytes, 2)));
                pair[lead << 8 | trail] = c.value_or(0);
            }
        }
        // Asking the converter for every character, rather than inverting the
        // decoding table, gives its choice among duplicates and the characters it
        // only accepts for writing, such as U+301C for ～.
        for (char32_t c = 0; c <= 0xFFFF; ++c) {
            if (c >= 0xD800 && c <= 0xDFFF) {
                continue;
            }
            const std::optional<std::string> out = toCp932.convert(utf32le(c));
            if (out && out->size() == 1) {
                bytesOf[c] = static_cast<unsigned char>((*out)[0]);
            } else if (out && out->size() == 2) {
                bytesOf[c] = static_cast<std::uint16_t>(static_cast<unsigned char>((*out)[0]) << 8 |
                                                        static_cast<unsigned char>((*out)[1]));
            }
        }
        // The single bytes that Windows maps and glibc does not, both ways.
        constexpr std::pair<unsigned, char16_t> windowsSingles[] = {
            {0x80, 0x0080}, {0xA0, 0xF8F0}, {0xFD, 0xF8F1}, {0xFE, 0xF8F2}, {0xFF, 0xF8F3}};
        for (const auto& [byte, c] : windowsSingles) {
            single[byte] = c;
            bytesOf[c] = static_cast<std::uint16_t>(byte);
        }
        // What Linux input methods type for a few CP932 characters; Windows writes
        // them as those characters.
        constexpr std::pair<char16_t, std::uint16_t> typedForms[] = {
            {0x301C, 0x8160}, {0x2212, 0x817C}, {0x2016, 0x8161}, {0x2014, 0x815C},
            {0x00A2, 0x8191}, {0x00A3, 0x8192}, {0x00AC, 0x81CA}};
        for (const auto& [c, bytes] : typedForms) {
            bytesOf[c] = bytes;
        }
        complete = true;
    }
};

const Tables& tables()
{
    static const Tables built;
    return built;
}

void appendUtf8(std::string& out, char16_t c)
{
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

}  // namespace

bool available() { return tables().complete; }

Encoded encode(char32_t c)
{
    if (c > 0xFFFF) {
        return {};
    }
    const std::uint16_t bytes = tables().bytesOf[c];
    if (bytes == NoBytes) {
        return {};
    }
    if (bytes < 0x100) {
        return {1, {static_cast<char>(bytes), 0}};
    }
    return {2, {static_cast<char>(bytes >> 8), static_cast<char>(bytes & 0xFF)}};
}

std::string decode(std::string_view bytes)
{
    const Tables& t = tables();
    std::string out;
    out.reserve(bytes.size() * 3);
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (!isLead(b)) {
            appendUtf8(out, t.single[b]);
            ++i;
            continue;
        }
        if (i + 1 == bytes.size()) {
            break;
        }
        const auto trail = static_cast<unsigned char>(bytes[i + 1]);
        if (!isTrail(trail)) {
            appendUtf8(out, Replacement);
            ++i;
            continue;
        }
        const char16_t c = t.pair[static_cast<std::size_t>(b << 8 | trail)];
        appendUtf8(out, c != 0 ? c : Replacement);
        i += 2;
    }
    return out;
}

}  // namespace personlist::cp932
