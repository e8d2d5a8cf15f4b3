#pragma once

// What look.cpp asks of the system it runs on: which Japanese faces there are
// and where the toolkit's own Japanese texts come from. One file per system:
// look_posix.cpp (fontconfig, Debian's translations), look_windows.cpp.

#include <QString>
#include <QStringList>

#include <functional>

namespace uikit {

// The faces for Mincho and Gothic text, best first. The MS faces lead on both.
QStringList minchoFaces();
QStringList gothicFaces();

// Where none of those faces is installed: the face the program ships for them,
// loaded for this process alone. Its family name, or an empty string where the
// program ships none (on Debian the fonts-ipafont packages bring the faces) or
// cannot load it.
QString loadShippedMincho();
QString loadShippedGothic();

// The face to draw with: the first of `faces` that `installed` finds, by the
// name it gives back; else the one `loadShipped` gives. Only when neither gives
// one does the whole list go to the toolkit, which then falls back on its own.
QStringList chooseFace(const QStringList& faces, const std::function<QString(const QString&)>& installed,
                       const std::function<QString()>& loadShipped);

// The name under which the toolkit finds the face `family` when it is
// installed (any of its names matches, ignoring case), or an empty string.
QString installedFace(const QString& family);

// The folder that holds the toolkit's translation "qtbase_ja".
QString qtTranslationsFolder();

}  // namespace uikit
