// kyusei: opens the main window, maximised. Nothing is read at start: no
// settings, no list file; the person list starts empty.

#include "mainwindow/form2.h"
#include "mainwindow/process.h"
#include "uikit/look.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    mainwindow::prepareProcess();
    QApplication app(argc, argv);
    // The name of the desktop entry: on Wayland it is the windows' app_id, by
    // which docks and task bars find the program's name and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.kyusei.kyusei"));
    uikit::prepareApplication(app);
    mainwindow::Form2 window;
    window.showMaximized();
    return QApplication::exec();
}
