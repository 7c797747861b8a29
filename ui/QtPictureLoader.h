// Reads pictures with Qt's image readers, straight from the file at every call.
#pragma once

#include "ui/PictureLoader.h"

namespace orvel {

class QtPictureLoader : public PictureLoader {
public:
    std::optional<QPixmap> load(const QString& path) override;
};

}  // namespace orvel
