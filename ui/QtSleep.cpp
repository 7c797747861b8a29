#include "ui/QtSleep.h"

#include <QThread>

namespace orvel {

void QtSleep::sleep(int milliseconds) {
    if (milliseconds > 0)
        QThread::msleep(static_cast<unsigned long>(milliseconds));
}

}  // namespace orvel
