// The built-in pictures are shown from the pixels packed into the program, not decoded and not
// copied, and they are the committed pictures pixel for pixel. Packed bytes that are damaged in
// any way give no picture rather than a wrong one.
#include <gtest/gtest.h>

#include <QIcon>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>
#include <QResource>
#include <cstring>

#include "ui/qt/loading/BuiltInPictures.h"
#include "ui/qt/loading/PackedPicture.h"

namespace orvel {
namespace {

const QString kCommitted = QStringLiteral(ORVEL_SOURCE_DIR "/ui/pictures/");

QImage committed(const QString& name) {
    QImageReader reader(kCommitted + name + QStringLiteral(".png"));
    return reader.read();
}

QImage asArgb(const QImage& image) {
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// The built-in pictures as the windows name them.
const char* const kBuiltIn[] = {
    "main_background", "main_title",          "main_captions_left", "main_captions_right",
    "banner",          "features_background", "features_title",     "features_heading",
    "Apply_Settings1", "Restore_Default1",    "Show_Features1",     "Print_Features1",
    "Exit_Button1",    "Close_Button1",       "printer_icon",
};

TEST(BuiltInPictures, AreShownFromThePixelsInTheProgramAndAreTheCommittedPictures) {
    for (const char* picture : kBuiltIn) {
        const QString name = QLatin1String(picture);
        SCOPED_TRACE(picture);
        const QPixmap shown = builtInPicture(name);
        ASSERT_FALSE(shown.isNull());
        const QResource packed(QStringLiteral(":/pictures/") + name + QStringLiteral(".pixels"));
        ASSERT_TRUE(packed.isValid());
        EXPECT_EQ(shown.toImage().constBits(), packed.data() + PackedPicture::kHeaderSize);
        EXPECT_EQ(shown.devicePixelRatio(), 1.0);
        const QImage expected = committed(name);
        ASSERT_FALSE(expected.isNull());
        EXPECT_EQ(asArgb(shown.toImage()), asArgb(expected));
    }
    EXPECT_TRUE(builtInPicture(QStringLiteral("no_such_picture")).isNull());
}

TEST(BuiltInPictures, TheIconIsTheCommittedIcon) {
    const QIcon icon = printerIcon();
    EXPECT_EQ(icon.availableSizes(), QList<QSize>{QSize(16, 16)});
    EXPECT_EQ(asArgb(icon.pixmap(QSize(16, 16)).toImage()),
              asArgb(committed(QStringLiteral("printer_icon"))));
}

// An opaque picture of an odd width, so that its rows need padding, and one with transparency.
QImage opaquePicture() {
    QImage image(7, 3, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x * 30, y * 80, 200 - x * y));
    return image;
}

QImage transparentPicture() {
    QImage image(5, 4, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.fillRect(1, 1, 3, 2, QColor(10, 200, 30, 128));
    painter.end();
    return image;
}

TEST(PackedPicture, GivesBackThePictureOverItsOwnBytes) {
    for (const QImage& picture : {opaquePicture(), transparentPicture()}) {
        const QByteArray packed = PackedPicture::pack(picture);
        ASSERT_FALSE(packed.isEmpty());
        const auto* bytes = reinterpret_cast<const uchar*>(packed.constData());
        const QImage wrapped = PackedPicture::wrap(bytes, packed.size());
        EXPECT_EQ(wrapped.constBits(), bytes + PackedPicture::kHeaderSize);
        EXPECT_EQ(asArgb(wrapped), asArgb(picture));
        EXPECT_EQ(wrapped.hasAlphaChannel(), picture.hasAlphaChannel());
    }
}

TEST(PackedPicture, BytesOffTheirBoundaryAreCopied) {
    const QByteArray packed = PackedPicture::pack(opaquePicture());
    QByteArray shifted(packed.size() + 1, '\0');
    std::memcpy(shifted.data() + 1, packed.constData(), packed.size());
    const auto* bytes = reinterpret_cast<const uchar*>(shifted.constData()) + 1;
    const QImage wrapped = PackedPicture::wrap(bytes, packed.size());
    EXPECT_NE(wrapped.constBits(), bytes + PackedPicture::kHeaderSize);
    EXPECT_EQ(asArgb(wrapped), asArgb(opaquePicture()));
}

void setWord(QByteArray& bytes, int offset, quint32 value) {
    std::memcpy(bytes.data() + offset, &value, sizeof value);
}

struct Damage {
    const char* what;
    std::function<void(QByteArray&)> apply;
};

TEST(PackedPicture, DamagedBytesGiveNoPicture) {
    const Damage damages[] = {
        {"empty", [](QByteArray& b) { b.clear(); }},
        {"a header cut short", [](QByteArray& b) { b.truncate(PackedPicture::kHeaderSize - 1); }},
        {"other letters", [](QByteArray& b) { b[0] = 'X'; }},
        {"no width", [](QByteArray& b) { setWord(b, 4, 0); }},
        {"no height", [](QByteArray& b) { setWord(b, 8, 0); }},
        {"wider than any window",
         [](QByteArray& b) { setWord(b, 4, PackedPicture::kMaxSide + 1); }},
        {"taller than any window",
         [](QByteArray& b) { setWord(b, 8, PackedPicture::kMaxSide + 1); }},
        {"a format not packed", [](QByteArray& b) { setWord(b, 12, QImage::Format_Indexed8); }},
        {"a format that is none", [](QByteArray& b) { setWord(b, 12, 0xffffffff); }},
        {"one byte short", [](QByteArray& b) { b.chop(1); }},
        {"one byte more", [](QByteArray& b) { b.append('\0'); }},
        {"a width that overruns the rows", [](QByteArray& b) { setWord(b, 4, 9); }},
    };
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.what);
        QByteArray packed = PackedPicture::pack(opaquePicture());
        damage.apply(packed);
        EXPECT_TRUE(
            PackedPicture::wrap(reinterpret_cast<const uchar*>(packed.constData()), packed.size())
                .isNull());
    }
    EXPECT_TRUE(PackedPicture::wrap(nullptr, 100).isNull());
}

TEST(PackedPicture, PacksNoPictureFromNothingOrFromTooMuch) {
    EXPECT_TRUE(PackedPicture::pack(QImage()).isEmpty());
    EXPECT_TRUE(PackedPicture::pack(QImage(PackedPicture::kMaxSide + 1, 1, QImage::Format_RGB32))
                    .isEmpty());
}

}  // namespace
}  // namespace orvel
