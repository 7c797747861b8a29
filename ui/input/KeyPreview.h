// Key preview for one top-level window: its key handlers see every key-down, character and
// key-up before the focused control does, and the CTRL and ALT keys given to a selection box's
// open list. Qt offers no such hook on the window itself (a filter there sees only what a child
// ignored), so the filter sits on the application.
#pragma once

#include <QObject>
#include <QPointer>

class QKeyEvent;
class QWidget;

namespace orvel {

// The window's handlers, with the key code and shift state of KeyCodes.h. Each has an empty
// default, so a window implements only those it handles.
class KeyPreviewHandler {
public:
    virtual ~KeyPreviewHandler() = default;
    virtual void Form_KeyDown(int& KeyCode, int& Shift);
    // Setting KeyAscii to 0 discards the character: the focused control never sees the press.
    virtual void Form_KeyPress(int& KeyAscii);
    virtual void Form_KeyUp(int& KeyCode, int& Shift);
};

class KeyPreview : public QObject {
    Q_OBJECT
public:
    // Sees the application's key events for as long as it lives, through KeyPreviewFilter.
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
