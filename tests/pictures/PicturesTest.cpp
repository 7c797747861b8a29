// The committed pictures: every built-in picture at its size in pixels, at 1x and at 2x, and the
// twelve button bitmaps beside the program, whose normal faces must look exactly like the faces
// built into the windows (a difference would show at the first reset of the buttons).
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QSize>
#include <QString>

namespace {

const QString kPictures = QStringLiteral(ORVEL_SOURCE_DIR "/ui/pictures/");
const QString kAssets = QStringLiteral(ORVEL_SOURCE_DIR "/assets/");

struct Expected {
    const char* name;
    QSize size;
};

QImage load(const QString& path) {
    QImageReader reader(path);
    reader.setAutoTransform(false);
    return reader.read();
}

// The bit count of a bitmap file's header: 24 for true colour without a palette.
int bitsPerPixel(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return -1;
    }
    const QByteArray header = file.read(30);
    if (header.size() < 30 || !header.startsWith("BM")) {
        return -1;
    }
    return static_cast<unsigned char>(header[28]) | static_cast<unsigned char>(header[29]) << 8;
}

const Expected kBuiltIn[] = {
    {"main_background", {731, 353}},
    {"main_title", {204, 16}},
    {"main_captions_left", {118, 264}},
    {"main_captions_right", {125, 238}},
    {"banner", {346, 34}},
    {"features_background", {738, 455}},
    {"features_title", {338, 25}},
    {"features_heading", {246, 32}},
    {"Apply_Settings1", {128, 26}},
    {"Restore_Default1", {128, 26}},
    {"Show_Features1", {128, 26}},
    {"Print_Features1", {128, 26}},
    {"Exit_Button1", {128, 26}},
    {"Close_Button1", {126, 24}},
    {"printer_icon", {16, 16}},
};

const Expected kButtons[] = {
    {"Apply_Settings", {128, 26}}, {"Restore_Default", {128, 26}}, {"Show_Features", {128, 26}},
    {"Print_Features", {128, 26}}, {"Exit_Button", {128, 26}},     {"Close_Button", {126, 24}},
};

TEST(Pictures, EveryBuiltInPictureHasItsSizeAtOneAndTwoTimes) {
    for (const Expected& picture : kBuiltIn) {
        const QString name = QString::fromLatin1(picture.name);
        SCOPED_TRACE(picture.name);
        EXPECT_EQ(load(kPictures + name + ".png").size(), picture.size);
        EXPECT_EQ(load(kPictures + name + "@2x.png").size(), picture.size * 2);
    }
}

TEST(Pictures, WindowIconKeepsToSixteenColours) {
    const QImage icon = load(kPictures + "printer_icon.png");
    ASSERT_EQ(icon.format(), QImage::Format_Indexed8);
    int opaque = 0;
    for (const QRgb entry : icon.colorTable()) {
        opaque += qAlpha(entry) == 255 ? 1 : 0;
    }
    EXPECT_LE(opaque, 16);
    EXPECT_EQ(load(kPictures + "printer_icon_48.png").size(), QSize(48, 48));
    EXPECT_EQ(load(kPictures + "printer_icon_256.png").size(), QSize(256, 256));
}

TEST(Pictures, ButtonBitmapsHaveTheirSizesAndNormalFacesMatchTheBuiltInOnes) {
    for (const Expected& button : kButtons) {
        const QString stem = QString::fromLatin1(button.name);
        SCOPED_TRACE(button.name);
        const QImage normal = load(kAssets + stem + "1.bmp");
        const QImage highlighted = load(kAssets + stem + "2.bmp");
        ASSERT_EQ(normal.size(), button.size);
        ASSERT_EQ(highlighted.size(), button.size);
        EXPECT_EQ(bitsPerPixel(kAssets + stem + "1.bmp"), 24);
        EXPECT_EQ(bitsPerPixel(kAssets + stem + "2.bmp"), 24);
        const QImage builtIn = load(kPictures + stem + "1.png");
        EXPECT_EQ(normal.convertToFormat(QImage::Format_RGB32),
                  builtIn.convertToFormat(QImage::Format_RGB32));
        EXPECT_NE(highlighted.convertToFormat(QImage::Format_RGB32),
                  normal.convertToFormat(QImage::Format_RGB32));
    }
}

}  // namespace
