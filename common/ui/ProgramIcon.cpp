#include "ProgramIcon.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {
// A blue tile with three current arrows of falling length: water moving at
// several depths.
QPixmap DrawIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(24, 84, 160));
    painter.drawRoundedRect(QRectF(1, 1, 30, 30), 5, 5);
    painter.setPen(QPen(QColor(240, 248, 255), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const double lengths[] = {20, 15, 10};
    for (int row = 0; row < 3; ++row) {
        double y = 9 + row * 7;
        double end = 6 + lengths[row];
        painter.drawLine(QPointF(6, y), QPointF(end, y));
        painter.drawLine(QPointF(end - 3, y - 3), QPointF(end, y));
        painter.drawLine(QPointF(end - 3, y + 3), QPointF(end, y));
    }
    painter.end();
    return QPixmap::fromImage(image);
}
} // namespace

QIcon ProgramIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48})
        icon.addPixmap(DrawIcon(size));
    return icon;
}
