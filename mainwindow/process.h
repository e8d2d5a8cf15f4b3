#pragma once

// What the program sets up for its own process before any window exists. Kept
// free of Qt so that a test can run it in a forked child and watch the result.
// One file per system: process_posix.cpp, process_windows.cpp.

namespace mainwindow {

// Call it first in main().
//
// On Linux: makes a write past the file size limit (ulimit -f) fail with EFBIG
// instead of ending the program with SIGXFSZ, so that a save beyond the limit is
// reported like a full disk and the list in memory survives it.
//
// On Windows: a drive with no medium in it (an empty card reader, a stuck disc)
// fails the file call, which the program reports, instead of putting the
// system's "no disk" box over the program, and a file that cannot be opened
// puts up no box of the system's either.
void prepareProcess();

}  // namespace mainwindow
