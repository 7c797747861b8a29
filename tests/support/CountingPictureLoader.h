// Test double of the picture loading: counts the reads of each path, fails for the paths it is
// told to, and hands out a picture per path that tells which file it came from.
#pragma once

#include <QColor>
#include <QMap>
#include <QPixmap>
#include <QSet>
#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "ui/PictureLoader.h"

namespace orvel::test {

class CountingPictureLoader : public PictureLoader {
public:
    QStringList reads;  // every path asked for, in order
    QSet<QString> failing;
    // The size of the picture handed out for a path: a button takes its picture's size.
    std::function<QSize(const QString&)> sizeOf = [](const QString&) { return QSize(4, 4); };

    std::optional<QPixmap> load(const QString& path) override {
        reads.append(path);
        if (failing.contains(path))
            return std::nullopt;
        QPixmap picture(sizeOf(path));
        picture.fill(QColor::fromRgb(static_cast<QRgb>(qHash(path))));
        m_pathOf.insert(picture.cacheKey(), path);
        return picture;
    }

    int readsOf(const QString& path) const { return static_cast<int>(reads.count(path)); }

    // The file that a picture handed out was read from; empty for any other picture.
    QString pathOf(const QPixmap& picture) const { return m_pathOf.value(picture.cacheKey()); }

private:
    QMap<qint64, QString> m_pathOf;
};

}  // namespace orvel::test
