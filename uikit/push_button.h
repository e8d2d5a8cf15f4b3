#pragma once

// The buttons of both windows. Two things differ from the toolkit's button:
//
//  - Enter presses the button that has the focus, as Space does: the Return key
//    and the keypad's Enter, as on Windows. Outside a dialog the toolkit leaves
//    Enter to the window, which does nothing with it. A held Enter presses once:
//    its repeats would otherwise bounce the user between the two windows, since
//    イメージ and 戻る each hand the focus to a window whose button takes the
//    next repeat.
//  - The focus shows as a dotted frame inside the face however the button got
//    it, by Tab, by a click or on coming back from the training window.
//
// Enter in a text box or a drop-down list presses nothing: only the focused
// button takes it.

#include <QPushButton>

namespace uikit {

class PushButton final : public QPushButton {
    Q_OBJECT

public:
    explicit PushButton(const QString& text, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace uikit
