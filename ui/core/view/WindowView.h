// What a toolkit does for either window: build the controls from the window's definition, show
// the pictures and states the window decides on, show and hide the window. The window holds
// every decision; the view only carries them out and hands in the user's events (WindowEvents).
#pragma once

#include <string>

#include "ui/core/buttons/ButtonFaces.h"
#include "ui/core/layout/Places.h"

namespace orvel {

class WindowView {
public:
    virtual ~WindowView() = default;

    // Building: the window first, then its controls one by one, lowest in the stacking order
    // first, then controlsCreated. Every control is enabled and visible unless told otherwise.
    virtual void createWindow(const WindowFrame& frame) = 0;
    // The picture built into the window, unscaled from the control's top-left corner.
    virtual void createPicture(const PicturePlace& place) = 0;
    // Shows its face's normal picture built into the window (builtInFace).
    virtual void createPictureButton(const ButtonPlace& place) = 0;
    // The controls are all there: the focus order follows their creation, the first control in
    // it takes the focus, and the window is centred on the screen.
    virtual void controlsCreated() = 0;

    // Reads the picture file at path and makes it the button's picture: one call is one read of
    // the file, nothing is kept between calls. False, and the button keeps its picture, when the
    // file is missing, is not a whole picture, or is not of the face's size.
    virtual bool showButtonPicture(ButtonFace face, const std::string& path) = 0;

    // A disabled control gets no pointer events; its picture does not change.
    virtual void setButtonEnabled(ButtonFace face, bool enabled) = 0;
    virtual void setPictureEnabled(Picture picture, bool enabled) = 0;
    // Repaints the control at once, also while a command holds the thread.
    virtual void paintButton(ButtonFace face) = 0;
    virtual void paintPicture(Picture picture) = 0;

    // Makes the window visible, not modal, and active.
    virtual void showWindow() = 0;
    // Makes it invisible, keeping every control's state.
    virtual void hideWindow() = 0;
};

}  // namespace orvel
