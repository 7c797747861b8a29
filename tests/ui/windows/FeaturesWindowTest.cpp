// The features window's list and its two buttons.
#include <QPlainTextEdit>

#include "tests/ui/windows/WindowFixture.h"
#include "ui/core/windows/FeaturesText.h"
#include "ui/qt/buttons/PictureControl.h"

namespace orvel::test {
namespace {

// The nineteen lines as the window shows them, each ended by CR LF.
const std::string kFeatureList =
    " 1.     24 Pin 80 column Dot Matrix Printer with speed 300 CPS at HSD 10 CPI.\r\n"
    "\r\n"
    " 2.     Comes with USB 2.0/Parallel/Serial interfaces with Autoshare feature.\r\n"
    "\r\n"
    " 3.     Built in 9 LQ fonts:\r\n"
    "             Roman\t      Sans Serif         Courier\r\n"
    "             Prestige\t      Script\t   OCR-B\r\n"
    "             OCR-A\t      ORATOR            ORATOR-S\r\n"
    "\r\n"
    " 4.    Advanced paper handling system to take care of all paper needs.\r\n"
    "\r\n"
    " 5.    Supports two paper paths.\r\n"
    "\r\n"
    " 6.    Printer driver support for Windows 95, 98, Me, NT 4.0, 2000, XP, 2003, XPx64,\r\n"
    "        Vista, 7, 7 x64, 8, 8 x64 and selected Linux distributions.\r\n"
    "        (Available in www.varnet-printing.example).\r\n"
    "\r\n"
    " 7.    Windows printer configuration utility to configure the printer permanent \r\n"
    "        settings.\r\n";

TEST(FeatureList, HoldsTheNineteenLinesWithTheirBlanksTabsAndLineEnds) {
    EXPECT_EQ(featuresText(), kFeatureList);
}

using FeaturesWindow = FeaturesWindowTest;

TEST_F(FeaturesWindow, ShowsTheListAndTypingChangesNothing) {
    QString shown = QString::fromStdString(kFeatureList);
    shown.replace("\r\n", "\n");
    EXPECT_EQ(features->txtFeatures->toPlainText(), shown);

    features->txtFeatures->setFocus();
    QTest::keyClicks(features->txtFeatures, "typed");
    QTest::keyClick(features->txtFeatures, Qt::Key_Backspace);
    QTest::keyClick(features->txtFeatures, Qt::Key_Delete);
    EXPECT_EQ(features->txtFeatures->toPlainText(), shown);
}

TEST_F(FeaturesWindow, RightAndMiddleButtonsDoNothing) {
    for (PictureControl* button : {features->imgPrintFeatures, features->imgClose}) {
        for (Qt::MouseButton mouse : {Qt::RightButton, Qt::MiddleButton}) {
            release(button, mouse);
            EXPECT_TRUE(messageBox.shown.empty());
            EXPECT_TRUE(spooler.calls.empty());
            EXPECT_TRUE(features->isVisible());
            EXPECT_FALSE(window->isVisible());
        }
    }
}

TEST_F(FeaturesWindow, PrintFailureIsTheSpoolersMessageAndTheWindowStays) {
    spooler.openSucceeds = false;
    release(features->imgPrintFeatures);
    ASSERT_EQ(messageBox.shown.size(), 2u);
    EXPECT_EQ(messageBox.shown[1].text, messages::kOpenFailed.text());
    EXPECT_TRUE(features->isVisible());
    EXPECT_FALSE(window->isVisible());
}

// The views ask for each button's pictures at the button's size, so that a picture of another
// size is refused: 128 x 26 pixels, and 126 x 24 for Close.
TEST_F(FeaturesWindow, ButtonPicturesAreReadAtTheButtonsSize) {
    features->window().imgBackground_MouseMove(0, 0, 0, 0);
    features->window().imgClose_MouseMove(0, 0, 0, 0);
    core->imgBackground_MouseMove(0, 0, 0, 0);
    core->imgExit_MouseMove(0, 0, 0, 0);
    ASSERT_EQ(pictures.reads.size(), 2 + 1 + 5 + 1);
    ASSERT_EQ(pictures.sizes.size(), pictures.reads.size());
    for (int read = 0; read < pictures.reads.size(); ++read) {
        const bool close = pictures.reads[read].contains(QStringLiteral("Close_Button"));
        EXPECT_EQ(pictures.sizes[read], close ? QSize(126, 24) : QSize(128, 26))
            << pictures.reads[read].toStdString();
    }
}

// Closed by its own close button, the window has no buttons to show a picture on: none is read.
TEST_F(FeaturesWindow, ClosedItReadsNoPicture) {
    features->close();
    ASSERT_FALSE(features->isLoaded());
    const auto reads = pictures.reads.size();
    EXPECT_FALSE(features->showButtonPicture(
        ButtonFace::Close, kPictureFolder.toStdString() + facePictures(ButtonFace::Close).normal));
    EXPECT_EQ(pictures.reads.size(), reads);
}

}  // namespace
}  // namespace orvel::test
