#include "uikit/keep_on_screen.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMetaObject>
#include <QWidget>
#include <QWindow>

namespace uikit {

namespace {

bool onWayland() { return QGuiApplication::platformName().startsWith(QLatin1String("wayland")); }

class Unminimiser final : public QObject {
public:
    explicit Unminimiser(QWidget* window) : QObject(window), m_window(window) {}

    bool eventFilter(QObject* /*watched*/, QEvent* event) override
    {
        if (!onWayland()) {
            if (event->type() == QEvent::WindowStateChange && m_window->isMinimized()) {
                // Not from inside the change itself: the window system is still busy
                // iconifying the window and would take the restore for a no-op.
                QMetaObject::invokeMethod(this, &Unminimiser::restore, Qt::QueuedConnection);
            }
        } else if (event->type() == QEvent::Show) {
            // Every minimise passes through the native window, whoever asks for it:
            // Qt's own frame asks it directly, and the widget never hears of it.
            connect(m_window->windowHandle(), &QWindow::windowStateChanged, this, &Unminimiser::minimisedOnWayland,
                    Qt::UniqueConnection);
        }
        return false;
    }

private:
    void restore() { m_window->setWindowState(m_window->windowState() & ~Qt::WindowMinimized); }

    void minimisedOnWayland(Qt::WindowState state)
    {
        if (state == Qt::WindowMinimized) {
            QMetaObject::invokeMethod(this, &Unminimiser::mapAgain, Qt::QueuedConnection);
        }
    }

    // A Wayland compositor does not tell the program that a window was minimised,
    // and offers no request to bring it back; weston has no task bar either. A
    // window that is unmapped and mapped again is shown anew, in its state
    // before the minimise.
    void mapAgain()
    {
        const Qt::WindowStates states = m_window->windowState() & ~(Qt::WindowMinimized | Qt::WindowActive);
        m_window->hide();
        m_window->setWindowState(states);
        m_window->windowHandle()->setWindowStates(states);
        m_window->show();
    }

    QWidget* m_window;
};

}  // namespace

void keepOnScreen(QWidget* window) { window->installEventFilter(new Unminimiser(window)); }

}  // namespace uikit
