#include "uikit/look.h"

#include "reckoning/tables.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QPainter>
#include <QPixmap>
#include <QTranslator>

#include <fontconfig/fontconfig.h>

#include <cmath>

namespace uikit {

namespace {

// Whether fontconfig has a face that answers to `family` in any of its names,
// as Qt compares them (ignoring case). A Windows face carries its English name
// first and its Japanese one second ("MS PMincho", "ＭＳ Ｐ明朝"); Qt's
// QFontDatabase::families() lists a face under its first name only, and
// hasFamily() learns the other names only once the database is built, so asking
// Qt would miss the installed MS faces. Reading fontconfig's own set of faces also
// leaves Qt's font database alone until the first paint builds it; fontconfig's
// set-up, which both need, is done once either way.
bool installed(const QString& family)
{
    const QByteArray wanted = family.toUtf8();
    const auto* name = reinterpret_cast<const FcChar8*>(wanted.constData());
    for (const FcSetName which : {FcSetSystem, FcSetApplication}) {
        const FcFontSet* faces = FcConfigGetFonts(nullptr, which);
        for (int i = 0; faces != nullptr && i < faces->nfont; ++i) {
            FcChar8* value = nullptr;
            for (int k = 0; FcPatternGetString(faces->fonts[i], FC_FAMILY, k, &value) == FcResultMatch; ++k) {
                if (FcStrCmpIgnoreCase(value, name) == 0) {
                    return true;
                }
            }
        }
    }
    return false;
}

// The first of the faces that is installed. Asking for a face that is missing
// (on Debian "ＭＳ Ｐ明朝" never is), or for a list of faces, makes fontconfig
// search fallbacks once per face and script when text is first drawn, and the
// missing face alone would draw Latin text in DejaVu. When none is installed the
// whole list goes to Qt, which falls back from it. Glyphs missing from the face
// still fall back.
QStringList firstInstalled(const QStringList& families)
{
    for (const QString& family : families) {
        if (installed(family)) {
            return {family};
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
    static const QStringList families = firstInstalled({MinchoFamily, QStringLiteral("IPAPMincho"),
                                                   QStringLiteral("IPAMincho"), QStringLiteral("Noto Serif CJK JP")});
    return withFamilies(families, QFont::Serif, points);
}

QFont gothic(double points)
{
    static const QStringList families = firstInstalled({GothicFamily, QStringLiteral("IPAPGothic"),
                                                   QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans CJK JP")});
    return withFamilies(families, QFont::SansSerif, points);
}

QFont defaultUiFont() { return gothic(9); }

void prepareApplication(QApplication& app)
{
    QApplication::setFont(defaultUiFont());
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
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
