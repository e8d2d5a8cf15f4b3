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

// A character's UTF-8 bytes packed for decoding: the bytes in the low three
// bytes, first byte lowest, and their count in the top byte.
constexpr std::uint32_t packedUtf8(char16_t c)
{
    if (c < 0x80) {
        return 1u << 24 | c;
    }
    if (c < 0x800) {
        return 2u << 24 | (0x80u | (c & 0x3Fu)) << 8 | (0xC0u | (c >> 6));
    }
    return 3u << 24 | (0x80u | (c & 0x3Fu)) << 16 | (0x80u | ((c >> 6) & 0x3Fu)) << 8 | (0xE0u | (c >> 12));
}

constexpr std::uint32_t PackedReplacement = packedUtf8(Replacement);

// What Linux input methods type for a few CP932 characters; Windows writes them
// as those characters.
constexpr std::pair<char16_t, std::uint16_t> TypedForms[] = {
    {0x301C, 0x8160}, {0x2212, 0x817C}, {0x2016, 0x8161}, {0x2014, 0x815C},
    {0x00A2, 0x8191}, {0x00A3, 0x8192}, {0x00AC, 0x81CA}};

struct Tables {
    bool complete = false;
    std::array<char16_t, 256> single{};        // the character of each byte that is no lead byte
    std::vector<char16_t> pair;                // indexed lead << 8 | trail; 0 where the table is empty
    std::vector<std::uint16_t> bytesOf;        // indexed by character; NoBytes where CP932 has none
    // The same characters as packedUtf8, for decoding; U+FFFD in the empty cells.
    std::array<std::uint32_t, 256> singleUtf8{};
    std::vector<std::uint32_t> pairUtf8;
    std::array<bool, 256> lead{};
    std::array<bool, 256> trail{};

    Tables() : pair(0x10000, 0), bytesOf(0x10000, NoBytes), pairUtf8(0x10000)
    {
        fill();
        for (unsigned b = 0; b < 0x100; ++b) {
            lead[b] = isLead(b);
            trail[b] = isTrail(b);
            singleUtf8[b] = packedUtf8(single[b]);
        }
        for (std::size_t i = 0; i < pair.size(); ++i) {
            pairUtf8[i] = packedUtf8(pair[i] != 0 ? pair[i] : Replacement);
        }
    }

private:
    void fill()
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
        for (const auto& [c, bytes] : TypedForms) {
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

// Writes a packedUtf8 character at out and returns the byte after it. Always
// stores three bytes, so out needs two bytes to spare past the text.
char* put(char* out, std::uint32_t packed)
{
    out[0] = static_cast<char>(packed & 0xFF);
    out[1] = static_cast<char>((packed >> 8) & 0xFF);
    out[2] = static_cast<char>((packed >> 16) & 0xFF);
    return out + (packed >> 24);
}

// Decodes into out, which has room for 3 bytes per input byte (the most any
// CP932 byte can become) and two more, and returns the end of what was written.
char* decodeInto(const Tables& t, std::string_view bytes, char* out)
{
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    std::size_t i = 0;
    while (i < n) {
        const unsigned char b = in[i];
        if (b < 0x80) {
            // ASCII as it stands (5C a backslash, 7E a tilde, as on Windows):
            // the blanks and digits that make up most of a list file.
            *out++ = static_cast<char>(b);
            ++i;
        } else if (!t.lead[b]) {
            out = put(out, t.singleUtf8[b]);
            ++i;
        } else if (i + 1 == n) {
            break;
        } else if (!t.trail[in[i + 1]]) {
            out = put(out, PackedReplacement);
            ++i;
        } else {
            out = put(out, t.pairUtf8[static_cast<std::size_t>(b) << 8 | in[i + 1]]);
            i += 2;
        }
    }
    return out;
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

char32_t windowsForm(char32_t c)
{
    const Tables& t = tables();
    for (const auto& [typed, bytes] : TypedForms) {
        if (typed == c && t.complete) {
            return t.pair[bytes];
        }
    }
    return c;
}

std::string decode(std::string_view bytes)
{
    const Tables& t = tables();
    // A field is 20 bytes: decode it on the stack, so that the only allocation
    // is the result's own (none at all for texts that fit in a short string).
    constexpr std::size_t OnStack = 32;
    if (bytes.size() <= OnStack) {
        std::array<char, decodedCapacity(OnStack)> buffer;
        char* end = decodeInto(t, bytes, buffer.data());
        return std::string(buffer.data(), end);
    }
    std::string out(decodedCapacity(bytes.size()), '\0');
    const char* end = decodeInto(t, bytes, out.data());
    out.resize(static_cast<std::size_t>(end - out.data()));
    return out;
}

std::size_t decodeInto(std::string_view bytes, char* out)
{
    return static_cast<std::size_t>(decodeInto(tables(), bytes, out) - out);
}

}  // namespace personlist::cp932
