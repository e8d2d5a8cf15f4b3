// Draws both windows into PNG files without a screen, so that their look can be
// checked against the layout and the pictures in docs/ kept up to date:
//
//   screenshot <directory>
//
// writes form2-start.png and form2-reading.png (the main window as it opens and
// after a reading), form1-start.png and form1-after-ticks.png (the training
// window as it opens and after three ticks). Each window is the active one, as it
// is on screen, so its pictures show where the keyboard focus is: the birth-year
// box of the main window, the slider of the training window.
//
// Beside form2-reading.png it writes form2-reading.labels: each label that
// shows there, with its place in the window ("Label13(7) 376 96 25 57"), by
// which the Windows packages' test compares their drawing with this one.

#include "mainwindow/form2.h"
#include "mainwindow/form2_layout.h"
#include "training/form1.h"
#include "uikit/look.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>

#include <cstdio>

namespace {

// Shown and made the active window, which the offscreen platform does at once
// or after a few events.
void showActive(QWidget& window)
{
    window.show();
    window.activateWindow();
    for (int i = 0; i < 100 && !window.isActiveWindow(); ++i) {
        QCoreApplication::processEvents();
    }
}

bool save(QWidget& window, const QDir& dir, const QString& file)
{
    const QString path = dir.filePath(file);
    if (!window.grab().save(path, "PNG")) {
        std::fprintf(stderr, "screenshot: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

bool writeLabels(const QWidget& window, const QDir& dir, const QString& file)
{
    QFile out(dir.filePath(file));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "screenshot: cannot write %s\n", qPrintable(out.fileName()));
        return false;
    }
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        if (label->isVisibleTo(&window)) {
            const QRect at = label->geometry();
            out.write(QStringLiteral("%1 %2 %3 %4 %5\n")
                          .arg(label->objectName()).arg(at.x()).arg(at.y()).arg(at.width()).arg(at.height())
                          .toUtf8());
        }
    }
    return out.flush();
}

bool drawMainWindow(const QDir& dir)
{
    mainwindow::Form2 window;
    window.resize(mainwindow::form2_layout::LayoutArea.width, mainwindow::form2_layout::LayoutArea.height);
    showActive(window);
    bool ok = save(window, dir, QStringLiteral("form2-start.png"));

    // Born 5 May 1980, reading 10 February 2024: natal star ニ黒土星, the year
    // board with 三 in the centre, the month board the home board.
    window.findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(QStringLiteral("1980"));
    window.findChild<QComboBox*>(QStringLiteral("Combo1"))->setEditText(QStringLiteral("5"));
    window.findChild<QComboBox*>(QStringLiteral("Combo2"))->setEditText(QStringLiteral("5"));
    window.findChild<QLineEdit*>(QStringLiteral("Text4"))->setText(QStringLiteral("2024"));
    window.findChild<QComboBox*>(QStringLiteral("Combo3"))->setEditText(QStringLiteral("2"));
    window.findChild<QComboBox*>(QStringLiteral("Combo4"))->setEditText(QStringLiteral("10"));
    window.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    ok = writeLabels(window, dir, QStringLiteral("form2-reading.labels")) && ok;
    return save(window, dir, QStringLiteral("form2-reading.png")) && ok;
}

bool drawTrainingWindow(const QDir& dir)
{
    QPointer<training::Form1> window = new training::Form1;
    showActive(*window);
    bool ok = save(*window, dir, QStringLiteral("form1-start.png"));
    for (int i = 0; i < 3; ++i) {
        window->tick();
    }
    ok = save(*window, dir, QStringLiteral("form1-after-ticks.png")) && ok;
    window->close();
    return ok;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: screenshot <directory>\n");
        return 2;
    }
    uikit::prepareApplication(app);
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    const bool mainDrawn = drawMainWindow(dir);
    const bool trainingDrawn = drawTrainingWindow(dir);
    return mainDrawn && trainingDrawn ? 0 : 1;
}
