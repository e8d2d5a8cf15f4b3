#include "uikit/title_bar.h"

#include "uikit/look.h"

#include <QAbstractButton>
#include <QEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>
#include <QWindow>

namespace uikit {

namespace {

constexpr int BarHeight = 30;
constexpr int ButtonSize = 18;
constexpr int ButtonGap = 5;
constexpr int RightMargin = 8;
constexpr int IconSize = 22;
constexpr int TitlePixels = 14;
constexpr std::uint32_t BarColour = 0xEFEFEF;
constexpr std::uint32_t ActiveText = 0x000000;
constexpr std::uint32_t InactiveText = 0x808080;
constexpr std::uint32_t PressedColour = 0xC8C8C8;

class BarButton final : public QAbstractButton {
public:
    enum class Glyph { Maximise, Close };

    BarButton(Glyph glyph, QWidget* parent) : QAbstractButton(parent), m_glyph(glyph)
    {
        setFixedSize(ButtonSize, ButtonSize);
        // Out of the windows' Tab order, which has its own buttons to walk.
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        if (isDown()) {
            p.fillRect(rect(), colour(PressedColour));
        }
        p.setPen(QPen(colour(window()->isActiveWindow() ? ActiveText : InactiveText), 2));
        const QRectF glyph = QRectF(rect()).adjusted(5, 5, -5, -5);
        if (m_glyph == Glyph::Close) {
            p.setRenderHint(QPainter::Antialiasing);
            p.drawLine(glyph.topLeft(), glyph.bottomRight());
            p.drawLine(glyph.bottomLeft(), glyph.topRight());
        } else if (window()->isMaximized()) {
            // Two boxes, one behind the other: restore.
            p.setPen(p.pen().color());
            p.drawRect(glyph.adjusted(2, 0, 0, -2));
            p.setBrush(colour(BarColour));
            p.drawRect(glyph.adjusted(0, 2, -2, 0));
        } else {
            p.setPen(p.pen().color());
            p.drawRect(glyph);
            p.drawLine(glyph.topLeft() + QPointF(0, 1), glyph.topRight() + QPointF(0, 1));
        }
    }

private:
    Glyph m_glyph;
};

class TitleBar final : public QWidget {
public:
    explicit TitleBar(QWidget* window) : QWidget(window), m_window(window)
    {
        setObjectName(QStringLiteral("TitleBar"));
        setAccessibleName(QStringLiteral("タイトルバー"));
        m_close = new BarButton(BarButton::Glyph::Close, this);
        m_close->setAccessibleName(QStringLiteral("閉じる"));
        connect(m_close, &QAbstractButton::clicked, window, &QWidget::close);
        if (window->windowFlags() & Qt::WindowMaximizeButtonHint) {
            m_maximise = new BarButton(BarButton::Glyph::Maximise, this);
            connect(m_maximise, &QAbstractButton::clicked, this, &TitleBar::toggleMaximised);
        }
        window->installEventFilter(this);
        follow();
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::Resize:
        case QEvent::WindowStateChange:
            follow();
            break;
        case QEvent::WindowTitleChange:
        case QEvent::WindowIconChange:
        case QEvent::ActivationChange:
            update();
            break;
        default:
            break;
        }
        return false;
    }

    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), colour(BarColour));
        const int iconLeft = ButtonGap;
        m_window->windowIcon().paint(&p, iconLeft, (BarHeight - IconSize) / 2, IconSize, IconSize);
        QFont f = font();
        f.setPixelSize(TitlePixels);
        p.setFont(f);
        p.setPen(colour(m_window->isActiveWindow() ? ActiveText : InactiveText));
        const int left = iconLeft + IconSize + ButtonGap;
        const int right = (m_maximise ? m_maximise : m_close)->x() - ButtonGap;
        p.drawText(QRect(left, 0, right - left, BarHeight), Qt::AlignCenter, m_window->windowTitle());
    }

    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton && m_window->windowHandle()) {
            m_window->windowHandle()->startSystemMove();
        }
    }

    void mouseDoubleClickEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton && m_maximise) {
            toggleMaximised();
        }
    }

private:
    void toggleMaximised() { m_window->setWindowState(m_window->windowState() ^ Qt::WindowMaximized); }

    // Spans the window's width, buttons at its right end.
    void follow()
    {
        setGeometry(0, 0, m_window->width(), BarHeight);
        const int top = (BarHeight - ButtonSize) / 2;
        m_close->move(width() - RightMargin - ButtonSize, top);
        if (m_maximise) {
            m_maximise->move(m_close->x() - ButtonGap - ButtonSize, top);
            m_maximise->setAccessibleName(m_window->isMaximized() ? QStringLiteral("元に戻す")
                                                                   : QStringLiteral("最大化"));
            m_maximise->update();
        }
        raise();
        update();
    }

    QWidget* m_window;
    BarButton* m_close = nullptr;
    BarButton* m_maximise = nullptr;
};

}  // namespace

void addTitleBarOnWayland(QWidget* window)
{
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        addTitleBar(window);
    }
}

void addTitleBar(QWidget* window)
{
    const QList<QWidget*> controls = window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* control : controls) {
        control->move(control->x(), control->y() + BarHeight);
    }
    const QSize grow(0, BarHeight);
    if (window->minimumSize() == window->maximumSize()) {
        window->setFixedSize(window->minimumSize() + grow);
    } else {
        window->resize(window->size() + grow);
    }
    new TitleBar(window);
    // Frameless, the window asks the compositor for no frame of its own and the
    // toolkit draws none: this bar is the only one. Qt drops the frameless hint
    // of a window whose other hints are customised, as the training window's are.
    window->setWindowFlags((window->windowFlags() & ~Qt::CustomizeWindowHint) | Qt::FramelessWindowHint);
}

}  // namespace uikit
