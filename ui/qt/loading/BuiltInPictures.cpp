#include "ui/qt/loading/BuiltInPictures.h"

#include <QFile>
#include <QGuiApplication>
#include <QResource>

#include "ui/qt/loading/PackedPicture.h"

// The resources live in a static library: registering them here keeps the linker from
// dropping them. Q_INIT_RESOURCE must be used outside any namespace.
static void registerBuiltInPictures() {
    Q_INIT_RESOURCE(packed_pictures);
    Q_INIT_RESOURCE(dense_pictures);
}

namespace orvel {

namespace {

const QString kIconName = QStringLiteral("printer_icon");

QString resourcePath(const QString& name, const QString& suffix) {
    return QStringLiteral(":/pictures/") + name + suffix;
}

void ensureRegistered() {
    static const bool registered = (registerBuiltInPictures(), true);
    (void)registered;
}

QString densePicturePath(const QString& name) {
    const QString dense = resourcePath(name, QStringLiteral("@2x.png"));
    return qApp->devicePixelRatio() > 1.0 && QFile::exists(dense) ? dense : QString();
}

// The resources are stored uncompressed, so their bytes stay where the program file is mapped;
// the pixmap keeps them in their own format rather than convert them into a copy.
QPixmap packedPicture(const QString& name) {
    const QResource resource(resourcePath(name, QStringLiteral(".pixels")));
    if (!resource.isValid() || resource.compressionAlgorithm() != QResource::NoCompression)
        return {};
    return QPixmap::fromImage(PackedPicture::wrap(resource.data(), resource.size()),
                              Qt::NoFormatConversion);
}

}  // namespace

QPixmap builtInPicture(const QString& name) {
    ensureRegistered();
    const QString dense = densePicturePath(name);
    if (!dense.isEmpty()) {
        QPixmap picture(dense);
        picture.setDevicePixelRatio(2.0);
        return picture;
    }
    return packedPicture(name);
}

QIcon printerIcon() {
    ensureRegistered();
    QIcon icon(packedPicture(kIconName));
    // Where the screen is dense, the icon carries its dense face beside.
    const QString dense = densePicturePath(kIconName);
    if (!dense.isEmpty())
        icon.addFile(dense);
    return icon;
}

}  // namespace orvel
