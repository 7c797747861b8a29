#include "ui/buttons/HoverButtons.h"

#include <utility>

#include "ui/loading/ProgramFolder.h"

namespace orvel {

HoverButtons::HoverButtons(HoverWindow window, PictureLoader& loader, QString programFolder)
    : m_loader(loader), m_programFolder(std::move(programFolder)) {
    for (ButtonFace face : resetOrder(window))
        m_buttons.push_back({face, nullptr});
}

void HoverButtons::attach(ButtonFace face, PictureSetter show) {
    if (Button* button = find(face))
        button->show = std::move(show);
}

void HoverButtons::highlight(ButtonFace face) {
    if (!m_blnButtonsNormal)
        return;
    const Button* button = find(face);
    if (!button || !showPicture(*button, facePictures(face).highlighted))
        return;  // the flag stays, so the next move over the button tries again
    m_blnButtonsNormal = false;
}

// A button whose normal picture cannot be read keeps the picture it shows, and the others are
// still put back; the flag then stays False, so the next move over the background reloads all.
void HoverButtons::reset() {
    if (m_blnButtonsNormal)
        return;
    bool allShown = true;
    for (const Button& button : m_buttons) {
        if (!showPicture(button, facePictures(button.face).normal))
            allShown = false;
    }
    if (allShown)
        m_blnButtonsNormal = true;
}

HoverButtons::Button* HoverButtons::find(ButtonFace face) {
    for (Button& button : m_buttons) {
        if (button.face == face)
            return &button;
    }
    return nullptr;
}

// A file that is damaged or of another size counts as a read like any other and leaves the
// button as it is, as a missing one does.
bool HoverButtons::showPicture(const Button& button, const QString& literal) {
    if (!button.show)
        return false;
    const std::optional<QPixmap> picture = m_loader.load(
        ProgramFolder::filePath(m_programFolder, literal), facePictures(button.face).size);
    if (!picture)
        return false;
    button.show(*picture);
    return true;
}

}  // namespace orvel
