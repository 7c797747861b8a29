#include "ui/qt/loading/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace orvel {

QString ProgramFolder::path() {
    const QString folder = ofProgramFile(QCoreApplication::applicationFilePath());
    if (!folder.isEmpty())
        return folder;
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
}

QString ProgramFolder::ofProgramFile(const QString& programFile) {
    // canonicalPath() is the folder of the file that a link points to, and empty for a file
    // that does not exist.
    return QDir::toNativeSeparators(QFileInfo(programFile).canonicalPath());
}

QString ProgramFolder::filePath(const QString& folder, const QString& literal) {
    return folder + literal;
}

}  // namespace orvel
