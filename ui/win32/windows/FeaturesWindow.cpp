#include "ui/win32/windows/FeaturesWindow.h"

#include "ui/win32/controls/Controls.h"
#include "ui/win32/windows/ControlIds.h"
#include "ui/windows/FeaturesText.h"

namespace orvel::win32 {

namespace {

const char kCaption[] = "Varnet Orvel Printer Configuration Utility";
const char kHeading[] = "Varnet Orvel FEATURES";

struct PicturePlace {
    const char* name;
    const char* text;  // the accessible name
    const char* picture;
    PictureControl::Sizing sizing;
    Twips place;
};

const PicturePlace kHeadingPlace = {"Image2",
                                    kHeading,
                                    "features_heading",
                                    PictureControl::Sizing::TakesPictureSize,
                                    {2760, 480, 3690, 480}};
// The title box shows the left half of its picture, which holds the lettering.
const PicturePlace kTitlePlace = {"Picture1",
                                  kHeading,
                                  "features_title",
                                  PictureControl::Sizing::ClipsPicture,
                                  {120, 0, 2535, 375}};

struct ButtonPlace {
    FeaturesButton button;
    const char* name;
    const char* caption;
    const char* picture;
    Twips place;
};

const ButtonPlace kButtons[] = {
    {FeaturesButton::PrintFeatures,
     "imgPrintFeatures",
     "Print Features",
     "Print_Features1",
     {9000, 5400, 1920, 390}},
    {FeaturesButton::Close, "imgClose", "Close", "Close_Button1", {9000, 5880, 1890, 360}},
};

const Twips kTextBox = {120, 1320, 8655, 4875};
const COLORREF kTextColour = RGB(0, 0, 64);

int idOf(const char* name) {
    return controlId(kFeaturesControls, name);
}

}  // namespace

FeaturesWindow::FeaturesWindow(FeaturesWindowEvents& events) : events_(events) {
    static const bool registered = [] {
        registerWindowClass(kFeaturesWindowClass, &FeaturesWindow::procedure);
        PictureControl::registerClass();
        return true;
    }();
    (void)registered;
    background_ = builtInPicture("features_background");
    backgroundBrush_ = CreatePatternBrush(background_);
    CreateWindowExA(0, kFeaturesWindowClass, kCaption, fixedWindowStyle(), CW_USEDEFAULT,
                    CW_USEDEFAULT, kClientWidth, kClientHeight, nullptr, nullptr,
                    GetModuleHandleA(nullptr), this);
    createControls();
    placeCentred(window_, kClientWidth, kClientHeight);
}

FeaturesWindow::~FeaturesWindow() {
    if (window_ != nullptr)
        DestroyWindow(window_);
    DeleteObject(backgroundBrush_);
    DeleteObject(background_);
}

void FeaturesWindow::createControls() {
    // Topmost first: the title box (first in the focus order) and the text box over the
    // pictures.
    const RECT title = pixelRect(kTitlePlace.place);
    PictureControl* titleBox =
        PictureControl::create(window_, title, kTitlePlace.sizing, 0, kTitlePlace.text);
    SetWindowLongPtrA(titleBox->window(), GWLP_ID, idOf(kTitlePlace.name));
    titleBox->setFill(backgroundBrush_, {-title.left, -title.top});
    titleBox->setPicture(builtInPicture(kTitlePlace.picture));

    // The list's lines end in CR LF, as the text box breaks them; it wraps at its width.
    text_ = createChild(window_, "EDIT", featuresText(),
                        ES_MULTILINE | ES_READONLY | ES_LEFT | WS_TABSTOP, WS_EX_CLIENTEDGE,
                        pixelRect(kTextBox), idOf("txtFeatures"), verdana(kFeaturesPointSize));

    for (const ButtonPlace& place : kButtons) {
        PictureControl* button =
            PictureControl::create(window_, pixelRect(place.place),
                                   PictureControl::Sizing::TakesPictureSize, 0, place.caption);
        SetWindowLongPtrA(button->window(), GWLP_ID, idOf(place.name));
        button->setPicture(builtInPicture(place.picture));
        const FeaturesButton which = place.button;
        button->setMouseUp([this, which](int Button, int Shift, float X, float Y) {
            events_.buttonMouseUp(which, Button, Shift, X, Y);
        });
        button->setMouseMove([this, which](int Button, int Shift, float X, float Y) {
            events_.buttonMouseMove(which, Button, Shift, X, Y);
        });
        buttons_[static_cast<int>(place.button)] = button;
    }
    PictureControl* heading = PictureControl::create(window_, pixelRect(kHeadingPlace.place),
                                                     kHeadingPlace.sizing, 0, kHeadingPlace.text);
    SetWindowLongPtrA(heading->window(), GWLP_ID, idOf(kHeadingPlace.name));
    heading->setPicture(builtInPicture(kHeadingPlace.picture));
    // The title box is first in the focus order, as a picture box that takes the focus.
    focus_ = titleBox->window();
}

LRESULT CALLBACK FeaturesWindow::procedure(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<FeaturesWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<FeaturesWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self == nullptr)
        return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        return DefWindowProcA(window, message, wParam, lParam);
    }
    return self->handle(message, wParam, lParam);
}

LRESULT FeaturesWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            paint();
            return 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT: {
            // The read-only text box: dark blue on white.
            HDC target = reinterpret_cast<HDC>(wParam);
            SetTextColor(target, kTextColour);
            SetBkColor(target, RGB(255, 255, 255));
            return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
        }
        case WM_MOUSEMOVE:
            events_.backgroundMouseMove(0, shiftState(), 0, 0);
            return 0;
        case WM_ACTIVATE:
            activate(LOWORD(wParam) != WA_INACTIVE);
            return 0;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == SC_KEYMENU && lParam != ' ')
                return 0;
            break;
        case WM_CLOSE:
            events_.closeRequest();
            DestroyWindow(window_);
            return 0;
        default:
            break;
    }
    return DefWindowProcA(window_, message, wParam, lParam);
}

void FeaturesWindow::paint() {
    PAINTSTRUCT paint{};
    HDC target = BeginPaint(window_, &paint);
    HDC source = CreateCompatibleDC(target);
    HGDIOBJ previous = SelectObject(source, background_);
    // The background is taller than the client area; the window cuts the excess off.
    BitBlt(target, 0, 0, kClientWidth, kClientHeight, source, 0, 0, SRCCOPY);
    SelectObject(source, previous);
    DeleteDC(source);
    EndPaint(window_, &paint);
}

void FeaturesWindow::activate(bool active) {
    if (!active) {
        HWND focused = GetFocus();
        if (focused != nullptr && IsChild(window_, focused))
            focus_ = focused;
        return;
    }
    if (focus_ != nullptr && IsWindow(focus_))
        SetFocus(focus_);
}

bool FeaturesWindow::showButtonPicture(FeaturesButton button, HBITMAP picture) {
    if (picture == nullptr || window_ == nullptr)
        return false;
    buttons_[static_cast<int>(button)]->setPicture(picture);
    return true;
}

void FeaturesWindow::show() {
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
    UpdateWindow(window_);
}

void FeaturesWindow::hide() {
    ShowWindow(window_, SW_HIDE);
}

}  // namespace orvel::win32
