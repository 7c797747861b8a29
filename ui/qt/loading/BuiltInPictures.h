// The pictures built into the windows, embedded as resources under :/pictures/.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace orvel {

// The picture at its own size, shown straight from the pixels packed into the program
// (":/pictures/<name>.pixels", no decoding, no copy), or its drawn-at-twice-the-size PNG
// neighbour ":/pictures/<name>@2x.png" where the screen is dense enough to use it. A null pixmap
// when the resource is missing or damaged.
QPixmap builtInPicture(const QString& name);

// The 16 x 16 printer that both windows carry as their icon.
QIcon printerIcon();

}  // namespace orvel
