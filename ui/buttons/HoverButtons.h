// The picture buttons of one window under the pointer: a button lights up when the pointer moves
// onto it, and the background puts every button back to its normal picture. One flag per window,
// blnButtonsNormal, decides; every picture is read from its file in the program folder at the
// moment of the swap.
#pragma once

#include <QPixmap>
#include <QPointer>
#include <QString>
#include <functional>
#include <vector>

#include "ui/buttons/ButtonPictures.h"
#include "ui/loading/PictureLoader.h"

namespace orvel {

// Shows a picture on a button's control.
using PictureSetter = std::function<void(const QPixmap&)>;

class HoverButtons {
public:
    // The window object owns one for its whole life; its flag outlives the window's controls.
    HoverButtons(HoverWindow window, PictureLoader& loader, QString programFolder);

    // Where a button shows its pictures. Called for every button of the window when its
    // controls are created, and again whenever they are created anew.
    void attach(ButtonFace face, PictureSetter show);
    // A setter for a control with setPicture(const QPixmap&); does nothing once the control is
    // gone.
    template <typename Control>
    static PictureSetter showOn(Control* control) {
        return [guarded = QPointer<Control>(control)](const QPixmap& picture) {
            if (guarded)
                guarded->setPicture(picture);
        };
    }

    // A pointer move over a button: lights it up, once the window is armed.
    void highlight(ButtonFace face);
    // A pointer move over the background: every button back to its normal picture.
    void reset();

    // True once the background has put every button back since the last highlight.
    bool blnButtonsNormal() const { return m_blnButtonsNormal; }

private:
    struct Button {
        ButtonFace face;
        PictureSetter show;
    };

    Button* find(ButtonFace face);
    bool showPicture(const Button& button, const QString& literal);

    std::vector<Button> m_buttons;  // in reset order
    PictureLoader& m_loader;
    QString m_programFolder;
    bool m_blnButtonsNormal = false;
};

}  // namespace orvel
