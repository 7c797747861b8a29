// A picture kept as the very pixels that a pixmap of it holds, so that showing it needs no
// decoding and no copy: the program wraps the bytes where they lie. The build packs each
// built-in picture this way from its PNG file.
//
// Layout: the four letters "OPIX", then the width, the height and the QImage format, each a
// 32-bit number in the byte order of the machine the program is built for, then the rows from
// the top, each padded with zeros to a multiple of four bytes, as QImage lays out its own. An
// opaque picture is RGB888, three bytes a pixel, which the painter draws as it is onto any
// screen; one with transparent pixels is ARGB32_Premultiplied, the format of its pixmap.
#pragma once

#include <QByteArray>
#include <QImage>

namespace orvel {

class PackedPicture {
public:
    static constexpr int kHeaderSize = 16;
    // Larger than any window; a bound on what a damaged file can make the program take.
    static constexpr int kMaxSide = 8192;

    // The packed bytes of an image, in the format for its kind. Empty for a null image or one
    // larger than kMaxSide.
    static QByteArray pack(const QImage& image);

    // The picture over the bytes themselves when they are 4-byte aligned, otherwise a copy; the
    // bytes must outlive the image and every pixmap made from it without conversion. A null
    // image when the bytes are not a packed picture of exactly their size.
    static QImage wrap(const uchar* bytes, qint64 size);
};

}  // namespace orvel
