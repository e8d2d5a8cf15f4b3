// What the Windows task bar does to a program's window when its button is
// clicked: ShowWindow on the window's handle, from another process. The window
// is found by its title.
#include <windows.h>

int wmain(int argc, wchar_t** argv)
{
    const HWND window = argc == 2 ? FindWindowW(nullptr, argv[1]) : nullptr;
    return window && ShowWindow(window, SW_MINIMIZE) ? 0 : 1;
}
