#include "ui/BuiltInPictures.h"

#include <QFile>
#include <QGuiApplication>

// The resources live in a static library: registering them here keeps the linker from
// dropping them. Q_INIT_RESOURCE must be used outside any namespace.
static void registerBuiltInPictures() {
    Q_INIT_RESOURCE(pictures);
}

namespace orvel {

namespace {

QString resourcePath(const QString& name, const QString& suffix) {
    return QStringLiteral(":/pictures/") + name + suffix + QStringLiteral(".png");
}

void ensureRegistered() {
    static const bool registered = (registerBuiltInPictures(), true);
    (void)registered;
}

}  // namespace

QPixmap builtInPicture(const QString& name) {
    ensureRegistered();
    const QString dense = resourcePath(name, QStringLiteral("@2x"));
    if (qApp->devicePixelRatio() > 1.0 && QFile::exists(dense)) {
        QPixmap picture(dense);
        picture.setDevicePixelRatio(2.0);
        return picture;
    }
    return QPixmap(resourcePath(name, QString()));
}

QIcon printerIcon() {
    ensureRegistered();
    return QIcon(resourcePath(QStringLiteral("printer_icon"), QString()));
}

}  // namespace orvel
