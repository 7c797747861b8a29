// orvel_picturegen OUTPUT_ROOT
// Draws every built-in picture of the two windows and the twelve button bitmaps, and writes them
// under OUTPUT_ROOT (ui/pictures/ and assets/). Run it through tools/make-pictures.
#include <QDir>
#include <QGuiApplication>
#include <cstdio>

#include "PictureWriter.h"

int main(int argc, char* argv[]) {
    // Fonts need a platform; the offscreen one needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: orvel_picturegen OUTPUT_ROOT\n");
        return 2;
    }
    picturegen::PictureWriter writer{QDir(QString::fromLocal8Bit(argv[1]))};
    return writer.writeAll() ? 0 : 1;
}
