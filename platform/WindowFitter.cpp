#include "WindowFitter.h"

#include <QApplication>
#include <QEvent>
#include <QScreen>
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
    const QRect frame = window.frameGeometry();
    // A placement on a screen that is no longer there comes to the window's own.
    QScreen* screen = QGuiApplication::screenAt(frame.center());
    if (!screen)
        screen = window.screen();
    const QRect fitted = FittedFrame(frame, screen->availableGeometry());
    if (fitted == frame)
        return;
    window.resize(fitted.size() - (frame.size() - window.size()));
    window.move(fitted.topLeft());
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
