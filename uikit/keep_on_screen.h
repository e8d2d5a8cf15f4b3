#pragma once

// A window that the user cannot minimise. Both windows ask the window manager for
// no minimise button, but some managers (openbox among them) offer one anyway or
// minimise by a key; with the other window hidden, the user would face an empty
// desktop and no way back. Such a window is put straight back as it was.

class QWidget;

namespace uikit {

// Watches `window` for as long as it lives.
void keepOnScreen(QWidget* window);

}  // namespace uikit
