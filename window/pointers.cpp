#include "window/pointers.h"

#include <QBitmap>
#include <QImage>

#include "layout/icon_pointer.h"

#include "window/png_picture.h"

namespace brivana::window {

QCursor WindowPointer()
{
    const QPixmap picture = PngPicture(QStringLiteral(":/pictures/pointer.png"));
    return QCursor(picture, 5, 0);
}

QCursor IconPointer()
{
    using layout::PointerPixel;
    constexpr int size = layout::kIconPointerSize;
    // Bitmap cursors: colour1 in both bitmap and mask is black, colour0 in the bitmap with
    // colour1 in the mask is white, colour0 in the mask is transparent.
    QImage bitmap(size, size, QImage::Format_MonoLSB);
    QImage mask(size, size, QImage::Format_MonoLSB);
    bitmap.fill(0);
    mask.fill(0);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const PointerPixel pixel = layout::IconPointerPixel(x, y);
            if (pixel == PointerPixel::transparent) continue;
            mask.setPixel(x, y, 1);
            if (pixel == PointerPixel::black) bitmap.setPixel(x, y, 1);
        }
    }
    return QCursor(QBitmap::fromImage(bitmap), QBitmap::fromImage(mask), layout::kIconPointerHotSpot,
                   layout::kIconPointerHotSpot);
}

}  // namespace brivana::window
