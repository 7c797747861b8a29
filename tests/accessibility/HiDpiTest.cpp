// The windows at a device pixel ratio of 2: every built-in picture comes at twice its size, and
// the geometry stays as laid out, in logical pixels. This program sets QT_SCALE_FACTOR=2 itself
// (see HiDpiMain.cpp).
#include <QIcon>
#include <QTest>

#include "tests/ui/windows/WindowFixture.h"
#include "ui/qt/loading/BuiltInPictures.h"

namespace orvel::test {
namespace {

class HiDpi : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_EQ(window->devicePixelRatio(), 2.0) << "QT_SCALE_FACTOR=2 did not take effect";
    }

    // Each picture is drawn at twice the size and keeps its logical size on screen.
    static void expectDensePictures(QWidget& window) {
        const auto pictures = window.findChildren<PictureControl*>();
        ASSERT_FALSE(pictures.isEmpty());
        for (PictureControl* control : pictures) {
            const QPixmap picture = control->pixmap();
            SCOPED_TRACE(qPrintable(control->objectName()));
            ASSERT_FALSE(picture.isNull());
            EXPECT_EQ(picture.devicePixelRatio(), 2.0);
            EXPECT_EQ(picture.size(), picture.deviceIndependentSize().toSize() * 2);
        }
    }
};

TEST_F(HiDpi, MainWindowPicturesAreDenseAndItsGeometryLogical) {
    expectDensePictures(*window);
    EXPECT_EQ(window->size(), QSize(728, 353));
    EXPECT_EQ(window->imgApplySettings->geometry(), QRect(588, 168, 128, 26));
    EXPECT_EQ(window->imgBackground->size(), QSize(731, 353));
    EXPECT_EQ(window->imgWarning->geometry(), QRect(168, 144, 350, 38));
    EXPECT_EQ(window->cboFont->geometry(), QRect(107, 45, 161, 21));
}

TEST_F(HiDpi, FeaturesWindowPicturesAreDenseAndItsGeometryLogical) {
    showFeatures();
    FeaturesView& features = *window->features();
    expectDensePictures(features);
    EXPECT_EQ(features.size(), QSize(738, 453));
    EXPECT_EQ(features.imgClose->geometry(), QRect(600, 392, 126, 24));
    EXPECT_EQ(features.Picture1->size(), QSize(169, 25));
}

TEST_F(HiDpi, WindowIconHasItsDenseFace) {
    const QPixmap icon = printerIcon().pixmap(QSize(16, 16), 2.0);
    EXPECT_EQ(icon.size(), QSize(32, 32));
    EXPECT_EQ(icon.devicePixelRatio(), 2.0);
}

}  // namespace
}  // namespace orvel::test
