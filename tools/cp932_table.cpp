// Writes textcodec/cp932_table.cpp, the program's code page 932, on standard
// output: glibc's "CP932" converter asked for every byte, every lead and trail
// byte pair and every character of the Basic Multilingual Plane, with the forms
// that Windows writes where glibc has none (see textcodec/cp932.h). Windows has
// no such converter, so the program carries the result as constant tables.
//
//   cmake --build --preset default --target cp932_table
//   build/tools/cp932_table > textcodec/cp932_table.cpp
//
// A test compares the committed file with what this writes.

#include <iconv.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

constexpr char16_t Replacement = 0xFFFD;
constexpr std::uint16_t NoBytes = 0xFFFF;

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

// What Linux input methods type for a few CP932 characters; Windows writes them
// as those characters.
constexpr std::pair<char16_t, std::uint16_t> TypedForms[] = {
    {0x301C, 0x8160}, {0x2212, 0x817C}, {0x2016, 0x8161}, {0x2014, 0x815C},
    {0x00A2, 0x8191}, {0x00A3, 0x8192}, {0x00AC, 0x81CA}};

// The single bytes that Windows maps and glibc does not, both ways.
constexpr std::pair<unsigned, char16_t> WindowsSingles[] = {
    {0x80, 0x0080}, {0xA0, 0xF8F0}, {0xFD, 0xF8F1}, {0xFE, 0xF8F2}, {0xFF, 0xF8F3}};

struct Tables {
    std::array<char16_t, 256> single{};  // the character of each byte that is no lead byte
    std::vector<char16_t> pair = std::vector<char16_t>(0x10000, 0);  // lead << 8 | trail; 0 where empty
    std::vector<std::uint16_t> bytesOf = std::vector<std::uint16_t>(0x10000, NoBytes);
};

std::optional<Tables> askGlibc()
{
    Iconv toUnicode("UTF-32LE", "CP932");
    Iconv toCp932("CP932", "UTF-32LE");
    if (!toUnicode.valid() || !toCp932.valid()) {
        return std::nullopt;
    }
    Tables t;
    for (unsigned b = 0; b < 0x100; ++b) {
        t.single[b] = b < 0x80 ? static_cast<char16_t>(b) : Replacement;
        if (b < 0x80) {
            t.bytesOf[b] = static_cast<std::uint16_t>(b);
        }
        if (!isLead(b)) {
            const std::optional<char16_t> c = onlyCharacter(toUnicode.convert(std::string(1, static_cast<char>(b))));
            t.single[b] = c.value_or(Replacement);
        }
    }
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            if (isLead(lead) && isTrail(trail)) {
                const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                const std::optional<char16_t> c = onlyCharacter(toUnicode.convert(std::string_view(bytes, 2)));
                t.pair[lead << 8 | trail] = c.value_or(0);
            }
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
            t.bytesOf[c] = static_cast<unsigned char>((*out)[0]);
        } else if (out && out->size() == 2) {
            t.bytesOf[c] = static_cast<std::uint16_t>(static_cast<unsigned char>((*out)[0]) << 8 |
                                                      static_cast<unsigned char>((*out)[1]));
        }
    }
    for (const auto& [byte, c] : WindowsSingles) {
        t.single[byte] = c;
        t.bytesOf[c] = static_cast<std::uint16_t>(byte);
    }
    for (const auto& [c, bytes] : TypedForms) {
        t.bytesOf[c] = bytes;
    }
    return t;
}

// Writes values as a braced list, perLine to a line, indented by indent.
void printList(const std::vector<std::string>& values, std::size_t perLine, const char* indent)
{
    for (std::size_t i = 0; i < values.size(); ++i) {
        std::printf("%s%s,%s", i % perLine == 0 ? indent : "", values[i].c_str(),
                    i % perLine == perLine - 1 || i + 1 == values.size() ? "\n" : " ");
    }
}

std::string hex4(unsigned v)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", v);
    return text;
}

void print(const Tables& t)
{
    std::printf(
        "// Generated by tools/cp932_table.cpp from glibc's \"CP932\" converter; do not\n"
        "// edit. To regenerate, build the tool (cmake --build --preset default --target\n"
        "// cp932_table) and run build/tools/cp932_table > textcodec/cp932_table.cpp.\n"
        "\n"
        "#include \"textcodec/cp932_table.h\"\n"
        "\n"
        "namespace textcodec::cp932::table {\n"
        "\n"
        "const char16_t single[] = {\n");
    std::vector<std::string> values;
    for (const char16_t c : t.single) {
        values.push_back(hex4(c));
    }
    printList(values, 16, "    ");
    std::printf(
        "};\n"
        "\n"
        "const char16_t pairs[][Columns] = {\n");
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (!isLead(lead)) {
            continue;
        }
        std::printf("    // %02X\n    {\n", lead);
        values.clear();
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            values.push_back(hex4(t.pair[lead << 8 | trail]));
        }
        printList(values, 16, "        ");
        std::printf("    },\n");
    }
    values.clear();
    for (unsigned c = 0; c <= 0xFFFF; ++c) {
        if (t.bytesOf[c] != NoBytes) {
            values.push_back("{" + hex4(c) + ", " + hex4(t.bytesOf[c]) + "}");
        }
    }
    std::printf(
        "};\n"
        "\n"
        "const Form forms[] = {\n");
    printList(values, 6, "    ");
    values.clear();
    for (const auto& [c, bytes] : TypedForms) {
        values.push_back("{" + hex4(c) + ", " + hex4(bytes) + "}");
    }
    std::printf(
        "};\n"
        "\n"
        "const Form typedForms[] = {\n");
    printList(values, 6, "    ");
    std::printf(
        "};\n"
        "\n"
        "}  // namespace textcodec::cp932::table\n");
}

}  // namespace

int main()
{
    const std::optional<Tables> tables = askGlibc();
    if (!tables) {
        std::fputs("cp932_table: glibc has no \"CP932\" converter (gconv modules missing?)\n", stderr);
        return 1;
    }
    print(*tables);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
