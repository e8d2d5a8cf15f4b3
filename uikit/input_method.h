#pragma once

// The input method, per input: Japanese conversion kept out where numbers and
// dates are typed.
//
// Keeping it out takes more than the widget attribute: a QLineEdit answers the
// input method's "enabled" query with true whatever the attribute says, and the
// input methods (fcitx5, ibus, Windows' own) go by that answer, so a user with
// conversion on would have the digits of a date composed in a preedit (and, with
// some settings, turned full-width). DirectLineEdit answers false.

#include <QLineEdit>

namespace uikit {

// A line edit that takes the keys as typed: the input method never composes in it.
class DirectLineEdit final : public QLineEdit {
    Q_OBJECT

public:
    explicit DirectLineEdit(QWidget* parent = nullptr);
    using QLineEdit::inputMethodQuery;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
};

}  // namespace uikit
