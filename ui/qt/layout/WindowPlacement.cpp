#include "ui/qt/layout/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace orvel {

void centreOnScreen(QWidget& window) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    // The client area is centred: the frame's size is not known before the window is shown.
    QRect client(QPoint(), window.size());
    client.moveCenter(screen->availableGeometry().center());
    window.setGeometry(client);
}

void makeFixedSingleWindow(QWidget& window, int clientWidth, int clientHeight) {
    window.setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint);
    window.setFixedSize(clientWidth, clientHeight);
}

}  // namespace orvel
