// What the two Qt windows build and do alike: the top-level window from its frame, the picture
// controls and picture buttons from their places, wired to the window's events, and the button
// pictures read from their files.
#pragma once

#include <QWidget>
#include <string>

#include "ui/core/view/WindowEvents.h"
#include "ui/qt/buttons/PictureControl.h"
#include "ui/qt/loading/PictureLoader.h"

namespace orvel {

// Fixed size, its caption and the printer icon.
void setUpWindow(QWidget& window, const WindowFrame& frame);

// Its built-in picture at its place; the background reports the pointer's moves.
PictureControl* createPictureControl(QWidget& window, const PicturePlace& place,
                                     WindowEvents& events);
// Its face's built-in normal picture at its place; reports releases and moves.
PictureControl* createButtonControl(QWidget& window, const ButtonPlace& place,
                                    WindowEvents& events);

// One read of the file, shown on the button when it is a picture of the face's size. False when
// it is not, or when the button is gone.
bool showPictureFile(PictureControl* button, PictureLoader& pictures, ButtonFace face,
                     const std::string& path);

// Nothing for a control that is gone.
void setControlEnabled(QWidget* control, bool enabled);
void repaintControl(QWidget* control);

// Visible, raised and active.
void showAndActivate(QWidget& window);

}  // namespace orvel
