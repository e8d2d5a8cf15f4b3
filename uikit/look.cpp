#include "uikit/look.h"

#include "uikit/look_platform.h"

#include "reckoning/tables.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QTranslator>

#include <cmath>

namespace uikit {

namespace {

// The first of the faces that is installed. Asking for a face that is missing
// (on Debian "ＭＳ Ｐ明朝" never is), or for a list of faces, makes fontconfig
// search fallbacks once per face and script when text is first drawn, and the
// missing face alone would draw Latin text in DejaVu. When none is installed the
// whole list goes to Qt, which falls back from it. Glyphs missing from the face
// still fall back.
QStringList firstInstalled(const QStringList& families)
{
    for (const QString& family : families) {
        if (const QString name = installedFace(family); !name.isEmpty()) {
            return {name};
        }
    }
    return families;
}

QFont withFamilies(const QStringList& families, QFont::StyleHint style, double points)
{
    QFont font;
    font.setFamilies(families);
    font.setPixelSize(pixelsForPoints(points));
    font.setWeight(QFont::Normal);
    font.setStyleHint(style);
    return font;
}

}  // namespace

int pixelsForPoints(double points) { return static_cast<int>(std::lround(points * 96.0 / 72.0)); }

QFont mincho(double points)
{
    static const QStringList families = firstInstalled(minchoFaces());
    return withFamilies(families, QFont::Serif, points);
}

QFont gothic(double points)
{
    static const QStringList families = firstInstalled(gothicFaces());
    return withFamilies(families, QFont::SansSerif, points);
}

QFont defaultUiFont() { return gothic(9); }

void prepareApplication(QApplication& app)
{
    QApplication::setFont(defaultUiFont());
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_ja"), qtTranslationsFolder())) {
        QApplication::installTranslator(translator);
    } else {
        delete translator;  // English buttons rather than none
    }
}

QIcon windowIcon()
{
    // Painted once for the program's life: both windows and every opening of the
    // training window share it, so the toolkit's pixmap cache holds one copy.
    // Never freed, as it may outlive the application object.
    static const QIcon* const icon = [] {
        constexpr int size = 32;
        constexpr int cell = 10;
        constexpr int origin = 1;
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::black);
        QPainter painter(&pixmap);
        for (int palace = 1; palace <= 9; ++palace) {
            const reckoning::GridCell at = reckoning::gridCell(palace);
            const QRect rect(origin + at.column * cell, origin + at.row * cell, cell, cell);
            painter.fillRect(rect, colour(reckoning::starColour(palace)));
            painter.setPen(QColor(0x40, 0x40, 0x40));
            painter.drawRect(rect.adjusted(0, 0, -1, -1));
        }
        painter.end();
        return new QIcon(pixmap);
    }();
    return *icon;
}

}  // namespace uikit
