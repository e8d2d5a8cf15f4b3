#pragma once

// The input method, per input: Japanese conversion switched on where names are
// typed, and kept out where numbers and dates are.
//
// Keeping it out takes more than the widget attribute: a QLineEdit answers the
// input method's "enabled" query with true whatever the attribute says, and the
// input methods (fcitx5, ibus, Windows' own) go by that answer, so a user with
// conversion on would have the digits of a date composed in a preedit (and, with
// some settings, turned full-width). DirectLineEdit answers false.
//
// Switching it on has no toolkit call: each platform asks its own input method.
// The request goes through InputMethodSwitch, whose real form lives in one file
// per platform (input_method_dbus.cpp, input_method_windows.cpp), so the windows
// stay free of it and tests hand in a recording one.

#include <QLineEdit>
#include <QStringList>

namespace uikit {

// A line edit that takes the keys as typed: the input method never composes in it.
class DirectLineEdit final : public QLineEdit {
    Q_OBJECT

public:
    explicit DirectLineEdit(QWidget* parent = nullptr);
    using QLineEdit::inputMethodQuery;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
};

class InputMethodSwitch {
public:
    virtual ~InputMethodSwitch() = default;
    // Asks for Japanese conversion (hiragana) in `input`, which has the focus.
    // Returns at once; where the platform's input method is not running, nothing
    // happens and nothing is reported.
    virtual void switchOnJapanese(QWidget* input) = 0;
};

// The platform's own request: fcitx5 over the session bus on Linux, the
// window's input context on Windows.
InputMethodSwitch& platformInputMethodSwitch();

// Records the objectName of each input that asked, in order.
class RecordingInputMethodSwitch final : public InputMethodSwitch {
public:
    void switchOnJapanese(QWidget* input) override;
    const QStringList& asked() const { return m_asked; }
    void clear() { m_asked.clear(); }

private:
    QStringList m_asked;
};

// From now on `input` asks `request` to switch Japanese on each time the user
// moves the focus to it within its window. The request waits until the toolkit
// has told the input method about the new focus, else it would reach the input
// that had the focus before. Coming back from another window or from a menu
// keeps whatever the user left switched on or off.
void switchOnJapaneseOnFocus(QWidget* input, InputMethodSwitch& request);

}  // namespace uikit
