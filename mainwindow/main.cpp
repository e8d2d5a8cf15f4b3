// kyusei: opens the main window, maximised. Nothing is read at start: no
// settings, no list file; the person list starts empty.

#include "mainwindow/form2.h"
#include "mainwindow/process.h"
#include "uikit/file_calls_aside.h"
#include "uikit/look.h"

#include <QApplication>

#include <cstdlib>

int main(int argc, char* argv[])
{
    mainwindow::prepareProcess();
    int code = 0;
    {
        QApplication app(argc, argv);
        // The name of the desktop entry: on Wayland it is the windows' app_id, by
        // which docks and task bars find the program's name and icon.
        QGuiApplication::setDesktopFileName(QStringLiteral("org.kyusei.kyusei"));
        uikit::prepareApplication(app);
        mainwindow::Form2 window;
        window.showMaximized();
        code = QApplication::exec();
    }
    // The windows are gone. A list file call that the user stopped may still be
    // stuck on its disk; it cannot be waited for, and must not come back to
    // statics being destroyed under it. Nothing is written at exit anyway.
    if (!uikit::fileCallsDone()) {
        std::_Exit(code);
    }
    return code;
}
