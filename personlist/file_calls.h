#pragma once

// This system's file calls: FileHandle, ExistingFile, FileCalls and
// StoppableCalls.

#ifdef _WIN32
#include "personlist/file_calls_windows.h"
#else
#include "personlist/file_calls_posix.h"
#endif
