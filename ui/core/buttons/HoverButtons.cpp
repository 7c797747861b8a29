#include "ui/core/buttons/HoverButtons.h"

#include <utility>

namespace orvel {

HoverButtons::HoverButtons(HoverWindow window, WindowView& view, std::string programFolder)
    : m_window(window), m_view(view), m_programFolder(std::move(programFolder)) {}

void HoverButtons::highlight(ButtonFace face) {
    if (!m_blnButtonsNormal)
        return;
    if (!showPicture(face, facePictures(face).highlighted))
        return;  // the flag stays, so the next move over the button tries again
    m_blnButtonsNormal = false;
}

// A button whose normal picture cannot be read keeps the picture it shows, and the others are
// still put back; the flag then stays False, so the next move over the background reloads all.
void HoverButtons::reset() {
    if (m_blnButtonsNormal)
        return;
    bool allShown = true;
    for (ButtonFace face : resetOrder(m_window)) {
        if (!showPicture(face, facePictures(face).normal))
            allShown = false;
    }
    if (allShown)
        m_blnButtonsNormal = true;
}

// A file that is damaged or of another size counts as a read like any other and leaves the
// button as it is, as a missing one does.
bool HoverButtons::showPicture(ButtonFace face, const std::string& literal) {
    return m_view.showButtonPicture(face, pictureFilePath(m_programFolder, literal));
}

}  // namespace orvel
