#include <gtest/gtest.h>

#include <QBuffer>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <atomic>
#include <chrono>
#include <functional>
#include <optional>
#include <thread>

#include "ui/core/buttons/ButtonFaces.h"
#include "ui/qt/loading/ProgramFolder.h"
#include "ui/qt/loading/QtPictureLoader.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace orvel {
namespace {

const QSize kButton(128, 26);

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
    const auto picture = loader.load(path("Close_Button1.bmp"), {126, 24});
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->size(), QSize(126, 24));
}

TEST_F(PictureFiles, FailsForAMissingOrUnreadableFile) {
    QFile garbage(path("Exit_Button1.bmp"));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write("not a picture");
    garbage.close();
    EXPECT_FALSE(loader.load(path("Exit_Button1.bmp"), kButton));
    EXPECT_FALSE(loader.load(path("Apply_Settings1.bmp"), kButton));
}

// The bytes of a 24-bit bitmap as Qt writes it: a 54-byte header, then the rows.
QByteArray bitmapBytes(QSize size, const char* format = "BMP") {
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(200, 210, 230));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

void putLittleEndian32(QByteArray& bytes, int offset, quint32 value) {
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<char>((value >> (8 * i)) & 0xff);
}

// A bitmap whose header claims another size over the same few pixels.
QByteArray claimingSize(QSize claimed) {
    QByteArray bytes = bitmapBytes(kButton).left(54 + 3 * 128);
    putLittleEndian32(bytes, 18, static_cast<quint32>(claimed.width()));
    putLittleEndian32(bytes, 22, static_cast<quint32>(claimed.height()));
    return bytes;
}

// A 256-colour bitmap, run-length coded as some painting programs save it: each row one run of
// 128 pixels and an end of line, then the end of the bitmap. Rows can be left out.
QByteArray runLengthBitmap(int rows = 26) {
    QByteArray pixels;
    for (int row = 0; row < rows; ++row)
        pixels.append("\x80\x01\x00\x00", 4);
    if (rows == 26)
        pixels.append("\x00\x01", 2);
    QByteArray bytes(54 + 8, '\0');
    bytes[0] = 'B';
    bytes[1] = 'M';
    putLittleEndian32(bytes, 2, static_cast<quint32>(bytes.size() + pixels.size()));
    putLittleEndian32(bytes, 10, 54 + 8);  // the pixels follow the two-colour palette
    putLittleEndian32(bytes, 14, 40);      // the header's own size
    putLittleEndian32(bytes, 18, 128);
    putLittleEndian32(bytes, 22, 26);
    bytes[26] = 1;  // one plane
    bytes[28] = 8;  // bits per pixel
    bytes[30] = 1;  // run-length coded, 8 bits
    putLittleEndian32(bytes, 34, static_cast<quint32>(pixels.size()));
    putLittleEndian32(bytes, 46, 2);  // colours used
    bytes.replace(54, 8, QByteArray("\x40\x20\x00\x00\xe6\xd2\xc8\x00", 8));
    return bytes + pixels;
}

struct FileCase {
    const char* name;
    // Puts what the case is about at the path.
    std::function<void(const QString& path)> make;
    bool loads;
};

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

auto withBytes(QByteArray bytes) {
    return [bytes](const QString& path) { writeBytes(path, bytes); };
}

// The twelve files must be BMP bitmaps of their button's size; the window shows a picture only
// when it is whole. Qt alone takes several of these for pictures: black rows for what a cut-off
// file lacks, a PNG by its content, any size the header claims.
TEST_F(PictureFiles, OnlyAWholeBitmapOfTheButtonsSizeGivesAPicture) {
    const QByteArray good = bitmapBytes(kButton);
    const FileCase cases[] = {
        {"a 24-bit bitmap", withBytes(good), true},
        {"a run-length coded bitmap", withBytes(runLengthBitmap()), true},
        {"a link to a bitmap",
         [good](const QString& path) {
             writeBytes(path + ".target", good);
             ASSERT_TRUE(QFile::link(path + ".target", path));
         },
         true},
        {"cut off after 60 bytes", withBytes(good.left(60)), false},
        {"cut off one byte before its end", withBytes(good.chopped(1)), false},
        {"a run-length coded bitmap cut off", withBytes(runLengthBitmap(20)), false},
        {"a PNG picture under the bitmap's name", withBytes(bitmapBytes(kButton, "PNG")), false},
        {"a bitmap a pixel wider", withBytes(bitmapBytes({129, 26})), false},
        {"a bitmap of the Close button's size", withBytes(bitmapBytes({126, 24})), false},
        // Within what Qt allows itself to allocate, so that Qt alone decodes it, all black.
        {"a header claiming 4000 x 4000 pixels", withBytes(claimingSize({4000, 4000})), false},
        {"a whole bitmap followed by two megabytes", withBytes(good + QByteArray(2 << 20, '\0')),
         false},
        {"no bytes", withBytes({}), false},
        {"a folder", [](const QString& path) { ASSERT_TRUE(QDir().mkpath(path)); }, false},
        {"a link to nothing",
         [](const QString& path) { ASSERT_TRUE(QFile::link(path + ".gone", path)); }, false},
    };
    int number = 0;
    for (const FileCase& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = path("case") + QString::number(++number) + ".bmp";
        c.make(file);
        const std::optional<QPixmap> picture = loader.load(file, kButton);
        EXPECT_EQ(picture.has_value(), c.loads);
        if (c.loads && picture) {
            EXPECT_EQ(picture->size(), kButton);
        }
    }
}

#ifndef _WIN32
// A named pipe in a bitmap's place: the read must not wait for a writer. The writer here comes
// a moment later with a good bitmap, so that a loader that waits gets a picture.
TEST_F(PictureFiles, ANamedPipeInTheFilesPlaceIsNotWaitedFor) {
    const QString file = path("Exit_Button2.bmp");
    ASSERT_EQ(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
    const QByteArray good = bitmapBytes(kButton);
    std::atomic<bool> loaded{false};
    std::thread writer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        // Opening for writing fails at once while nobody reads; stop once the load is over.
        while (!loaded) {
            const int pipe = ::open(QFile::encodeName(file).constData(), O_WRONLY | O_NONBLOCK);
            if (pipe >= 0) {
                const ssize_t written = ::write(pipe, good.constData(), good.size());
                static_cast<void>(written);
                ::close(pipe);
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(loader.load(file, kButton));
    EXPECT_LT(clock.elapsed(), 250);
    loaded = true;
    writer.join();
}
#endif

// The file is replaced with the same size and time stamp, so that only a fresh read tells.
TEST_F(PictureFiles, AReplacedFileShowsAtTheNextRead) {
    const QString file = path("Show_Features2.bmp");
    writeBitmap(file, Qt::red);
    const QDateTime stamp = QFileInfo(file).lastModified();
    ASSERT_EQ(loader.load(file, kButton)->toImage().pixelColor(0, 0), QColor(Qt::red));

    writeBitmap(file, Qt::blue);
    QFile replaced(file);
    ASSERT_TRUE(replaced.open(QIODevice::ReadWrite));
    ASSERT_TRUE(replaced.setFileTime(stamp, QFileDevice::FileModificationTime));
    replaced.close();
    EXPECT_EQ(loader.load(file, kButton)->toImage().pixelColor(0, 0), QColor(Qt::blue));
}

TEST_F(PictureFiles, FolderPathEndingWithASeparatorLoadsUnchanged) {
    writeBitmap(path("Print_Features1.bmp"), Qt::green);
    const QString doubled =
        QString::fromStdString(pictureFilePath(folder.path().toStdString() + kPictureLiteralLead,
                                               facePictures(ButtonFace::PrintFeatures).normal));
    EXPECT_TRUE(doubled.contains(QStringLiteral("//Print_Features1.bmp")));
    EXPECT_TRUE(loader.load(doubled, kButton));
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
