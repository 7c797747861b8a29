// Qt's key events in the terms the windows' key handlers use: a key code (a letter key is the
// code of its uppercase letter, the other keys their Windows virtual-key codes) and a shift
// state (1 SHIFT, 2 CTRL, 4 ALT, added up).
#pragma once

#include <Qt>

#include "ui/core/input/KeyState.h"

class QKeyEvent;

namespace orvel {

// Keypad keys are told apart by Qt::KeypadModifier.
int keyCodeOf(int qtKey, Qt::KeyboardModifiers modifiers);
int keyCodeOf(const QKeyEvent& event);

// SHIFT, CTRL and ALT only; the keypad and other modifiers count for nothing.
int shiftStateOf(Qt::KeyboardModifiers modifiers);
// As Windows reports it, whatever Qt's platform plugin does: the press of SHIFT, CTRL or ALT
// itself includes its own bit, and its release does not.
int shiftStateOf(const QKeyEvent& event);

}  // namespace orvel
