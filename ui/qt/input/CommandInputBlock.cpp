#include "ui/qt/input/CommandInputBlock.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>

namespace orvel {

namespace {

// What the window system hands a window from the user's pointer, keyboard, touch or pen.
bool isUserInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::NonClientAreaMouseButtonPress:
        case QEvent::NonClientAreaMouseButtonRelease:
        case QEvent::NonClientAreaMouseButtonDblClick:
        case QEvent::NonClientAreaMouseMove:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TouchCancel:
        case QEvent::TabletPress:
        case QEvent::TabletMove:
        case QEvent::TabletRelease:
            return true;
        default:
            return false;
    }
}

}  // namespace

// The filter sits on the windows' native windows, where the window system's input arrives
// before Qt hands it to a control. An application-wide filter installed now, while the event
// that started the command is being delivered, would make Qt give that event once more to the
// filters behind it, the key preview among them.
CommandInputBlock::CommandInputBlock(std::initializer_list<QWidget*> windows) {
    for (QWidget* window : windows) {
        QWindow* handle = window != nullptr ? window->windowHandle() : nullptr;
        if (handle == nullptr)
            continue;
        handle->installEventFilter(this);
        m_windows.emplace_back(handle);
    }
}

CommandInputBlock::~CommandInputBlock() {
    // What Qt holds, then a round trip to the window system so that everything it sent before
    // has arrived, and that too.
    QCoreApplication::processEvents();
    QGuiApplication::sync();
    for (const QPointer<QWindow>& window : m_windows) {
        if (window)
            window->removeEventFilter(this);
    }
}

bool CommandInputBlock::eventFilter(QObject* /*receiver*/, QEvent* event) {
    switch (event->type()) {
        case QEvent::ShortcutOverride:
            // Taken, as a control takes a key for itself, so that no shortcut runs either.
            event->accept();
            return true;
        case QEvent::Close:
            // The window system's close button: the window stays open.
            event->ignore();
            return true;
        default:
            return isUserInput(event->type());
    }
}

}  // namespace orvel
