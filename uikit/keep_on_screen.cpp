#include "uikit/keep_on_screen.h"

#include <QEvent>
#include <QMetaObject>
#include <QWidget>

namespace uikit {

namespace {

class Unminimiser final : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* window = static_cast<QWidget*>(watched);
        if (event->type() == QEvent::WindowStateChange && window->isMinimized()) {
            // Not from inside the change itself: the window system is still busy
            // iconifying the window and would take the restore for a no-op.
            QMetaObject::invokeMethod(
                window, [window] { window->setWindowState(window->windowState() & ~Qt::WindowMinimized); },
                Qt::QueuedConnection);
        }
        return false;
    }
};

}  // namespace

void keepOnScreen(QWidget* window) { window->installEventFilter(new Unminimiser(window)); }

}  // namespace uikit
