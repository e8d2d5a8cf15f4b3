#include "mainwindow/process.h"

#include <windows.h>

namespace mainwindow {

void prepareProcess()
{
    // Kept with whatever the starting process asked for: the mode is inherited,
    // and a debugger or a test runner may have set more.
    const UINT mode = GetErrorMode();
    SetErrorMode(mode | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
}

}  // namespace mainwindow
