#include "uikit/look.h"
#include "uikit/look_platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>

namespace uikit {

// Windows names a face in the language of the system: "ＭＳ Ｐ明朝" on a
// Japanese one, "MS PMincho" on others, where it is there only with the
// Japanese supplemental fonts. Without them, an English Windows has no Mincho
// face at all, and the program loads the IPA face it ships (ipamp.ttf beside
// kyusei.exe: IPAPMincho stands in for the MS face, as on Debian). Other
// Japanese faces (Yu Mincho, Meiryo) have other widths and heights than the
// captions' places, fixed in pixels, were laid out for, so they are never used.
QStringList minchoFaces()
{
    return {MinchoFamily, QStringLiteral("MS PMincho"), QStringLiteral("IPA P明朝"), QStringLiteral("IPAPMincho")};
}

QStringList gothicFaces()
{
    return {GothicFamily, QStringLiteral("MS PGothic"), QStringLiteral("IPA Pゴシック"), QStringLiteral("IPAPGothic")};
}

namespace {

// For this process alone: nothing is installed into the system, and nothing is
// read where the MS faces are there.
QString loadShipped(const QString& file)
{
    const QString path = QDir::toNativeSeparators(QDir(QCoreApplication::applicationDirPath()).filePath(file));
    if (!QFileInfo::exists(path)) {
        return {};
    }
    const int id = QFontDatabase::addApplicationFont(path);
    return id < 0 ? QString() : QFontDatabase::applicationFontFamilies(id).value(0);
}

}  // namespace

QString loadShippedMincho() { return loadShipped(QStringLiteral("ipamp.ttf")); }
QString loadShippedGothic() { return loadShipped(QStringLiteral("ipagp.ttf")); }

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
