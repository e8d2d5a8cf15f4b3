#include "uikit/input_method.h"

#include <QFocusEvent>

namespace uikit {

namespace {

class JapaneseOnFocus final : public QObject {
public:
    JapaneseOnFocus(QWidget* input, InputMethodSwitch& request) : QObject(input), m_input(input), m_request(request)
    {
        input->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_input && event->type() == QEvent::FocusIn) {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
                // Queued: the toolkit tells the input method about the new focus
                // only after this event has been delivered.
                QMetaObject::invokeMethod(this, [this] { request(); }, Qt::QueuedConnection);
            }
        }
        return false;
    }

private:
    void request()
    {
        // The user may have tabbed on before the event loop came round.
        if (m_input->hasFocus()) {
            m_request.switchOnJapanese(m_input);
        }
    }

    QWidget* m_input;  // the parent, so it outlives this filter
    InputMethodSwitch& m_request;
};

}  // namespace

DirectLineEdit::DirectLineEdit(QWidget* parent) : QLineEdit(parent)
{
    setAttribute(Qt::WA_InputMethodEnabled, false);
}

QVariant DirectLineEdit::inputMethodQuery(Qt::InputMethodQuery query) const
{
    if (query == Qt::ImEnabled) {
        return false;
    }
    return QLineEdit::inputMethodQuery(query);
}

void RecordingInputMethodSwitch::switchOnJapanese(QWidget* input) { m_asked.append(input->objectName()); }

void switchOnJapaneseOnFocus(QWidget* input, InputMethodSwitch& request) { new JapaneseOnFocus(input, request); }

}  // namespace uikit
