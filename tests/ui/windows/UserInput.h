// The user's pointer and keys as the platform delivers them to the real windows.
#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <QWidget>
#include <QWindow>

namespace orvel::test {

// A pointer move to a point of the window: Qt delivers it to the topmost widget there.
inline void movePointer(QWidget& window, QPoint point) {
    QTest::mouseMove(window.windowHandle(), point);
}

// A release of a button that was pressed elsewhere, at a point of the window.
inline void releasePointer(QWidget& window, Qt::MouseButton button, QPoint point) {
    QTest::mousePress(window.windowHandle(), button, Qt::NoModifier, point);
    QTest::mouseRelease(window.windowHandle(), button, Qt::NoModifier, point);
}

// A point of a control, in its window's coordinates.
inline QPoint pointOf(const QWidget& control, QPoint within) {
    return control.mapTo(control.window(), within);
}
inline QPoint centreOf(const QWidget& control) {
    return pointOf(control, control.rect().center());
}

// The text that X11 puts in a key event: a letter's control character with CTRL, the letter
// otherwise (uppercase with SHIFT); a tab for Tab, none for Shift+Tab. Other keys have none here.
inline QString x11Text(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    if (key == Qt::Key_Tab)
        return QStringLiteral("\t");
    if (key < Qt::Key_A || key > Qt::Key_Z)
        return {};
    const int offset = key - Qt::Key_A;
    if (modifiers.testFlag(Qt::ControlModifier))
        return QString(QChar(offset + 1));
    const char letter =
        static_cast<char>((modifiers.testFlag(Qt::ShiftModifier) ? 'A' : 'a') + offset);
    return QString(QLatin1Char(letter));
}

// Where the keyboard goes: an open list of the window while there is one, else the focus widget
// of the window that is shown, else the window.
inline QWidget* keyboardTarget(QWidget& window) {
    if (QWidget* popup = QApplication::activePopupWidget()) {
        if (popup->parentWidget() && popup->parentWidget()->window() == &window)
            return popup->focusWidget() ? popup->focusWidget() : popup;
    }
    return window.focusWidget() ? window.focusWidget() : &window;
}

// Presses a key with the modifiers held and releases it before them, as a user does: the
// modifier keys' own presses and releases come around it.
inline void pressKey(QWidget& window, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    const QString text = x11Text(key, modifiers);
    QTest::sendKeyEvent(QTest::Press, keyboardTarget(window), key, text, modifiers);
    QTest::sendKeyEvent(QTest::Release, keyboardTarget(window), key, text, modifiers);
}

}  // namespace orvel::test
