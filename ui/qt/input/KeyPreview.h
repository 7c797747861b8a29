// Key preview for one top-level window: its key handlers see every key-down, character and
// key-up before the focused control does, and the CTRL and ALT keys given to a selection box's
// open list. Qt offers no such hook on the window itself (a filter there sees only what a child
// ignored), so the filter sits on the application.
#pragma once

#include <QObject>
#include <QPointer>

#include "ui/core/input/KeyState.h"

class QKeyEvent;
class QWidget;

namespace orvel {

class KeyPreview : public QObject {
    Q_OBJECT
public:
    // Hands the window's keys to the handler, with the key code and shift state of KeyCodes.h,
    // for as long as it lives, through KeyPreviewFilter.
    KeyPreview(QWidget* window, KeyPreviewHandler& handler);
    ~KeyPreview() override;

    // Whether the event is kept from the control it was meant for.
    bool eventFilter(QObject* receiver, QEvent* event) override;

private:
    enum class Receiver {
        None,      // not a key of this window, or not its first delivery
        Window,    // the window's focused control, or the window itself
        OpenList,  // the open list of one of the window's selection boxes
    };
    Receiver firstReceiver(QObject* receiver) const;
    bool keyPressed(QKeyEvent& event);
    void keyReleased(QKeyEvent& event);

    QPointer<QWidget> m_window;
    KeyPreviewHandler& m_handler;
};

}  // namespace orvel
