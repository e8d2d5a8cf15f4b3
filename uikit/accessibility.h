#pragma once

// What a screen reader finds in the windows. Qt tells it about every child
// widget, named by its caption; the windows use these to say more in fewer
// places: a mark and its board cell are read out as one label, a label that
// never shows is not read out at all.

class QComboBox;
class QString;
class QWidget;

namespace uikit {

// Leaves `widget` out of what a screen reader finds in its window, as a hidden
// widget is left out: a label whose meaning another label already says, or one
// that is only ever drawn in the window's own colour. Call before the window
// is shown.
void setSilent(QWidget* widget);

// The drop-down list, and the text input inside it, are both read out as
// `name`; on Linux Qt otherwise reads a drop-down list as its current value and
// leaves its text input nameless.
void setComboName(QComboBox* combo, const QString& name);

}  // namespace uikit
