// Reads the button pictures with Qt's BMP reader, straight from the file at every call, and
// takes a picture only when it is whole and of its button's size.
#pragma once

#include "ui/qt/loading/PictureLoader.h"

namespace orvel {

class QtPictureLoader : public PictureLoader {
public:
    // No button picture comes near this; a larger file is no button picture and is not read.
    static constexpr qint64 kMaxFileBytes = 1 << 20;

    std::optional<QPixmap> load(const QString& path, const QSize& size) override;
};

}  // namespace orvel
