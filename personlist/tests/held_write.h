#pragma once

// A save whose writes wait until the test lets them go, in each system's calls.

#ifdef _WIN32
#include "held_write_windows.h"
#else
#include "held_write_posix.h"
#endif
