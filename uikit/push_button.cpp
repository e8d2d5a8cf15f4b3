#include "uikit/push_button.h"

#include "uikit/focus_frame.h"

#include <QKeyEvent>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace uikit {

namespace {

// Return alone, or the keypad's Enter (which comes with the keypad modifier);
// Ctrl+Return and the like are left to whoever wants them.
bool isEnter(const QKeyEvent& event)
{
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    return modifiers == Qt::NoModifier && (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter);
}

}  // namespace

PushButton::PushButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {}

void PushButton::keyPressEvent(QKeyEvent* event)
{
    if (!isEnter(*event)) {
        QPushButton::keyPressEvent(event);
        return;
    }
    event->accept();
    if (!event->isAutoRepeat()) {
        click();
    }
}

void PushButton::paintEvent(QPaintEvent* /*event*/)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QRect focusRect = style()->subElementRect(QStyle::SE_PushButtonFocusRect, &option, this);
    // The style's own cue (an outline after Tab, nothing after a click) gives way
    // to the one frame that every control shows.
    option.state &= ~QStyle::State_HasFocus;
    painter.drawControl(QStyle::CE_PushButton, option);
    if (hasFocus()) {
        drawFocusFrame(painter, focusRect, palette().color(QPalette::Button));
    }
}

}  // namespace uikit
