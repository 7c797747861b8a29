#include "ui/QtPictureLoader.h"

#include <QImage>
#include <QImageReader>

namespace orvel {

// QImageReader rather than QPixmap::load: the latter keeps pictures in QPixmapCache, and a file
// replaced on disk must show at the next swap.
std::optional<QPixmap> QtPictureLoader::load(const QString& path) {
    QImageReader reader(path);
    const QImage image = reader.read();
    if (image.isNull())
        return std::nullopt;
    return QPixmap::fromImage(image);
}

}  // namespace orvel
