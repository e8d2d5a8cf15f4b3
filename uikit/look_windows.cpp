#include "uikit/look.h"
#include "uikit/look_platform.h"

#include <QFontDatabase>

namespace uikit {

// Windows names a face in the language of the system: "ＭＳ Ｐ明朝" on a
// Japanese one, "MS PMincho" on others (where the Japanese supplemental fonts
// are installed). Yu Mincho and Yu Gothic come with every Windows 10 and 11
// that has Japanese fonts at all; when none is there, Qt falls back from the
// list by the font's style.
QStringList minchoFaces()
{
    return {MinchoFamily, QStringLiteral("MS PMincho"), QStringLiteral("游明朝"), QStringLiteral("Yu Mincho")};
}

QStringList gothicFaces()
{
    return {GothicFamily, QStringLiteral("MS PGothic"), QStringLiteral("游ゴシック"), QStringLiteral("Yu Gothic")};
}

// Qt's Windows font database is the system's list of faces, which Windows has
// at hand; asking it costs no search of font files. Each face is listed under
// the name it has in the system's language, and that is the name given back.
QString installedFace(const QString& family)
{
    const QStringList installed = QFontDatabase::families();
    for (const QString& name : installed) {
        if (name.compare(family, Qt::CaseInsensitive) == 0) {
            return name;
        }
    }
    return {};
}

// Windows has no shared folder of Qt translations: the Japanese one is built
// into the program (the qt_translations resource of uikit/CMakeLists.txt).
QString qtTranslationsFolder() { return QStringLiteral(":/kyusei/qt-translations"); }

}  // namespace uikit
