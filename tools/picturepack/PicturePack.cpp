// orvel_picturepack PNG PACKED [PNG PACKED...]
// Packs each built-in picture for the program as the pixels its pixmap holds
// (ui/qt/loading/PackedPicture.h), so that the program shows it without decoding it. The build runs
// it on the committed PNG files; the pixels are the ones the program would have decoded from them.
#include <QCoreApplication>
#include <QFile>
#include <QImageReader>
#include <cstdio>

#include "ui/qt/loading/PackedPicture.h"

namespace {

bool packOne(const QString& source, const QString& target) {
    QImageReader reader(source);
    const QImage image = reader.read();
    const QByteArray packed = orvel::PackedPicture::pack(image);
    if (packed.isEmpty()) {
        std::fprintf(stderr, "orvel_picturepack: cannot read %s: %s\n", qPrintable(source),
                     qPrintable(reader.errorString()));
        return false;
    }
    QFile file(target);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(packed) != packed.size() || !file.flush()) {
        std::fprintf(stderr, "orvel_picturepack: cannot write %s\n", qPrintable(target));
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    if (argc < 3 || argc % 2 == 0) {
        std::fprintf(stderr, "usage: orvel_picturepack PNG PACKED [PNG PACKED...]\n");
        return 2;
    }
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!packOne(QString::fromLocal8Bit(argv[i]), QString::fromLocal8Bit(argv[i + 1])))
            return 1;
    }
    return 0;
}
