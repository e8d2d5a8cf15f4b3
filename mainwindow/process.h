#pragma once

// What the program sets up for its own process before any window exists. Kept
// free of Qt so that a test can run it in a forked child and watch the result.

namespace mainwindow {

// Makes a write past the file size limit (ulimit -f) fail with EFBIG instead of
// ending the program with SIGXFSZ, so that a save beyond the limit is reported
// like a full disk and the list in memory survives it. Call it first in main().
void prepareProcess();

}  // namespace mainwindow
