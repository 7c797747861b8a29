// Renders the pictures and writes them under an output root: the window pictures and normal
// button faces as ui/pictures/<name>.png and <name>@2x.png with the resource list beside them,
// the icon in its sizes, and the twelve button bitmaps as assets/<name>.bmp; for the Windows
// window, the small icon as an icon file in ui/win32/resources/.
#pragma once

#include <QDir>
#include <QImage>
#include <QStringList>

#include "Pictures.h"

namespace picturegen {

// Draws the picture at scale times its size, in its own units.
QImage render(const Picture& picture, int scale);

class PictureWriter {
public:
    explicit PictureWriter(const QDir& root);

    // Writes everything; false, with a message on stderr, at the first file that can't be written.
    bool writeAll();

private:
    bool writeBuiltIn(const Picture& picture);
    bool writeIcons();
    bool writeBitmap(const Picture& picture);
    bool writeWin32Icon(const QImage& sixteenColours);
    bool writeResourceList();
    bool save(const QImage& image, const QString& path, const char* format);

    QDir picturesDir_;
    QDir assetsDir_;
    QDir win32Dir_;
    QStringList resourceFiles_;
};

}  // namespace picturegen
