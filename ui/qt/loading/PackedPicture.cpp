#include "ui/qt/loading/PackedPicture.h"

#include <cstdint>
#include <cstring>

namespace orvel {

namespace {

constexpr char kMagic[4] = {'O', 'P', 'I', 'X'};

struct Header {
    char magic[4];
    quint32 width;
    quint32 height;
    quint32 format;
};
static_assert(sizeof(Header) == PackedPicture::kHeaderSize, "the header has no padding");

bool isPackedFormat(quint32 format) {
    return format == QImage::Format_RGB888 || format == QImage::Format_ARGB32_Premultiplied;
}

// Rows start on 4-byte boundaries, as in an image that QImage makes itself.
qint64 rowBytes(quint32 width, quint32 format) {
    const qint64 bytesPerPixel = format == QImage::Format_RGB888 ? 3 : 4;
    return (qint64(width) * bytesPerPixel + 3) / 4 * 4;
}

}  // namespace

QByteArray PackedPicture::pack(const QImage& image) {
    if (image.isNull() || image.width() > kMaxSide || image.height() > kMaxSide)
        return {};
    const QImage pixels = image.convertToFormat(
        image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB888);
    Header header;
    std::memcpy(header.magic, kMagic, sizeof kMagic);
    header.width = static_cast<quint32>(pixels.width());
    header.height = static_cast<quint32>(pixels.height());
    header.format = static_cast<quint32>(pixels.format());
    QByteArray packed(reinterpret_cast<const char*>(&header), sizeof header);
    const qint64 bytes = rowBytes(header.width, header.format);
    for (int y = 0; y < pixels.height(); ++y) {
        const qsizetype start = packed.size();
        packed.append(reinterpret_cast<const char*>(pixels.constScanLine(y)), bytes);
        // The padding at a row's end is no part of the picture: always zero.
        const qint64 used = pixels.width() * pixels.depth() / 8;
        std::memset(packed.data() + start + used, 0, bytes - used);
    }
    return packed;
}

QImage PackedPicture::wrap(const uchar* bytes, qint64 size) {
    if (bytes == nullptr || size < kHeaderSize)
        return {};
    Header header;
    std::memcpy(&header, bytes, sizeof header);
    if (std::memcmp(header.magic, kMagic, sizeof kMagic) != 0 || !isPackedFormat(header.format) ||
        header.width == 0 || header.height == 0 || header.width > kMaxSide ||
        header.height > kMaxSide)
        return {};
    const qint64 row = rowBytes(header.width, header.format);
    if (size != kHeaderSize + row * header.height)
        return {};
    const uchar* pixels = bytes + kHeaderSize;
    const QImage wrapped(pixels, int(header.width), int(header.height), qsizetype(row),
                         static_cast<QImage::Format>(header.format));
    // An image's rows must start on 32-bit boundaries.
    if (reinterpret_cast<std::uintptr_t>(pixels) % alignof(quint32) != 0)
        return wrapped.copy();
    return wrapped;
}

}  // namespace orvel
