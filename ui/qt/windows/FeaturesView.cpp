#include "ui/qt/windows/FeaturesView.h"

#include <QCloseEvent>
#include <QPlainTextEdit>

#include "ui/core/buttons/PictureTexts.h"
#include "ui/qt/buttons/PictureControl.h"
#include "ui/qt/input/KeyPreview.h"
#include "ui/qt/layout/Twips.h"
#include "ui/qt/layout/UiFonts.h"
#include "ui/qt/layout/WindowPlacement.h"
#include "ui/qt/windows/ViewControls.h"

namespace orvel {

FeaturesView::FeaturesView(frmFeatures& window, PictureLoader& pictures)
    : window_(window), pictures_(pictures) {}

FeaturesView::~FeaturesView() = default;

void FeaturesView::createWindow(const WindowFrame& frame) {
    setUpWindow(*this, frame);
}

// Shown at once: the window may have been shown before, and a control made since stays hidden
// unless it is shown itself.
void FeaturesView::createPicture(const PicturePlace& place) {
    if (PictureControl** member = pictureMember(place.picture)) {
        *member = createPictureControl(*this, place, window_);
        (*member)->show();
    }
}

void FeaturesView::createPictureButton(const ButtonPlace& place) {
    if (PictureControl** member = buttonMember(place.face)) {
        *member = createButtonControl(*this, place, window_);
        (*member)->show();
    }
}

void FeaturesView::createTextBox(const TextBoxPlace& place, const std::string& text) {
    txtFeatures = new QPlainTextEdit(this);
    txtFeatures->setObjectName(QLatin1String(place.name));
    // Named after the heading above it, which a screen reader can't read from its picture.
    txtFeatures->setAccessibleName(QLatin1String(picturetexts::kFeaturesTitle));
    txtFeatures->setGeometry(twipsRect(place.place));
    txtFeatures->setFont(fontOf(place.font));
    QPalette palette = txtFeatures->palette();
    palette.setColor(QPalette::Base, colourOf(place.background));
    palette.setColor(QPalette::Text, colourOf(place.text));
    txtFeatures->setPalette(palette);
    txtFeatures->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtFeatures->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtFeatures->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // The list holds CR LF line ends; the text box breaks lines at LF.
    txtFeatures->setPlainText(
        QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    // Read-only, but the caret can be placed and text selected and copied.
    txtFeatures->setReadOnly(true);
    txtFeatures->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    txtFeatures->show();
}

// The title box can take the focus, first in the focus order, as a picture box does.
void FeaturesView::controlsCreated() {
    Picture1->setFocusPolicy(Qt::StrongFocus);
    QWidget::setTabOrder(Picture1, txtFeatures);
    Picture1->setFocus();
    centreOnScreen(*this);
    // The key preview lives as long as the window, whose controls come and go; it joins after
    // the first controls, beneath none of them.
    if (keyPreview_ == nullptr)
        keyPreview_ = new KeyPreview(this, window_);
}

void FeaturesView::destroyControls() {
    for (PictureControl** member :
         {&imgBackground, &Image2, &imgPrintFeatures, &imgClose, &Picture1}) {
        delete *member;
        *member = nullptr;
    }
    delete txtFeatures;
    txtFeatures = nullptr;
}

bool FeaturesView::showButtonPicture(ButtonFace face, const std::string& path) {
    PictureControl** member = buttonMember(face);
    return showPictureFile(member ? *member : nullptr, pictures_, face, path);
}

void FeaturesView::setButtonEnabled(ButtonFace face, bool enabled) {
    if (PictureControl** member = buttonMember(face))
        setControlEnabled(*member, enabled);
}

void FeaturesView::setPictureEnabled(Picture picture, bool enabled) {
    if (PictureControl** member = pictureMember(picture))
        setControlEnabled(*member, enabled);
}

void FeaturesView::paintButton(ButtonFace face) {
    if (PictureControl** member = buttonMember(face))
        repaintControl(*member);
}

void FeaturesView::paintPicture(Picture picture) {
    if (PictureControl** member = pictureMember(picture))
        repaintControl(*member);
}

void FeaturesView::showWindow() {
    showAndActivate(*this);
}

void FeaturesView::hideWindow() {
    hide();
}

// The close always goes ahead.
void FeaturesView::closeEvent(QCloseEvent* event) {
    window_.closeRequested();
    event->accept();
}

PictureControl** FeaturesView::pictureMember(Picture picture) {
    switch (picture) {
        case Picture::Background:
            return &imgBackground;
        case Picture::Heading:
            return &Image2;
        case Picture::Title:
            return &Picture1;
        default:
            return nullptr;
    }
}

PictureControl** FeaturesView::buttonMember(ButtonFace face) {
    switch (face) {
        case ButtonFace::PrintFeatures:
            return &imgPrintFeatures;
        case ButtonFace::Close:
            return &imgClose;
        default:
            return nullptr;
    }
}

}  // namespace orvel
