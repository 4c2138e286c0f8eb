#pragma once
#include <QFile>
#include <QString>

// An X display name that nobody serves on this machine (":87" or above),
// as a terminal left over from a desktop session has in DISPLAY.
inline QString AbsentXDisplay()
{
    int number = 87;
    while (QFile::exists(QString("/tmp/.X11-unix/X%1").arg(number)) || QFile::exists(QString("/tmp/.X%1-lock").arg(number)))
        ++number;
    return QString(":%1").arg(number);
}
