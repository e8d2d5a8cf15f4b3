#pragma once

// How a control shows that it has the keyboard focus: a dotted frame one pixel
// wide, as the classic Windows focus rectangle.
//
// The toolkit's own style shows the focus of a button or a slider only after the
// focus was moved by Tab, and the list grid shows it only on a current cell; a
// user who clicked 戻る, or who tabs into an empty list, would see the focus
// nowhere. The controls that need it draw this frame whenever they have the
// focus, however it came to them. Text boxes and drop-down lists keep the
// style's own cue, a coloured outline, which it always shows.

class QColor;
class QPainter;
class QRect;

namespace uikit {

// Dots every other pixel along the outline of `rect` (its outermost pixels),
// black on a light `fill`, white on a dark one. Pixels are the layout's own, so
// on a dense screen each dot is as large as a layout pixel.
void drawFocusFrame(QPainter& painter, const QRect& rect, const QColor& fill);

}  // namespace uikit
