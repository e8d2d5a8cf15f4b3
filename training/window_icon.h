#pragma once

// The program's icon: a small 3 x 3 home board in the stars' colours, shared by
// both windows and the desktop menu (tools/icon_png).

#include <QIcon>

namespace training {

// The same icon (one cacheKey) every time.
QIcon windowIcon();

}  // namespace training
