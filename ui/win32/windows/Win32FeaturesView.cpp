#include "ui/win32/windows/Win32FeaturesView.h"

#include "ui/core/buttons/PictureTexts.h"
#include "ui/win32/controls/Controls.h"

namespace orvel::win32 {

Win32FeaturesView::Win32FeaturesView(WindowEvents& events) : window_(events, *this) {}

Win32FeaturesView::~Win32FeaturesView() {
    if (textBackground_ != nullptr)
        DeleteObject(textBackground_);
}

void Win32FeaturesView::createWindow(const WindowFrame& frame) {
    window_.createWindow(frame);
}

void Win32FeaturesView::createPicture(const PicturePlace& place) {
    window_.createPicture(place);
    // The title box takes the focus, first in the focus order, as a picture box does.
    if (place.picture == Picture::Title) {
        HWND title = window_.pictureWindow(Picture::Title);
        SetWindowLongPtrA(title, GWL_STYLE, GetWindowLongPtrA(title, GWL_STYLE) | WS_TABSTOP);
    }
}

void Win32FeaturesView::createPictureButton(const ButtonPlace& place) {
    window_.createPictureButton(place);
}

void Win32FeaturesView::createTextBox(const TextBoxPlace& place, const std::string& text) {
    textPlace_ = place;
    if (textBackground_ == nullptr)
        textBackground_ = CreateSolidBrush(
            RGB(place.background.red, place.background.green, place.background.blue));
    // Its lines end in CR LF, where the text box breaks them; it wraps at its width, and the
    // user can place the caret, select and copy but not change the text.
    text_ = createChild(window_.window(), "EDIT", text,
                        ES_MULTILINE | ES_READONLY | ES_LEFT | WS_TABSTOP, WS_EX_CLIENTEDGE,
                        pixelRect(place.place), 0, fontOf(place.font));
    // Named after the heading above it, which is a picture: the system's accessibility names a
    // text box after the label just before it.
    const RECT at{pixels(place.place.left), pixels(place.place.top), pixels(place.place.left),
                  pixels(place.place.top)};
    label_ = createChild(window_.window(), "STATIC", picturetexts::kFeaturesTitle,
                         SS_LEFT | SS_NOPREFIX, 0, at, 0, nullptr);
    window_.addControl(label_);
    window_.addControl(text_);
}

void Win32FeaturesView::controlsCreated() {
    window_.controlsCreated({window_.pictureWindow(Picture::Title), label_, text_});
}

void Win32FeaturesView::destroyControls() {
    window_.destroyControls();
    text_ = nullptr;
    label_ = nullptr;
}

bool Win32FeaturesView::showButtonPicture(ButtonFace face, const std::string& path) {
    return window_.showButtonPicture(face, path);
}

void Win32FeaturesView::setButtonEnabled(ButtonFace face, bool enabled) {
    window_.setButtonEnabled(face, enabled);
}

void Win32FeaturesView::setPictureEnabled(Picture picture, bool enabled) {
    window_.setPictureEnabled(picture, enabled);
}

void Win32FeaturesView::paintButton(ButtonFace face) {
    window_.paintButton(face);
}

void Win32FeaturesView::paintPicture(Picture picture) {
    window_.paintPicture(picture);
}

void Win32FeaturesView::showWindow() {
    window_.showWindow();
}

void Win32FeaturesView::hideWindow() {
    window_.hideWindow();
}

std::optional<LRESULT> Win32FeaturesView::message(UINT message, WPARAM wParam, LPARAM lParam) {
    // A read-only text box asks for the colours of a static control.
    if ((message == WM_CTLCOLORSTATIC || message == WM_CTLCOLOREDIT) &&
        reinterpret_cast<HWND>(lParam) == text_ && text_ != nullptr) {
        HDC target = reinterpret_cast<HDC>(wParam);
        SetTextColor(target, RGB(textPlace_.text.red, textPlace_.text.green, textPlace_.text.blue));
        SetBkColor(target, RGB(textPlace_.background.red, textPlace_.background.green,
                               textPlace_.background.blue));
        return reinterpret_cast<LRESULT>(textBackground_);
    }
    return std::nullopt;
}

}  // namespace orvel::win32
