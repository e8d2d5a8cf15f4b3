#include "mainwindow/process.h"

#include <signal.h>

namespace mainwindow {

void prepareProcess()
{
    // An ignored signal stays ignored across exec, so a program started from
    // here would inherit this. The program starts none.
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    ::sigaction(SIGXFSZ, &ignore, nullptr);
}

}  // namespace mainwindow
