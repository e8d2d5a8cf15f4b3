#include "mainwindow/process.h"

#include <gtest/gtest.h>

#include <windows.h>

// No system box over the program for a drive without medium; the mode it was started with is kept.
TEST(ProcessSetUpOnWindows, NoSystemBoxOverTheProgramForADriveWithoutMedium)
{
    SetErrorMode(SEM_NOGPFAULTERRORBOX);
    mainwindow::prepareProcess();
    EXPECT_EQ(GetErrorMode(), UINT{SEM_NOGPFAULTERRORBOX | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX});
}
