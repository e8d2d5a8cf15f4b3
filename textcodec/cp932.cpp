#include "textcodec/cp932.h"

#include "textcodec/cp932_table.h"

#include <array>

namespace textcodec::cp932 {

namespace {

constexpr char16_t Replacement = 0xFFFD;
constexpr std::uint16_t NoBytes = 0xFFFF;  // FF is no lead byte, so FF FF is no pair
constexpr std::uint8_t NoRow = 0xFF;
constexpr unsigned FirstTrail = 0x40;

constexpr bool isLead(unsigned b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
constexpr bool isTrail(unsigned b) { return b >= FirstTrail && b <= 0xFC && b != 0x7F; }

// The row of table::pairs that each lead byte starts; NoRow for the other bytes.
constexpr std::array<std::uint8_t, 256> RowOf = [] {
    std::array<std::uint8_t, 256> rows{};
    std::uint8_t next = 0;
    for (unsigned b = 0; b < 0x100; ++b) {
        rows[b] = isLead(b) ? next++ : NoRow;
    }
    return rows;
}();

constexpr std::array<bool, 256> Trail = [] {
    std::array<bool, 256> trail{};
    for (unsigned b = 0; b < 0x100; ++b) {
        trail[b] = isTrail(b);
    }
    return trail;
}();

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

// Worked out from the generated tables on first use (a few microseconds), as
// lookups that decoding and encoding take directly. Static storage, so no call
// ever asks the heap for them.
struct Lookups {
    // The decoding tables as packedUtf8, U+FFFD in the empty cells: decoding
    // copies bytes and never works out UTF-8 itself.
    std::array<std::uint32_t, 256> singleUtf8{};
    std::array<std::uint32_t, table::Rows * table::Columns> pairUtf8{};

    // Encoding in two steps, as fast as one 64K table but in a fraction of its
    // memory: the high byte of a character picks a block of 256, the low byte
    // the bytes in it. The high bytes without any CP932 character share block
    // 0, which is all NoBytes; blocks no character uses are never touched.
    std::array<std::uint8_t, 256> blockOf{};
    std::array<std::array<std::uint16_t, 256>, 256> blocks;

    Lookups()
    {
        for (unsigned b = 0; b < 0x100; ++b) {
            singleUtf8[b] = packedUtf8(table::single[b]);
        }
        for (int row = 0; row < table::Rows; ++row) {
            for (int column = 0; column < table::Columns; ++column) {
                const char16_t c = table::pairs[row][column];
                pairUtf8[static_cast<std::size_t>(row * table::Columns + column)] = packedUtf8(c != 0 ? c : Replacement);
            }
        }
        blocks[0].fill(NoBytes);
        unsigned next = 1;
        for (const table::Form& form : table::forms) {
            std::uint8_t& block = blockOf[form.character >> 8];
            if (block == 0) {
                block = static_cast<std::uint8_t>(next++);
                blocks[block].fill(NoBytes);
            }
            blocks[block][form.character & 0xFF] = form.bytes;
        }
    }
};

const Lookups& lookups()
{
    static const Lookups tables;
    return tables;
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
char* decodeRun(std::string_view bytes, char* out)
{
    const Lookups& tables = lookups();
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
        } else if (RowOf[b] == NoRow) {
            out = put(out, tables.singleUtf8[b]);
            ++i;
        } else if (i + 1 == n) {
            break;
        } else if (!Trail[in[i + 1]]) {
            out = put(out, PackedReplacement);
            ++i;
        } else {
            out = put(out, tables.pairUtf8[RowOf[b] * std::size_t{table::Columns} + (in[i + 1] - FirstTrail)]);
            i += 2;
        }
    }
    return out;
}

}  // namespace

Encoded encode(char32_t c)
{
    if (c > 0xFFFF) {
        return {};
    }
    const Lookups& tables = lookups();
    const std::uint16_t bytes = tables.blocks[tables.blockOf[c >> 8]][c & 0xFF];
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
    for (const table::Form& typed : table::typedForms) {
        if (typed.character == c) {
            return table::pairs[RowOf[typed.bytes >> 8]][(typed.bytes & 0xFF) - FirstTrail];
        }
    }
    return c;
}

std::string decode(std::string_view bytes)
{
    // A field is 20 bytes: decode it on the stack, so that the only allocation
    // is the result's own (none at all for texts that fit in a short string).
    constexpr std::size_t OnStack = 32;
    if (bytes.size() <= OnStack) {
        std::array<char, decodedCapacity(OnStack)> buffer;
        char* end = decodeRun(bytes, buffer.data());
        return std::string(buffer.data(), end);
    }
    std::string out(decodedCapacity(bytes.size()), '\0');
    const char* end = decodeRun(bytes, out.data());
    out.resize(static_cast<std::size_t>(end - out.data()));
    return out;
}

std::size_t decodeInto(std::string_view bytes, char* out)
{
    return static_cast<std::size_t>(decodeRun(bytes, out) - out);
}

}  // namespace textcodec::cp932
