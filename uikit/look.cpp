#include "uikit/look.h"

#include "uikit/look_platform.h"


#include <QApplication>
#include <QTranslator>

#include <cmath>

namespace uikit {

namespace {

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

// Asking for a face that is missing (on Debian "ＭＳ Ｐ明朝" never is), or for a
// list of faces, makes fontconfig search fallbacks once per face and script when
// text is first drawn, and the missing face alone would draw Latin text in
// DejaVu; on Windows the system's fallback is a face of other widths, in a
// layout fixed in pixels. So one face, installed or shipped, is asked for.
// Glyphs missing from it still fall back.
QStringList chooseFace(const QStringList& faces, const std::function<QString(const QString&)>& installed,
                       const std::function<QString()>& loadShipped)
{
    for (const QString& family : faces) {
        if (const QString name = installed(family); !name.isEmpty()) {
            return {name};
        }
    }
    if (const QString shipped = loadShipped(); !shipped.isEmpty()) {
        return {shipped};
    }
    return faces;
}

int pixelsForPoints(double points) { return static_cast<int>(std::lround(points * 96.0 / 72.0)); }

QFont mincho(double points)
{
    static const QStringList families = chooseFace(minchoFaces(), installedFace, loadShippedMincho);
    return withFamilies(families, QFont::Serif, points);
}

QFont gothic(double points)
{
    static const QStringList families = chooseFace(gothicFaces(), installedFace, loadShippedGothic);
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
