#pragma once
#include <QPixmap>

class QPainter;

// The strip of eight 16 x 16 icons of the directory chooser (open folder,
// selected open folder, closed folder, floppy, hard disk, CD, network
// drive, memory chip), drawn once with a transparent background.
class CDirBitmap {
public:
    static constexpr int kCell = 16;
    static constexpr int kCells = 8;

    CDirBitmap();
    // Nothing for cell -1 or a cell outside the strip.
    void Draw(QPainter& painter, int x, int y, int cell) const;

private:
    void DrawCell(QPainter& painter, int cell) const;

    QPixmap m_bmpImage;
};

extern const CDirBitmap& g_dirBitmap();
