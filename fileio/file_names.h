#pragma once

// Names the save of each system needs: the Windows devices it must never open,
// and the temporary name of a new file.

#include <cstdint>
#include <string>
#include <string_view>

namespace fileio {

// Whether Windows takes this file name (the last part of a path) for one of its
// devices in every folder: CON, PRN, AUX, NUL, COM1-9 and LPT1-9 (also with the
// superscript digits ¹²³), CONIN$ and CONOUT$, in any case, with any extension,
// and with the blanks and dots that Windows drops from the end of a name.
// Opening one would read the console or a port instead of a file.
bool isWindowsDeviceName(std::u16string_view fileName);

// A temporary name for the new file of a save: ".orx-save-" and six letters or
// digits, different for each attempt, process and moment.
std::string temporaryName(unsigned attempt, std::uint64_t process);

}  // namespace fileio
