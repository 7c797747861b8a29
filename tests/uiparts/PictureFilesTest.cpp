#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include "ui/ButtonPictures.h"
#include "ui/ProgramFolder.h"
#include "ui/QtPictureLoader.h"

namespace orvel {
namespace {

class PictureFiles : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder.isValid()); }

    QString path(const char* name) const { return folder.path() + QStringLiteral("/") + name; }

    void writeBitmap(const QString& file, QColor colour, QSize size = {128, 26}) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        ASSERT_TRUE(image.save(file, "BMP"));
    }

    QTemporaryDir folder;
    QtPictureLoader loader;
};

TEST_F(PictureFiles, LoadsABitmapUnscaled) {
    writeBitmap(path("Close_Button1.bmp"), Qt::red, {126, 24});
    const auto picture = loader.load(path("Close_Button1.bmp"));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->size(), QSize(126, 24));
}

TEST_F(PictureFiles, FailsForAMissingOrUnreadableFile) {
    QFile garbage(path("Exit_Button1.bmp"));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write("not a picture");
    garbage.close();
    EXPECT_FALSE(loader.load(path("Exit_Button1.bmp")));
    EXPECT_FALSE(loader.load(path("Apply_Settings1.bmp")));
}

// The file is replaced with the same size and time stamp, so that only a fresh read tells.
TEST_F(PictureFiles, AReplacedFileShowsAtTheNextRead) {
    const QString file = path("Show_Features2.bmp");
    writeBitmap(file, Qt::red);
    const QDateTime stamp = QFileInfo(file).lastModified();
    ASSERT_EQ(loader.load(file)->toImage().pixelColor(0, 0), QColor(Qt::red));

    writeBitmap(file, Qt::blue);
    QFile replaced(file);
    ASSERT_TRUE(replaced.open(QIODevice::ReadWrite));
    ASSERT_TRUE(replaced.setFileTime(stamp, QFileDevice::FileModificationTime));
    replaced.close();
    EXPECT_EQ(loader.load(file)->toImage().pixelColor(0, 0), QColor(Qt::blue));
}

TEST_F(PictureFiles, FolderPathEndingWithASeparatorLoadsUnchanged) {
    writeBitmap(path("Print_Features1.bmp"), Qt::green);
    const QString doubled = ProgramFolder::filePath(folder.path() + kPictureLiteralLead,
                                                    facePictures(ButtonFace::PrintFeatures).normal);
    EXPECT_TRUE(doubled.contains(QStringLiteral("//Print_Features1.bmp")));
    EXPECT_TRUE(loader.load(doubled));
}

TEST_F(PictureFiles, ProgramFolderIsTheFolderOfTheFileALinkPointsTo) {
    ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("real")));
    ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("links")));
    QFile program(path("real/varnet-orvel"));
    ASSERT_TRUE(program.open(QIODevice::WriteOnly));
    program.close();
    ASSERT_TRUE(QFile::link(path("real/varnet-orvel"), path("links/varnet-orvel")));

    const QString real = QFileInfo(path("real")).canonicalFilePath();
    EXPECT_EQ(ProgramFolder::ofProgramFile(path("links/varnet-orvel")), real);
    EXPECT_EQ(ProgramFolder::ofProgramFile(path("real/varnet-orvel")), real);
}

TEST_F(PictureFiles, RunningProgramsFolderHasNoTrailingSeparator) {
    const QString folderPath = ProgramFolder::path();
    EXPECT_EQ(folderPath, QFileInfo(QCoreApplication::applicationDirPath()).canonicalFilePath());
    EXPECT_FALSE(folderPath.endsWith(QLatin1Char('/')));
}

}  // namespace
}  // namespace orvel
