#include "PictureWriter.h"

#include "PrinterIcon.h"

#include <QFile>
#include <QPainter>
#include <QTextStream>
#include <array>
#include <climits>
#include <cstdio>

namespace picturegen {

namespace {

constexpr int kIconUnits = 16;

// The sixteen colours of the classic palette; the small icons use nothing else.
const std::array<QRgb, 16> kClassicPalette = {
    qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
    qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
    qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
    qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255),
};

int nearestClassicColour(QRgb pixel) {
    int best = 0;
    int bestDistance = INT_MAX;
    for (int i = 0; i < static_cast<int>(kClassicPalette.size()); ++i) {
        const int dr = qRed(pixel) - qRed(kClassicPalette[i]);
        const int dg = qGreen(pixel) - qGreen(kClassicPalette[i]);
        const int db = qBlue(pixel) - qBlue(kClassicPalette[i]);
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

// Maps every opaque pixel to its nearest classic colour; the rest become the one transparent
// entry after the sixteen.
QImage toSixteenColours(const QImage& source) {
    const QImage argb = source.convertToFormat(QImage::Format_ARGB32);
    QImage indexed(argb.size(), QImage::Format_Indexed8);
    QList<QRgb> table(kClassicPalette.begin(), kClassicPalette.end());
    const int transparent = table.size();
    table.append(qRgba(0, 0, 0, 0));
    indexed.setColorTable(table);
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = 0; x < argb.width(); ++x) {
            const QRgb pixel = argb.pixel(x, y);
            indexed.setPixel(x, y, qAlpha(pixel) < 128 ? transparent : nearestClassicColour(pixel));
        }
    }
    return indexed;
}

QImage renderIcon(int pixels, void (*draw)(QPainter&)) {
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    image.setDevicePixelRatio(static_cast<qreal>(pixels) / kIconUnits);
    QPainter painter(&image);
    draw(painter);
    painter.end();
    image.setDevicePixelRatio(1);
    return image;
}

}  // namespace

QImage render(const Picture& picture, int scale) {
    QImage image(picture.size * scale, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setDevicePixelRatio(scale);
    QPainter painter(&image);
    picture.draw(painter);
    painter.end();
    image.setDevicePixelRatio(1);
    return image;
}

PictureWriter::PictureWriter(const QDir& root)
    : picturesDir_(root.filePath(QStringLiteral("ui/pictures"))),
      assetsDir_(root.filePath(QStringLiteral("assets"))),
      win32Dir_(root.filePath(QStringLiteral("ui/win32/resources"))) {}

bool PictureWriter::writeAll() {
    for (const QDir* dir : {&picturesDir_, &assetsDir_, &win32Dir_}) {
        if (!dir->mkpath(QStringLiteral("."))) {
            std::fprintf(stderr, "picturegen: cannot create %s\n", qPrintable(dir->path()));
            return false;
        }
    }
    for (const Picture& picture : windowPictures()) {
        if (!writeBuiltIn(picture)) {
            return false;
        }
    }
    for (const ButtonFace& face : buttonFaces()) {
        if (!writeBuiltIn(normalFace(face)) || !writeBitmap(normalFace(face)) ||
            !writeBitmap(highlightedFace(face))) {
            return false;
        }
    }
    return writeIcons() && writeResourceList();
}

bool PictureWriter::writeBuiltIn(const Picture& picture) {
    for (const int scale : {1, 2}) {
        const QString file = picture.name + (scale == 1 ? QString() : QStringLiteral("@2x")) +
                             QStringLiteral(".png");
        if (!save(render(picture, scale), picturesDir_.filePath(file), "PNG")) {
            return false;
        }
        resourceFiles_.append(file);
    }
    return true;
}

bool PictureWriter::writeIcons() {
    // The window icon keeps to sixteen colours at its own size; the dense-screen and desktop sizes
    // are drawn smooth, in full colour.
    const struct {
        QString file;
        int pixels;
        bool sixteenColours;
        bool embedded;
    } icons[] = {
        {QStringLiteral("printer_icon.png"), 16, true, true},
        {QStringLiteral("printer_icon@2x.png"), 32, false, true},
        {QStringLiteral("printer_icon_48.png"), 48, false, false},
        {QStringLiteral("printer_icon_256.png"), 256, false, false},
    };
    for (const auto& icon : icons) {
        QImage image = renderIcon(
            icon.pixels, icon.sixteenColours ? drawPixelPrinterIcon : drawSmoothPrinterIcon);
        if (icon.sixteenColours) {
            image = toSixteenColours(image);
        }
        if (!save(image, picturesDir_.filePath(icon.file), "PNG")) {
            return false;
        }
        if (icon.embedded) {
            resourceFiles_.append(icon.file);
        }
        if (icon.sixteenColours && !writeWin32Icon(image)) {
            return false;
        }
    }
    return true;
}

bool PictureWriter::writeWin32Icon(const QImage& sixteenColours) {
    // An icon file with one image of 4 bits a pixel: the sixteen colours, then the pixels bottom
    // row first, then the mask (a set bit is transparent), each row padded to 4 bytes.
    const int size = sixteenColours.width();
    const int colourRow = (size / 2 + 3) / 4 * 4;
    const int maskRow = ((size + 7) / 8 + 3) / 4 * 4;
    const int imageBytes = 40 + 16 * 4 + (colourRow + maskRow) * size;
    QByteArray bytes;
    const auto put16 = [&bytes](int value) {
        bytes.append(static_cast<char>(value & 0xFF));
        bytes.append(static_cast<char>((value >> 8) & 0xFF));
    };
    const auto put32 = [&put16](int value) {
        put16(value & 0xFFFF);
        put16((value >> 16) & 0xFFFF);
    };
    // The file's header and its one entry: width, height, colours, planes, bits, size, offset.
    for (const int value : {0, 1, 1})
        put16(value);
    bytes.append(static_cast<char>(size));
    bytes.append(static_cast<char>(size));
    bytes.append(static_cast<char>(16));
    bytes.append('\0');
    put16(1);
    put16(4);
    put32(imageBytes);
    put32(6 + 16);
    // The bitmap header, whose height counts the pixels and the mask together.
    put32(40);
    put32(size);
    put32(size * 2);
    put16(1);
    put16(4);
    for (const int value : {0, 0, 0, 0, 16, 0})
        put32(value);
    for (const QRgb colour : kClassicPalette) {
        bytes.append(static_cast<char>(qBlue(colour)));
        bytes.append(static_cast<char>(qGreen(colour)));
        bytes.append(static_cast<char>(qRed(colour)));
        bytes.append('\0');
    }
    const int transparent = static_cast<int>(kClassicPalette.size());
    for (int y = size - 1; y >= 0; --y) {
        QByteArray row(colourRow, '\0');
        for (int x = 0; x < size; ++x) {
            const int entry = sixteenColours.pixelIndex(x, y);
            const int colour = entry == transparent ? 0 : entry;
            row[x / 2] = static_cast<char>(row[x / 2] | (x % 2 == 0 ? colour << 4 : colour));
        }
        bytes.append(row);
    }
    for (int y = size - 1; y >= 0; --y) {
        QByteArray row(maskRow, '\0');
        for (int x = 0; x < size; ++x) {
            if (sixteenColours.pixelIndex(x, y) == transparent)
                row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
        }
        bytes.append(row);
    }
    QFile file(win32Dir_.filePath(QStringLiteral("printer_icon.ico")));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "picturegen: cannot write %s\n", qPrintable(file.fileName()));
        return false;
    }
    return true;
}

bool PictureWriter::writeBitmap(const Picture& picture) {
    // An RGB32 image is written as a 24-bit bitmap.
    return save(render(picture, 1), assetsDir_.filePath(picture.name + QStringLiteral(".bmp")),
                "BMP");
}

bool PictureWriter::writeResourceList() {
    QFile file(picturesDir_.filePath(QStringLiteral("pictures.qrc")));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        std::fprintf(stderr, "picturegen: cannot write %s\n", qPrintable(file.fileName()));
        return false;
    }
    QTextStream out(&file);
    out << "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n<qresource prefix=\"/pictures\">\n";
    for (const QString& name : resourceFiles_) {
        out << "    <file alias=\"" << name << "\">" << name << "</file>\n";
    }
    out << "</qresource>\n</RCC>\n";
    return out.status() == QTextStream::Ok;
}

bool PictureWriter::save(const QImage& image, const QString& path, const char* format) {
    if (!image.save(path, format)) {
        std::fprintf(stderr, "picturegen: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

}  // namespace picturegen
