#include "ui/win32/windows/MainWindow.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "ui/win32/controls/Controls.h"
#include "ui/win32/windows/ControlIds.h"

namespace orvel::win32 {

namespace {

const char kCaption[] = " Varnet Orvel  Printer Configuration Utility";

struct PicturePlace {
    const char* name;
    const char* picture;
    Twips place;
};

// The caption columns beside the boxes and the title box over the background's strip.
const PicturePlace kCaptionColumns[] = {
    {"Image1", "main_captions_left", {120, 660, 1770, 3960}},
    {"Image2", "main_captions_right", {4200, 1080, 1875, 3570}},
};
const PicturePlace kTitle = {"Picture1", "main_title", {120, 120, 3015, 255}};
const PicturePlace kBanner = {"imgWarning", "banner", {2520, 2160, 5250, 570}};

struct ButtonPlace {
    MainButton button;
    const char* name;
    const char* caption;  // the button's accessible name
    const char* picture;
    Twips place;
};

const ButtonPlace kButtons[] = {
    {MainButton::ApplySettings,
     "imgApplySettings",
     "Apply Settings",
     "Apply_Settings1",
     {8820, 2520, 1920, 390}},
    {MainButton::RestoreDefault,
     "imgDefault",
     "Restore Default",
     "Restore_Default1",
     {8820, 2970, 1920, 390}},
    {MainButton::ShowFeatures,
     "imgSFeatures",
     "Show Features",
     "Show_Features1",
     {8820, 3420, 1920, 390}},
    {MainButton::PrintFeatures,
     "imgPFeatures",
     "Print Features",
     "Print_Features1",
     {8820, 3870, 1920, 390}},
    {MainButton::Exit, "imgExit", "Exit", "Exit_Button1", {8820, 4320, 1920, 390}},
};

struct NotePlace {
    const char* name;
    const char* text;
    bool bold;
    int left;
    int top;
};

const NotePlace kNotes[] = {
    {"Label1", "Note:", true, 120, 4800},
    {"Label3", "Use CTRL+Underlined letter to select command buttons.", false, 840, 4800},
    {"Label2", "Use ALT+Underlined letter to select printer permanent settings.", false, 840, 5040},
};

const Twips kShape1 = {4200, 555, 4215, 375};
const COLORREF kShape1Colour = RGB(192, 192, 255);

struct OptionPlace {
    const char* name;
    const char* caption;
    Model model;
    Twips place;
};

const OptionPlace kOptions[] = {
    {"OptDomestic", "&Domestic Model", Model::OptDomestic, {4320, 630, 1695, 255}},
    {"OptExport", "E&xport Model", Model::OptExport, {6480, 630, 1815, 255}},
};

enum class TextColour { Dark, System };
enum class Background { System, White };

struct BoxPlace {
    Setting setting;
    int left;
    int top;
    TextColour text;
    Background background;
};

// In focus order.
const BoxPlace kBoxes[] = {
    {Setting::cboFont, 1605, 675, TextColour::Dark, Background::White},
    {Setting::cboTearOff, 1605, 1080, TextColour::Dark, Background::System},
    {Setting::cboPageLength, 1605, 1485, TextColour::Dark, Background::System},
    {Setting::cboInterface, 1605, 1875, TextColour::Dark, Background::System},
    {Setting::cboBaudRate, 1605, 2280, TextColour::Dark, Background::System},
    {Setting::cboParity, 1605, 2685, TextColour::Dark, Background::System},
    {Setting::cboFlowCtrl, 1605, 3090, TextColour::System, Background::System},
    {Setting::cboStrobeEdge, 1605, 3480, TextColour::Dark, Background::System},
    {Setting::cboCharTable, 1605, 3885, TextColour::Dark, Background::System},
    {Setting::cboLanguage, 1605, 4290, TextColour::Dark, Background::System},
    {Setting::cboLanStd, 6030, 1080, TextColour::Dark, Background::System},
    {Setting::cboSpcComp, 6030, 1485, TextColour::Dark, Background::System},
    {Setting::cboInputBS, 6030, 1875, TextColour::Dark, Background::System},
    {Setting::cboSOP, 6030, 2280, TextColour::Dark, Background::System},
    {Setting::cboPrintDir, 6030, 2685, TextColour::Dark, Background::System},
    {Setting::cboSlaZero, 6030, 3090, TextColour::Dark, Background::System},
    {Setting::cboLineSpc, 6030, 3480, TextColour::Dark, Background::System},
    {Setting::cboALF, 6030, 3885, TextColour::Dark, Background::System},
    {Setting::cboRollPaper, 6030, 4310, TextColour::Dark, Background::White},
};
constexpr int kBoxWidth = 2415;
constexpr int kBoxHeight = 315;
const COLORREF kBoxTextColour = RGB(0, 0, 64);
// How many entries an open list shows before it scrolls.
constexpr int kVisibleEntries = 8;

int idOf(const char* name) {
    return controlId(kMainControls, name);
}

}  // namespace

MainWindow::MainWindow(MainWindowEvents& events) : events_(events) {
    static const bool registered = [] {
        registerWindowClass(kMainWindowClass, &MainWindow::procedure);
        PictureControl::registerClass();
        return true;
    }();
    (void)registered;
    background_ = builtInPicture("main_background");
    backgroundBrush_ = CreatePatternBrush(background_);
    whiteBrush_ = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    CreateWindowExA(0, kMainWindowClass, kCaption, fixedWindowStyle(), CW_USEDEFAULT, CW_USEDEFAULT,
                    kClientWidth, kClientHeight, nullptr, nullptr, GetModuleHandleA(nullptr), this);
    // Created in focus order, topmost first: the boxes and option buttons over the pictures.
    createBoxes();
    createOptions();
    createBanner();
    createButtons();
    createPictures();
    createNotes();
    // The banner above the boxes it covers.
    SetWindowPos(banner_->window(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    placeCentred(window_, kClientWidth, kClientHeight);
    focus_ = box(Setting::cboFont);
}

MainWindow::~MainWindow() {
    if (window_ != nullptr)
        DestroyWindow(window_);
    DeleteObject(backgroundBrush_);
    DeleteObject(background_);
}

void MainWindow::createPictures() {
    for (const PicturePlace& place : kCaptionColumns) {
        PictureControl* picture =
            PictureControl::create(window_, pixelRect(place.place),
                                   PictureControl::Sizing::TakesPictureSize, 0, place.name);
        SetWindowLongPtrA(picture->window(), GWLP_ID, idOf(place.name));
        picture->setPicture(builtInPicture(place.picture));
    }
    const RECT title = pixelRect(kTitle.place);
    PictureControl* picture = PictureControl::create(
        window_, title, PictureControl::Sizing::ClipsPicture, 0, kTitle.name);
    SetWindowLongPtrA(picture->window(), GWLP_ID, idOf(kTitle.name));
    // Below the title picture the strip's shading goes on.
    picture->setFill(backgroundBrush_, {-title.left, -title.top});
    picture->setPicture(builtInPicture(kTitle.picture));
}

void MainWindow::createNotes() {
    HDC screen = GetDC(window_);
    for (size_t i = 0; i < std::size(kNotes); ++i) {
        const NotePlace& note = kNotes[i];
        HFONT font = verdana(kControlPointSize, note.bold);
        // As large as its text.
        HGDIOBJ previous = SelectObject(screen, font);
        SIZE text{};
        GetTextExtentPoint32A(screen, note.text, static_cast<int>(std::strlen(note.text)), &text);
        SelectObject(screen, previous);
        const RECT place{pixels(note.left), pixels(note.top), pixels(note.left) + text.cx,
                         pixels(note.top) + text.cy};
        // Notified of the pointer, so that it takes the moves over it as a label does.
        notes_[i] = createChild(window_, "STATIC", note.text, SS_LEFT | SS_NOPREFIX | SS_NOTIFY, 0,
                                place, idOf(note.name), font);
    }
    ReleaseDC(window_, screen);
}

void MainWindow::createButtons() {
    for (const ButtonPlace& place : kButtons) {
        PictureControl* button =
            PictureControl::create(window_, pixelRect(place.place),
                                   PictureControl::Sizing::TakesPictureSize, 0, place.caption);
        SetWindowLongPtrA(button->window(), GWLP_ID, idOf(place.name));
        button->setPicture(builtInPicture(place.picture));
        const MainButton which = place.button;
        button->setMouseUp([this, which](int Button, int Shift, float X, float Y) {
            events_.buttonMouseUp(which, Button, Shift, X, Y);
        });
        button->setMouseMove([this, which](int Button, int Shift, float X, float Y) {
            events_.buttonMouseMove(which, Button, Shift, X, Y);
        });
        buttons_[static_cast<int>(place.button)] = button;
    }
}

void MainWindow::createBoxes() {
    for (const BoxPlace& place : kBoxes) {
        const SettingInfo& info = settingInfo(place.setting);
        RECT rect = pixelRect({place.left, place.top, kBoxWidth, kBoxHeight});
        // A drop-down list's window reaches down over its open list.
        const int entries = std::min<int>(kVisibleEntries, static_cast<int>(info.choices.size()));
        rect.bottom += entries * pixels(kBoxHeight) + 2;
        HWND box =
            createChild(window_, "COMBOBOX", "",
                        CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP |
                            (place.setting == Setting::cboFont ? WS_GROUP : 0),
                        0, rect, kFirstBox + index(place.setting), verdana(kControlPointSize));
        for (const std::string& choice : info.choices)
            SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(choice.c_str()));
        // The closed list is as high as its place: the field inside the list's own border.
        const LRESULT field = SendMessageA(box, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
        RECT shown{};
        GetWindowRect(box, &shown);
        const int border = (shown.bottom - shown.top) - static_cast<int>(field);
        SendMessageA(box, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), pixels(kBoxHeight) - border);
        COMBOBOXINFO parts{};
        parts.cbSize = sizeof parts;
        GetComboBoxInfo(box, &parts);
        boxes_[index(place.setting)] = box;
        boxLists_[index(place.setting)] = parts.hwndList;
    }
}

void MainWindow::createOptions() {
    bool first = true;
    for (const OptionPlace& option : kOptions) {
        HWND button =
            createChild(window_, "BUTTON", option.caption,
                        BS_AUTORADIOBUTTON | WS_TABSTOP | (first ? WS_GROUP : 0), 0,
                        pixelRect(option.place), idOf(option.name), verdana(kControlPointSize));
        (option.model == Model::OptDomestic ? optDomestic_ : optExport_) = button;
        first = false;
    }
}

void MainWindow::createBanner() {
    // A 2-pixel sunken border around its picture; hidden until a command shows it.
    banner_ = PictureControl::create(window_, pixelRect(kBanner.place),
                                     PictureControl::Sizing::ClipsPicture, WS_EX_CLIENTEDGE,
                                     kBanner.name);
    SetWindowLongPtrA(banner_->window(), GWLP_ID, idOf(kBanner.name));
    banner_->setPicture(builtInPicture(kBanner.picture));
    ShowWindow(banner_->window(), SW_HIDE);
}

LRESULT CALLBACK MainWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self == nullptr)
        return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        return DefWindowProcA(window, message, wParam, lParam);
    }
    return self->handle(message, wParam, lParam);
}

LRESULT MainWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            paint();
            return 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            return colourStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
            return colourBox(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_MOUSEMOVE:
            // The client area not covered by a control is the background picture.
            if (backgroundEnabled_)
                events_.backgroundMouseMove(0, shiftState(), 0, 0);
            return 0;
        case WM_COMMAND:
            command(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
            return 0;
        case WM_ACTIVATE:
            activate(LOWORD(wParam) != WA_INACTIVE);
            return 0;
        case WM_SYSCOMMAND:
            // The window has no menu: ALT alone would put it into menu mode, where the next letter
            // went to the system menu instead of the shortcuts, and ALT with a letter would beep.
            // ALT+Space still opens the system menu.
            if ((wParam & 0xFFF0) == SC_KEYMENU && lParam != ' ')
                return 0;
            break;
        case WM_CLOSE: {
            int Cancel = 0;
            events_.closeRequest(Cancel);
            return 0;
        }
        default:
            break;
    }
    return DefWindowProcA(window_, message, wParam, lParam);
}

void MainWindow::paint() {
    PAINTSTRUCT paint{};
    HDC target = BeginPaint(window_, &paint);
    HDC source = CreateCompatibleDC(target);
    HGDIOBJ previous = SelectObject(source, background_);
    // The background is wider than the client area; the window cuts the excess off.
    BitBlt(target, 0, 0, kClientWidth, kClientHeight, source, 0, 0, SRCCOPY);
    SelectObject(source, previous);
    DeleteDC(source);
    // Shape1: a frame around the model option.
    const RECT frame = pixelRect(kShape1);
    HBRUSH line = CreateSolidBrush(kShape1Colour);
    FrameRect(target, &frame, line);
    DeleteObject(line);
    EndPaint(window_, &paint);
}

LRESULT MainWindow::colourStatic(HDC target, HWND control) {
    if (control == optDomestic_ || control == optExport_) {
        SetBkColor(target, RGB(255, 255, 255));
        return reinterpret_cast<LRESULT>(whiteBrush_);
    }
    // The notes: black text, and the background's picture behind it.
    RECT place{};
    GetWindowRect(control, &place);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&place), 2);
    SetTextColor(target, RGB(0, 0, 0));
    SetBkMode(target, TRANSPARENT);
    SetBrushOrgEx(target, -place.left, -place.top, nullptr);
    return reinterpret_cast<LRESULT>(backgroundBrush_);
}

LRESULT MainWindow::colourBox(HDC target, HWND control) {
    for (const BoxPlace& place : kBoxes) {
        const int i = index(place.setting);
        if (control != boxes_[i] && control != boxLists_[i])
            continue;
        // A disabled box keeps the system's greyed text.
        if (place.text == TextColour::Dark && IsWindowEnabled(boxes_[i]))
            SetTextColor(target, kBoxTextColour);
        else
            SetTextColor(target, GetSysColor(IsWindowEnabled(boxes_[i]) ? COLOR_WINDOWTEXT
                                                                        : COLOR_GRAYTEXT));
        const bool white = place.background == Background::White;
        SetBkColor(target, white ? RGB(255, 255, 255) : GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(white ? whiteBrush_ : GetSysColorBrush(COLOR_WINDOW));
    }
    return DefWindowProcA(window_, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(target),
                          reinterpret_cast<LPARAM>(control));
}

void MainWindow::command(int id, int notification, HWND control) {
    if (id >= kFirstBox && id < kFirstBox + kSettingCount && notification == CBN_SELCHANGE) {
        const auto choice = static_cast<int>(SendMessageA(control, CB_GETCURSEL, 0, 0));
        events_.boxClick(settingAt(id - kFirstBox), choice);
        return;
    }
    if (notification == BN_CLICKED && (control == optDomestic_ || control == optExport_))
        events_.optionClick(control == optDomestic_ ? Model::OptDomestic : Model::OptExport);
}

void MainWindow::activate(bool active) {
    // A message box gives the focus back to the window, not to the control that had it.
    if (!active) {
        HWND focused = GetFocus();
        if (focused != nullptr && IsChild(window_, focused))
            focus_ = focused;
        return;
    }
    if (focus_ != nullptr && IsWindow(focus_) && IsWindowEnabled(focus_))
        SetFocus(focus_);
}

void MainWindow::showSelection(Setting setting, int choice) {
    SendMessageA(box(setting), CB_SETCURSEL, static_cast<WPARAM>(choice), 0);
}

void MainWindow::showEnabled(Setting setting, bool enabled) {
    EnableWindow(box(setting), enabled);
}

void MainWindow::showModel(Model model) {
    SendMessageA(optDomestic_, BM_SETCHECK, model == Model::OptDomestic ? BST_CHECKED : 0, 0);
    SendMessageA(optExport_, BM_SETCHECK, model == Model::OptExport ? BST_CHECKED : 0, 0);
}

bool MainWindow::showButtonPicture(MainButton button, HBITMAP picture) {
    if (picture == nullptr)
        return false;
    buttons_[static_cast<int>(button)]->setPicture(picture);
    return true;
}

void MainWindow::setButtonEnabled(MainButton button, bool enabled) {
    EnableWindow(buttons_[static_cast<int>(button)]->window(), enabled);
}

void MainWindow::setBackgroundEnabled(bool enabled) {
    backgroundEnabled_ = enabled;
}

void MainWindow::showBanner(bool visible) {
    ShowWindow(banner_->window(), visible ? SW_SHOW : SW_HIDE);
}

void MainWindow::paintBanner() {
    if (IsWindowVisible(banner_->window())) {
        RedrawWindow(banner_->window(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        return;
    }
    // A hidden banner paints nothing: paint what it uncovered.
    RECT place{};
    GetWindowRect(banner_->window(), &place);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&place), 2);
    RedrawWindow(window_, &place, nullptr,
                 RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_ERASE);
}

void MainWindow::paintButton(MainButton button) {
    RedrawWindow(buttons_[static_cast<int>(button)]->window(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_UPDATENOW);
}

void MainWindow::paintBackground() {
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void MainWindow::focusBox(Setting setting) {
    SetFocus(box(setting));
}

void MainWindow::closeOpenList() {
    for (HWND list : boxes_) {
        if (SendMessageA(list, CB_GETDROPPEDSTATE, 0, 0))
            SendMessageA(list, CB_SHOWDROPDOWN, FALSE, 0);
    }
}

void MainWindow::show() {
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
    UpdateWindow(window_);
}

void MainWindow::hide() {
    ShowWindow(window_, SW_HIDE);
}

}  // namespace orvel::win32
