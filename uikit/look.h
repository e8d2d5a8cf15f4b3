#pragma once

// What both windows share of their look: the Japanese faces with their
// fallbacks, colours given as 0xRRGGBB, and the window icon.
//
// Layouts are fixed in pixels at 96 dots per inch, so fonts are set in pixels as
// well (points x 96 / 72): a label sized for a 14.25 pt caption gets 19 px text
// whatever DPI the screen reports, and scaling for dense screens stays Qt's job.

#include <QColor>
#include <QFont>
#include <QString>

#include <cstdint>
#include <string>
#include <string_view>

class QApplication;

namespace uikit {

inline const QString MinchoFamily = QStringLiteral("ＭＳ Ｐ明朝");
inline const QString GothicFamily = QStringLiteral("ＭＳ Ｐゴシック");

// Pixel size of a point size at 96 dpi, rounded to the nearest pixel.
int pixelsForPoints(double points);

// "ＭＳ Ｐ明朝" and "ＭＳ Ｐゴシック" first; where they are not installed, the IPA
// proportional faces of Debian's fonts-ipafont packages, then any Mincho/Gothic.
QFont mincho(double points);
QFont gothic(double points);

// The program's default user-interface font (Gothic, 9 pt), set on the
// application so that buttons and inputs without a face of their own use it.
QFont defaultUiFont();

// Sets the default font and makes the toolkit's own texts (the buttons of a
// question, the file dialog) Japanese like the rest of the program, whatever
// language the desktop runs in. The translation belongs to the application.
void prepareApplication(QApplication& app);

// The cores take and give texts as UTF-8; every text crosses between them and
// the widgets through these two.
inline QString qtText(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}
inline std::string coreText(const QString& text) { return text.toStdString(); }

inline QColor colour(std::uint32_t rgb) { return QColor::fromRgb(static_cast<QRgb>(rgb)); }

}  // namespace uikit
