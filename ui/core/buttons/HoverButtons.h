// The picture buttons of one window under the pointer: a button lights up when the pointer moves
// onto it, and the background puts every button back to its normal picture. One flag per window,
// blnButtonsNormal, decides; every picture is read from its file in the program folder at the
// moment of the swap, one read per picture shown.
#pragma once

#include <string>

#include "ui/core/buttons/ButtonFaces.h"
#include "ui/core/view/WindowView.h"

namespace orvel {

class HoverButtons {
public:
    // The window object owns one for its whole life; its flag outlives the window's controls.
    HoverButtons(HoverWindow window, WindowView& view, std::string programFolder);

    // A pointer move over a button: lights it up, once the window is armed.
    void highlight(ButtonFace face);
    // A pointer move over the background: every button back to its normal picture.
    void reset();

    // True once the background has put every button back since the last highlight.
    bool blnButtonsNormal() const { return m_blnButtonsNormal; }

private:
    bool showPicture(ButtonFace face, const std::string& literal);

    HoverWindow m_window;
    WindowView& m_view;
    std::string m_programFolder;
    bool m_blnButtonsNormal = false;
};

}  // namespace orvel
