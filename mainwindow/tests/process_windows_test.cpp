#include "mainwindow/process.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace mainwindow {
namespace {

// The system's boxes for a drive without medium and for a file it cannot open
// stay away, and whatever mode the program was started with is kept.
TEST(ProcessSetUpOnWindows, NoSystemBoxOverTheProgramForADriveWithoutMedium)
{
    SetErrorMode(SEM_NOGPFAULTERRORBOX);
    prepareProcess();
    EXPECT_EQ(GetErrorMode(), UINT{SEM_NOGPFAULTERRORBOX | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX});
}

}  // namespace
}  // namespace mainwindow
