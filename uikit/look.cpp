#include "uikit/look.h"

#include "uikit/look_platform.h"


#include <QApplication>
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

}  // namespace uikit
