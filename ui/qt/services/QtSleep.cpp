#include "ui/qt/services/QtSleep.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <QWidget>
#include <algorithm>

namespace orvel {

void QtSleep::sleep(int milliseconds) {
    if (milliseconds <= 0)
        return;
    const QDeadlineTimer end(milliseconds, Qt::PreciseTimer);
    repaintShownWindows();
    for (;;) {
        const qint64 left = end.remainingTime();
        if (left <= 0)
            return;
        QThread::msleep(
            static_cast<unsigned long>(std::min<qint64>(left, kRepaintIntervalMilliseconds)));
        if (end.hasExpired())
            return;
        repaintShownWindows();
    }
}

// A repaint draws at once, without the event loop.
void QtSleep::repaintShownWindows() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible())
            window->repaint();
    }
}

}  // namespace orvel
