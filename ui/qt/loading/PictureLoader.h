// Loading a button picture from a file. The windows read every picture at the moment it is
// shown, so a file replaced while the program runs shows at its next swap.
#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>
#include <optional>

namespace orvel {

class PictureLoader {
public:
    virtual ~PictureLoader() = default;
    // Reads the file anew at every call; nothing is kept between calls. A picture only from a
    // BMP file of exactly the given size that decodes whole; nothing when the file is missing,
    // damaged, of another kind or of another size.
    virtual std::optional<QPixmap> load(const QString& path, const QSize& size) = 0;
};

}  // namespace orvel
