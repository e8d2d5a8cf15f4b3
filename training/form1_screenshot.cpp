// Renders the training window offscreen, as the user first sees it and after three
// ticks, so that its look can be checked against the layout without a screen:
//
//   QT_QPA_PLATFORM=offscreen form1_screenshot docs
//
// writes docs/form1-start.png and docs/form1-after-ticks.png.

#include "training/form1.h"
#include "uikit/look.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QPointer>

#include <cstdio>

using training::Form1;

namespace {

bool save(QWidget& window, const QDir& dir, const QString& name)
{
    const QString path = dir.filePath(name);
    if (!window.grab().save(path, "PNG")) {
        std::fprintf(stderr, "form1_screenshot: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    uikit::prepareApplication(app);
    const QDir dir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));

    QPointer<Form1> window = new Form1;
    window->show();
    bool ok = save(*window, dir, QStringLiteral("form1-start.png"));
    for (int i = 0; i < 3; ++i) {
        window->tick();
    }
    ok = save(*window, dir, QStringLiteral("form1-after-ticks.png")) && ok;
    window->close();
    return ok ? 0 : 1;
}
