#include "ui/qt/loading/QtPictureLoader.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>

#include "ui/qt/loading/EndWatchingBuffer.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace orvel {

namespace {

#ifndef _WIN32
// Opening does not wait for a writer (a named pipe in the file's place), and the check of the
// kind and size is made on what was opened, so the file can't be swapped in between.
bool openRegularFile(const QString& path, qint64 maxBytes, QFile& file) {
    const int descriptor =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode) ||
        status.st_size > maxBytes) {
        ::close(descriptor);
        return false;
    }
    return file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
}
#else
bool openRegularFile(const QString& path, qint64 maxBytes, QFile& file) {
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > maxBytes)
        return false;
    file.setFileName(path);
    return file.open(QIODevice::ReadOnly);
}
#endif

// The whole file, or nothing when it is no regular file or larger than maxBytes (also when it
// grew since it was opened).
std::optional<QByteArray> readSmallFile(const QString& path, qint64 maxBytes) {
    QFile file;
    if (!openRegularFile(path, maxBytes, file))
        return std::nullopt;
    QByteArray bytes = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() > maxBytes)
        return std::nullopt;
    return bytes;
}

}  // namespace

// The bytes are read once and decoded from memory: nothing is cached, so a file replaced on disk
// shows at the next swap, and what is checked is what is decoded.
std::optional<QPixmap> QtPictureLoader::load(const QString& path, const QSize& size) {
    const std::optional<QByteArray> bytes = readSmallFile(path, kMaxFileBytes);
    if (!bytes)
        return std::nullopt;
    EndWatchingBuffer device(*bytes);
    // BMP only, whatever the content looks like.
    QImageReader reader(&device, QByteArrayLiteral("bmp"));
    reader.setAutoDetectImageFormat(false);
    reader.setDecideFormatFromContent(false);
    // The size from the header, before anything is decoded: a picture of another size is never
    // allocated.
    if (reader.size() != size)
        return std::nullopt;
    QImage image;
    if (!reader.read(&image) || device.ranShort() || image.size() != size)
        return std::nullopt;
    return QPixmap::fromImage(image);
}

}  // namespace orvel
