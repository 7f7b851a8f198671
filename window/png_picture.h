#pragma once
// Reads one of the program's own pictures, all of them PNG files in its resources.

#include <QPixmap>
#include <QString>

namespace brivana::window {

// Named as PNG, with no guessing: to guess, Qt loads every image-format plugin (GIF, ICO,
// JPEG and the libraries they need) and asks each one, and they then stay in memory.
QPixmap PngPicture(const QString& path);

}  // namespace brivana::window
