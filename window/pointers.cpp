#include "window/pointers.h"

#include <QBitmap>
#include <QPainter>

#include "window/png_picture.h"

namespace brivana::window {

QCursor WindowPointer()
{
    const QPixmap picture = PngPicture(QStringLiteral(":/pictures/pointer.png"));
    return QCursor(picture, 5, 0);
}

QCursor IconPointer()
{
    constexpr int size = 32;
    // Bitmap cursors: colour1 in both bitmap and mask is black, colour0 in the bitmap with
    // colour1 in the mask is white, colour0 in the mask is transparent.
    QBitmap bitmap(size, size);
    QBitmap mask(size, size);
    bitmap.fill(Qt::color0);
    mask.fill(Qt::color0);
    {
        QPainter shape(&mask);
        shape.fillRect(8, 8, 16, 16, Qt::color1);
        QPainter ink(&bitmap);
        ink.setPen(Qt::color1);
        ink.drawRect(8, 8, 15, 15);
        ink.fillRect(13, 13, 6, 6, Qt::color1);
    }
    return QCursor(bitmap, mask, 16, 16);
}

}  // namespace brivana::window
