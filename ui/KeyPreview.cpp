#include "ui/KeyPreview.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include "ui/KeyCodes.h"

namespace orvel {

void KeyPreviewHandler::Form_KeyDown(int&, int&) {}
void KeyPreviewHandler::Form_KeyPress(int&) {}
void KeyPreviewHandler::Form_KeyUp(int&, int&) {}

KeyPreview::KeyPreview(QWidget* window, KeyPreviewHandler& handler)
    : QObject(window), m_window(window), m_handler(handler) {
    qApp->installEventFilter(this);
}

KeyPreview::~KeyPreview() {
    qApp->removeEventFilter(this);
}

// ShortcutOverride passes untouched: the option buttons' access keys (ALT+D, ALT+X) are
// shortcuts that Qt handles before any KeyPress, and they must keep working.
bool KeyPreview::eventFilter(QObject* receiver, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease)
        return false;
    if (!isFirstReceiverInWindow(receiver))
        return false;
    QPointer<QObject> stillThere(receiver);
    auto& key = static_cast<QKeyEvent&>(*event);
    bool swallow = false;
    if (type == QEvent::KeyPress)
        swallow = keyPressed(key);
    else
        keyReleased(key);
    // A handler that destroyed the receiver (a window rebuilt by a shortcut) ends the event.
    return swallow || !stillThere;
}

// Qt gives a key event first to the window's focus widget (the window itself when none has the
// focus) and then, while ignored, to each parent in turn; the filter sees every one of these
// deliveries, and the native window's own copy too. Only the first delivery counts. A drop-down
// list's popup is a window of its own and does not count either.
bool KeyPreview::isFirstReceiverInWindow(QObject* receiver) const {
    if (!m_window || !receiver->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(receiver);
    if (widget->window() != m_window)
        return false;
    QWidget* first = QWidget::keyboardGrabber();
    if (!first)
        first = m_window->focusWidget() ? m_window->focusWidget() : m_window.data();
    return widget == first;
}

// Returns whether the press is kept from the focused control.
bool KeyPreview::keyPressed(QKeyEvent& event) {
    int KeyCode = keyCodeOf(event);
    int Shift = shiftStateOf(event);
    m_handler.Form_KeyDown(KeyCode, Shift);
    if (event.text().isEmpty())
        return false;
    // An ALT combination types nothing into a box on Windows, and a box's type-ahead would
    // silently change a setting: no character event, and the press goes no further.
    if (event.modifiers().testFlag(Qt::AltModifier))
        return true;
    int KeyAscii = event.text().front().unicode();
    m_handler.Form_KeyPress(KeyAscii);
    return KeyAscii == 0;
}

// A held key repeats its press; the shortcut runs once, on the real release.
void KeyPreview::keyReleased(QKeyEvent& event) {
    if (event.isAutoRepeat())
        return;
    int KeyCode = keyCodeOf(event);
    int Shift = shiftStateOf(event);
    m_handler.Form_KeyUp(KeyCode, Shift);
}

}  // namespace orvel
