#include "UnpaintedWindows.h"

#include <QEvent>

bool UnpaintedWindows::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Expose:
    case QEvent::UpdateRequest:
    case QEvent::Paint:
        return true;
    default:
        return QObject::eventFilter(watched, event);
    }
}
