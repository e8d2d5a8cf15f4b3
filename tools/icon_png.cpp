// Writes the window icon as a 32 x 32 PNG for the desktop menu, so the installed
// icon is the very picture both windows carry.

#include "training/window_icon.h"

#include <QGuiApplication>
#include <QPixmap>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: icon_png <output.png>\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QPixmap icon = training::windowIcon().pixmap(32, 32);
    if (icon.size() != QSize(32, 32) || !icon.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "icon_png: could not write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
