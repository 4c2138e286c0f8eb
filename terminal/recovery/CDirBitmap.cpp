#include "CDirBitmap.h"

#include <QPainter>

namespace {
void Folder(QPainter& painter, bool open, QColor body)
{
    painter.setPen(QColor(64, 48, 0));
    painter.setBrush(body);
    painter.drawRect(1, 3, 6, 2);
    painter.drawRect(1, 4, 13, 9);
    if (open) {
        painter.setBrush(body.lighter(130));
        painter.drawPolygon(QPolygon({QPoint(3, 7), QPoint(15, 7), QPoint(13, 13), QPoint(1, 13)}));
    }
}

void Drive(QPainter& painter, QColor body)
{
    painter.setBrush(body);
    painter.drawRect(1, 5, 13, 7);
    painter.setBrush(Qt::green);
    painter.drawRect(11, 9, 1, 1);
}
} // namespace

CDirBitmap::CDirBitmap() : m_bmpImage(kCell * kCells, kCell)
{
    m_bmpImage.fill(Qt::transparent);
    QPainter painter(&m_bmpImage);
    for (int cell = 0; cell < kCells; ++cell) {
        painter.save();
        painter.translate(cell * kCell, 0);
        DrawCell(painter, cell);
        painter.restore();
    }
}

void CDirBitmap::DrawCell(QPainter& painter, int cell) const
{
    // Every cell but the folders is outlined in black.
    painter.setPen(Qt::black);
    switch (cell) {
    case 0:
        Folder(painter, true, QColor(230, 200, 90));
        break;
    case 1:
        Folder(painter, true, QColor(90, 140, 230));
        break;
    case 2:
        Folder(painter, false, QColor(230, 200, 90));
        break;
    case 3:
        painter.setBrush(QColor(60, 60, 60));
        painter.drawRect(2, 2, 11, 11);
        painter.setBrush(Qt::white);
        painter.drawRect(5, 2, 5, 4);
        break;
    case 4:
        Drive(painter, QColor(180, 180, 180));
        break;
    case 5:
        painter.setBrush(QColor(210, 210, 230));
        painter.drawEllipse(1, 1, 13, 13);
        painter.setBrush(Qt::white);
        painter.drawEllipse(6, 6, 3, 3);
        break;
    case 6:
        Drive(painter, QColor(150, 180, 150));
        painter.drawLine(7, 12, 7, 15);
        painter.drawLine(2, 15, 13, 15);
        break;
    case 7:
        painter.setBrush(QColor(40, 110, 40));
        painter.drawRect(2, 4, 11, 7);
        for (int x = 3; x < 13; x += 2) {
            painter.drawLine(x, 1, x, 3);
            painter.drawLine(x, 12, x, 14);
        }
        break;
    default:
        break;
    }
}

void CDirBitmap::Draw(QPainter& painter, int x, int y, int cell) const
{
    if (cell < 0 || cell >= kCells)
        return;
    painter.drawPixmap(x, y, m_bmpImage, cell * kCell, 0, kCell, kCell);
}

const CDirBitmap& g_dirBitmap()
{
    static const CDirBitmap bitmap;
    return bitmap;
}
