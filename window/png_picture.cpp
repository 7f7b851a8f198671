#include "window/png_picture.h"

#include <QImageReader>

namespace brivana::window {

QPixmap PngPicture(const QString& path)
{
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

}  // namespace brivana::window
