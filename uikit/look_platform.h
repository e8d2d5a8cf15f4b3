#pragma once

// What look.cpp asks of the system it runs on: which Japanese faces there are
// and where the toolkit's own Japanese texts come from. One file per system:
// look_posix.cpp (fontconfig, Debian's translations), look_windows.cpp.

#include <QString>
#include <QStringList>

namespace uikit {

// The faces for Mincho and Gothic text, best first. The MS faces lead on both.
QStringList minchoFaces();
QStringList gothicFaces();

// The name under which the toolkit finds the face `family` when it is
// installed (any of its names matches, ignoring case), or an empty string.
QString installedFace(const QString& family);

// The folder that holds the toolkit's translation "qtbase_ja".
QString qtTranslationsFolder();

}  // namespace uikit
