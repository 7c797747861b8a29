// What a view hands its window: the user's pointer and keys over the controls, in the terms the
// window's handlers use, and the window system's request to close the window. Every event runs
// to its end on the one user-interface thread before the view delivers the next.
#pragma once

#include "ui/core/buttons/ButtonFaces.h"
#include "ui/core/input/KeyState.h"
#include "ui/core/layout/Places.h"

namespace orvel {

class WindowEvents : public KeyPreviewHandler {
public:
    // Button (1 left, 2 right, 4 middle; for a move the buttons held, added up), shift state
    // (1 SHIFT, 2 CTRL, 4 ALT, added up), the pointer's position in twips within the control.
    // A disabled control reports none.
    virtual void pictureButton_MouseUp(ButtonFace face, int Button, int Shift, float X,
                                       float Y) = 0;
    virtual void pictureButton_MouseMove(ButtonFace face, int Button, int Shift, float X,
                                         float Y) = 0;
    // Moves over the pictures that are no buttons; only the background's are looked at.
    virtual void picture_MouseMove(Picture picture, int Button, int Shift, float X, float Y) = 0;

    // The user closes the window by its close button, its system menu or ALT+F4. False keeps the
    // window open; true lets the view destroy the window's controls.
    virtual bool closeRequested() = 0;
};

}  // namespace orvel
