#include "WindowFitter.h"

#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QStyle>
#include <QWidget>

#include <algorithm>

namespace platform {

WindowFitter::WindowFitter(QObject* parent) : QObject(parent) {}

void WindowFitter::Install(QApplication& application)
{
    application.installEventFilter(new WindowFitter(&application));
}

QRect WindowFitter::FittedFrame(const QRect& frame, const QRect& area)
{
    const QSize size = frame.size().boundedTo(area.size());
    const int x = std::clamp(frame.x(), area.x(), area.x() + area.width() - size.width());
    const int y = std::clamp(frame.y(), area.y(), area.y() + area.height() - size.height());
    return QRect(QPoint(x, y), size);
}

void WindowFitter::Fit(QWidget& window)
{
    if (window.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized))
        return;
    const QMargins margins = FrameMargins(window);
    const QRect frame = window.geometry().marginsAdded(margins);
    // A placement on a screen that is no longer there comes to the window's own.
    QScreen* screen = QGuiApplication::screenAt(frame.center());
    if (!screen)
        screen = window.screen();
    const QRect area = screen->availableGeometry();
    // Where no position was set the window manager places the window: only
    // its size is ours to bound.
    if (!window.testAttribute(Qt::WA_Moved)) {
        window.resize(window.size().boundedTo(area.size().shrunkBy(margins)));
        return;
    }
    const QRect fitted = FittedFrame(frame, area);
    if (fitted != frame)
        window.setGeometry(fitted.marginsRemoved(margins));
}

QMargins WindowFitter::FrameMargins(const QWidget& window)
{
    const QRect frame = window.frameGeometry();
    const QRect client = window.geometry();
    const QMargins known(client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                         frame.bottom() - client.bottom());
    if (!known.isNull() || (window.windowFlags() & Qt::FramelessWindowHint))
        return known;
    // Until the window manager has framed the window its frame is unknown: a
    // title bar's height stands in for it, so that the title stays on the screen.
    return QMargins(0, window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window), 0, 0);
}

bool WindowFitter::eventFilter(QObject* watched, QEvent* event)
{
    // The show event comes before the window reaches the screen; one that
    // the window system sends (a window restored from its icon) is left alone.
    if (event->type() == QEvent::Show && !event->spontaneous() && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        if (widget->windowType() == Qt::Window || widget->windowType() == Qt::Dialog)
            Fit(*widget);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace platform
