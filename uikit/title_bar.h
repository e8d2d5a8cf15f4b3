#pragma once

// The title bar of both windows on Wayland. Where the compositor draws no frame
// (weston, GNOME), the toolkit draws one itself, and its frame always has a
// minimise and a maximise button, whatever the window asks for. A minimised
// window there is lost: the protocol tells the program nothing of it, nothing
// can ask for it back, and weston has no task bar. So on Wayland each window
// goes without any drawn frame and carries this bar along its top instead: the
// icon, the title, maximise where the window asks for it, and close. Dragging
// the bar moves the window, a double click on it maximises or restores. The
// window grows by the bar's height and its controls move down by as much, so
// the layout keeps its pixels.

class QWidget;

namespace uikit {

// Adds the bar on the Wayland platform only; elsewhere the window manager draws
// the frame. Call once the window's controls are built and its flags set.
void addTitleBarOnWayland(QWidget* window);

// The bar itself, on any platform.
void addTitleBar(QWidget* window);

}  // namespace uikit
