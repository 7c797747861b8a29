#include "ui/qt/services/QtProgramControl.h"

#include <QApplication>
#include <QWidget>

namespace orvel {

void QtProgramControl::endProgram() {
    // quit() would first ask every window to close; exit() does not.
    for (QWidget* window : QApplication::topLevelWidgets())
        window->hide();
    QCoreApplication::exit(0);
}

}  // namespace orvel
