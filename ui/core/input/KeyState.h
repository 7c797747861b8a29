// What the windows' mouse and key handlers receive: the mouse button, the shift state and the
// key codes, in the values the handlers compare with.
#pragma once

namespace orvel {

// A released button; for a move, the buttons held, added up.
constexpr int kLeftButton = 1;
constexpr int kRightButton = 2;
constexpr int kMiddleButton = 4;

// The shift state: the modifiers held, added up.
inline constexpr int kShiftMask = 1;
inline constexpr int kCtrlMask = 2;
inline constexpr int kAltMask = 4;

// A key with no code of its own. A letter key's code is the character code of its uppercase
// letter, A = 65 to Z = 90; the function keys F1 to F12 are 112 to 123.
inline constexpr int kNoKeyCode = 0;

// Key preview: a window's handlers see every key-down, character and key-up before the control
// that has the focus. Each has an empty default, so a window implements only those it handles.
class KeyPreviewHandler {
public:
    virtual ~KeyPreviewHandler() = default;
    virtual void Form_KeyDown(int& /*KeyCode*/, int& /*Shift*/) {}
    // Setting KeyAscii to 0 discards the character: the focused control never sees it.
    virtual void Form_KeyPress(int& /*KeyAscii*/) {}
    virtual void Form_KeyUp(int& /*KeyCode*/, int& /*Shift*/) {}
};

}  // namespace orvel
