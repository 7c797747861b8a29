#include "ui/qt/input/KeyPreview.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QWidget>

#include "ui/qt/input/KeyCodes.h"
#include "ui/qt/input/KeyPreviewFilter.h"

namespace orvel {

KeyPreview::KeyPreview(QWidget* window, KeyPreviewHandler& handler)
    : QObject(window), m_window(window), m_handler(handler) {
    KeyPreviewFilter::join(this);
}

KeyPreview::~KeyPreview() {
    KeyPreviewFilter::leave(this);
}

namespace {

// Tab and Shift+Tab move the focus between the window's controls; such a move is no character,
// whatever text the platform gives the key.
bool movesTheFocus(const QKeyEvent& event) {
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return false;
    return event.key() == Qt::Key_Tab || event.key() == Qt::Key_Backtab;
}

bool carriesCtrlOrAlt(const QKeyEvent& event) {
    return (shiftStateOf(event) & (kCtrlMask | kAltMask)) != 0;
}

}  // namespace

// ShortcutOverride passes untouched: the option buttons' access keys (ALT+D, ALT+X) are
// shortcuts that Qt handles before any KeyPress, and they must keep working.
bool KeyPreview::eventFilter(QObject* receiver, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease)
        return false;
    auto& key = static_cast<QKeyEvent&>(*event);
    switch (firstReceiver(receiver)) {
        case Receiver::None:
            return false;
        case Receiver::OpenList:
            // The list keeps its own keys (moving, choosing by letter, Return, Escape); the
            // window's shortcuts are CTRL and ALT keys.
            if (!carriesCtrlOrAlt(key))
                return false;
            break;
        case Receiver::Window:
            break;
    }
    QPointer<QObject> stillThere(receiver);
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
// deliveries, and the native window's own copy too. Only the first delivery counts.
//
// A selection box's open list is a window of its own that takes the keys while it is open; it
// belongs to the box that has the focus, so the keys it takes first count as the window's too.
KeyPreview::Receiver KeyPreview::firstReceiver(QObject* receiver) const {
    if (!m_window || !receiver->isWidgetType())
        return Receiver::None;
    auto* widget = static_cast<QWidget*>(receiver);
    QWidget* popup = QApplication::activePopupWidget();
    if (popup != nullptr && widget->window() == popup) {
        auto* box = qobject_cast<QComboBox*>(popup->parentWidget());
        if (box == nullptr || box->window() != m_window)
            return Receiver::None;
        QWidget* first = popup->focusWidget() ? popup->focusWidget() : popup;
        return widget == first ? Receiver::OpenList : Receiver::None;
    }
    if (widget->window() != m_window)
        return Receiver::None;
    QWidget* first = QWidget::keyboardGrabber();
    if (!first)
        first = m_window->focusWidget() ? m_window->focusWidget() : m_window.data();
    return widget == first ? Receiver::Window : Receiver::None;
}

// Returns whether the press is kept from the focused control.
bool KeyPreview::keyPressed(QKeyEvent& event) {
    int KeyCode = keyCodeOf(event);
    int Shift = shiftStateOf(event);
    m_handler.Form_KeyDown(KeyCode, Shift);
    if (event.text().isEmpty() || movesTheFocus(event))
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
