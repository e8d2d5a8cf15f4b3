#include "uikit/look.h"
#include "uikit/look_platform.h"

#include <QLibraryInfo>

#include <fontconfig/fontconfig.h>

namespace uikit {

// Where the MS faces are missing, as on Debian they always are: the IPA
// proportional faces of the fonts-ipafont packages, then any Mincho/Gothic.
QStringList minchoFaces()
{
    return {MinchoFamily, QStringLiteral("IPAPMincho"), QStringLiteral("IPAMincho"),
            QStringLiteral("Noto Serif CJK JP")};
}

QStringList gothicFaces()
{
    return {GothicFamily, QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"),
            QStringLiteral("Noto Sans CJK JP")};
}

// Debian's packages bring the IPA faces (the program depends on them); the
// program ships none of its own.
QString loadShippedMincho() { return {}; }
QString loadShippedGothic() { return {}; }

// Asks fontconfig, in any of a face's names, as Qt compares them (ignoring
// case). A Windows face carries its English name first and its Japanese one
// second ("MS PMincho", "ＭＳ Ｐ明朝"); Qt's QFontDatabase::families() lists a
// face under its first name only, and hasFamily() learns the other names only
// once the database is built, so asking Qt would miss the installed MS faces.
// Reading fontconfig's own set of faces also leaves Qt's font database alone
// until the first paint builds it; fontconfig's set-up, which both need, is done
// once either way. Qt's fontconfig database takes any of the names, so the one
// asked for is the one given back.
QString installedFace(const QString& family)
{
    const QByteArray wanted = family.toUtf8();
    const auto* name = reinterpret_cast<const FcChar8*>(wanted.constData());
    for (const FcSetName which : {FcSetSystem, FcSetApplication}) {
        const FcFontSet* faces = FcConfigGetFonts(nullptr, which);
        for (int i = 0; faces != nullptr && i < faces->nfont; ++i) {
            FcChar8* value = nullptr;
            for (int k = 0; FcPatternGetString(faces->fonts[i], FC_FAMILY, k, &value) == FcResultMatch; ++k) {
                if (FcStrCmpIgnoreCase(value, name) == 0) {
                    return family;
                }
            }
        }
    }
    return {};
}

// Debian's qt6-translations-l10n.
QString qtTranslationsFolder() { return QLibraryInfo::path(QLibraryInfo::TranslationsPath); }

}  // namespace uikit
