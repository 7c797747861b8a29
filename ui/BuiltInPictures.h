// The pictures built into the windows, embedded as resources under :/pictures/.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace orvel {

// ":/pictures/<name>.png", or its drawn-at-twice-the-size neighbour "<name>@2x.png" where the
// screen is dense enough to use it. A null pixmap when the resource is missing.
QPixmap builtInPicture(const QString& name);

// The 16 x 16 printer that both windows carry as their icon.
QIcon printerIcon();

}  // namespace orvel
