// Test double of the picture loading: counts the reads of each path, fails for the paths it is
// told to, and hands out a picture of the size asked for that tells which file it came from.
#pragma once

#include <QColor>
#include <QList>
#include <QMap>
#include <QPixmap>
#include <QSet>
#include <QSize>
#include <QString>
#include <QStringList>
#include <optional>

#include "ui/qt/loading/PictureLoader.h"

namespace orvel::test {

class CountingPictureLoader : public PictureLoader {
public:
    QStringList reads;   // every path asked for, in order
    QList<QSize> sizes;  // the size asked for with each of them
    QSet<QString> failing;

    std::optional<QPixmap> load(const QString& path, const QSize& size) override {
        reads.append(path);
        sizes.append(size);
        if (failing.contains(path))
            return std::nullopt;
        QPixmap picture(size);
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
