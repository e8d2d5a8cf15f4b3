#pragma once

// The widget class each kind of control in the main window's layout is built as,
// and typed access to a built control through its handle: a handle's kind is
// checked against the table while compiling, so the cast here cannot go wrong.

#include "mainwindow/caption_label.h"
#include "mainwindow/form2_layout.h"
#include "personlist/person_grid.h"
#include "uikit/push_button.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <cassert>
#include <span>

namespace mainwindow {

template <form2_layout::Kind K>
struct WidgetOf;
template <>
struct WidgetOf<form2_layout::Kind::Label> {
    using type = CaptionLabel;
};
template <>
struct WidgetOf<form2_layout::Kind::LineEdit> {
    using type = QLineEdit;
};
template <>
struct WidgetOf<form2_layout::Kind::Combo> {
    using type = QComboBox;
};
template <>
struct WidgetOf<form2_layout::Kind::Button> {
    using type = uikit::PushButton;
};
template <>
struct WidgetOf<form2_layout::Kind::Grid> {
    using type = personlist::PersonGrid;
};

// `controls` are the window's controls in the order of form2_layout::Controls.
template <form2_layout::Kind K>
typename WidgetOf<K>::type* widgetAt(std::span<QWidget* const> controls, form2_layout::Handle<K> handle)
{
    assert(controls.size() == form2_layout::Controls.size());
    return static_cast<typename WidgetOf<K>::type*>(controls[handle.at]);
}

}  // namespace mainwindow
