#include "ui/qt/windows/ViewControls.h"

#include <QFrame>

#include "ui/qt/layout/Twips.h"
#include "ui/qt/layout/WindowPlacement.h"
#include "ui/qt/loading/BuiltInPictures.h"

namespace orvel {

namespace {

PictureControl::Sizing sizingOf(PictureSizing sizing) {
    return sizing == PictureSizing::ClipsPicture ? PictureControl::Sizing::ClipsPicture
                                                 : PictureControl::Sizing::TakesPictureSize;
}

PictureControl* createControl(QWidget& window, const char* name, const TwipsRect& place,
                              const QString& builtIn, PictureSizing sizing) {
    auto* picture = new PictureControl(&window, sizingOf(sizing));
    picture->setObjectName(QLatin1String(name));
    picture->setGeometry(twipsRect(place));
    picture->setPicture(builtInPicture(builtIn));
    return picture;
}

}  // namespace

void setUpWindow(QWidget& window, const WindowFrame& frame) {
    window.setObjectName(QLatin1String(frame.name));
    makeFixedSingleWindow(window, pixels(frame.clientWidth), pixels(frame.clientHeight));
    window.setWindowTitle(QLatin1String(frame.caption));
    window.setWindowIcon(printerIcon());
}

PictureControl* createPictureControl(QWidget& window, const PicturePlace& place,
                                     WindowEvents& events) {
    PictureControl* picture =
        createControl(window, place.name, place.place, QLatin1String(place.builtIn), place.sizing);
    if (place.sunkenBorder > 0) {
        picture->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        picture->setLineWidth(place.sunkenBorder);
    }
    if (place.picture == Picture::Background) {
        const Picture role = place.picture;
        picture->setMouseMove([&events, role](int Button, int Shift, float X, float Y) {
            events.picture_MouseMove(role, Button, Shift, X, Y);
        });
    }
    return picture;
}

PictureControl* createButtonControl(QWidget& window, const ButtonPlace& place,
                                    WindowEvents& events) {
    PictureControl* button = createControl(window, place.name, place.place,
                                           QString::fromStdString(builtInFace(place.face)),
                                           PictureSizing::TakesPictureSize);
    const ButtonFace face = place.face;
    button->setMouseUp([&events, face](int Button, int Shift, float X, float Y) {
        events.pictureButton_MouseUp(face, Button, Shift, X, Y);
    });
    button->setMouseMove([&events, face](int Button, int Shift, float X, float Y) {
        events.pictureButton_MouseMove(face, Button, Shift, X, Y);
    });
    return button;
}

bool showPictureFile(PictureControl* button, PictureLoader& pictures, ButtonFace face,
                     const std::string& path) {
    if (button == nullptr)
        return false;
    const PictureSize size = facePictures(face).size;
    const std::optional<QPixmap> picture =
        pictures.load(QString::fromStdString(path), QSize(size.width, size.height));
    if (!picture)
        return false;
    button->setPicture(*picture);
    return true;
}

void setControlEnabled(QWidget* control, bool enabled) {
    if (control != nullptr)
        control->setEnabled(enabled);
}

void repaintControl(QWidget* control) {
    if (control != nullptr)
        control->repaint();
}

void showAndActivate(QWidget& window) {
    window.show();
    window.raise();
    window.activateWindow();
}

}  // namespace orvel
