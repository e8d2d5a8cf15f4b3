// Draws the main window at its full layout size into PNG files, without a
// screen: once as it opens, once after a reading.
//
//   form2_screenshot <directory>   writes form2-start.png and form2-reading.png

#include "mainwindow/form2.h"
#include "mainwindow/form2_layout.h"
#include "uikit/look.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>

#include <cstdio>

namespace {

bool save(mainwindow::Form2& window, const QDir& dir, const QString& file)
{
    const QString path = dir.filePath(file);
    if (!window.grab().save(path)) {
        std::fprintf(stderr, "form2_screenshot: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: form2_screenshot <directory>\n");
        return 2;
    }
    uikit::prepareApplication(app);
    const QDir dir(QString::fromLocal8Bit(argv[1]));

    mainwindow::Form2 window;
    window.resize(mainwindow::form2_layout::LayoutArea.width, mainwindow::form2_layout::LayoutArea.height);
    window.show();
    if (!save(window, dir, QStringLiteral("form2-start.png"))) {
        return 1;
    }

    // Born 5 May 1980, reading 10 February 2024: natal star ニ黒土星, the year
    // board with 三 in the centre, the month board the home board.
    window.findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(QStringLiteral("1980"));
    window.findChild<QComboBox*>(QStringLiteral("Combo1"))->setEditText(QStringLiteral("5"));
    window.findChild<QComboBox*>(QStringLiteral("Combo2"))->setEditText(QStringLiteral("5"));
    window.findChild<QLineEdit*>(QStringLiteral("Text4"))->setText(QStringLiteral("2024"));
    window.findChild<QComboBox*>(QStringLiteral("Combo3"))->setEditText(QStringLiteral("2"));
    window.findChild<QComboBox*>(QStringLiteral("Combo4"))->setEditText(QStringLiteral("10"));
    window.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    return save(window, dir, QStringLiteral("form2-reading.png")) ? 0 : 1;
}
