#pragma once

// The program's code page 932 as constant tables, defined in the generated
// cp932_table.cpp. The sizes stand here so that a table written with another
// number of entries does not compile.

#include <cstdint>

namespace textcodec::cp932::table {

inline constexpr int Rows = 60;        // lead bytes 81-9F, then E0-FC
inline constexpr int Columns = 189;    // trail bytes 40-FC (7F, which is none, stays empty)
inline constexpr int FormCount = 9411;
inline constexpr int TypedFormCount = 7;

struct Form {
    char16_t character;
    std::uint16_t bytes;  // one byte below 0x100, else lead << 8 | trail
};

// The character of each byte that is no lead byte; U+FFFD for the lead bytes.
extern const char16_t single[256];
// The character of each lead and trail byte pair; 0 in the empty cells.
extern const char16_t pairs[Rows][Columns];
// Every character that has a CP932 form, in the order of their code points.
extern const Form forms[FormCount];
// The characters that Linux input methods type where Windows has another code
// point for the same CP932 character (among the forms above as well).
extern const Form typedForms[TypedFormCount];

}  // namespace textcodec::cp932::table
