// The folder that holds the program file, where the button pictures lie.
#pragma once

#include <QString>

namespace orvel {

class ProgramFolder {
public:
    // The running program's folder, symbolic links resolved, in the platform's own notation,
    // without a trailing separator except where the platform's path has one (a root folder).
    static QString path();
    // The same for any program file path; empty when the file does not exist.
    static QString ofProgramFile(const QString& programFile);
    // The picture literals begin with the platform's separator and are appended to the folder
    // path as they are: a folder path that already ends with a separator gives two in a row.
    static QString filePath(const QString& folder, const QString& literal);
};

}  // namespace orvel
