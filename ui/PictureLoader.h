// Loading a button picture from a file. The windows read every picture at the moment it is
// shown, so a file replaced while the program runs shows at its next swap.
#pragma once

#include <QPixmap>
#include <QString>
#include <optional>

namespace orvel {

class PictureLoader {
public:
    virtual ~PictureLoader() = default;
    // Reads the file anew at every call; nothing is kept between calls. No picture when the file
    // is missing or is not a readable picture.
    virtual std::optional<QPixmap> load(const QString& path) = 0;
};

}  // namespace orvel
