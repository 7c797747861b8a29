#include "ui/win32/windows/Win32MainView.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "ui/core/windows/frmConfigUtility.h"
#include "ui/core/windows/frmFeatures.h"
#include "ui/win32/controls/Controls.h"
#include "ui/win32/services/Win32Sleep.h"
#include "ui/win32/windows/ControlIds.h"
#include "ui/win32/windows/Win32FeaturesView.h"

namespace orvel::win32 {

namespace {

// How many entries an open list shows before it scrolls.
constexpr int kVisibleEntries = 8;

COLORREF colourOf(const Rgb& rgb) {
    return RGB(rgb.red, rgb.green, rgb.blue);
}

// The hold lasts as long as this object: input that arrived meanwhile is dropped at its end.
class HeldInput : public InputHold {
public:
    HeldInput() { setInputHeld(true); }
    ~HeldInput() override {
        discardQueuedInput();
        setInputHeld(false);
    }
};

}  // namespace

Win32MainView::Win32MainView() = default;

Win32MainView::~Win32MainView() {
    window_.reset();
    for (const auto& [colour, brush] : brushes_)
        DeleteObject(brush);
}

HBRUSH Win32MainView::brushFor(COLORREF colour) {
    HBRUSH& brush = brushes_[colour];
    if (brush == nullptr)
        brush = CreateSolidBrush(colour);
    return brush;
}

void Win32MainView::attach(frmConfigUtility& window) {
    events_ = &window;
    window_ = std::make_unique<Win32Window>(window, static_cast<WindowHooks&>(*this));
}

HWND Win32MainView::window() const {
    return window_->window();
}

void Win32MainView::createWindow(const WindowFrame& frame) {
    window_->createWindow(frame);
}

void Win32MainView::createPicture(const PicturePlace& place) {
    window_->createPicture(place);
}

void Win32MainView::createPictureButton(const ButtonPlace& place) {
    window_->createPictureButton(place);
}

void Win32MainView::createShape(const ShapePlace& place) {
    // Drawn on the background: it takes no pointer events, the background beneath it does.
    shapes_.push_back(place);
}

void Win32MainView::createLabel(const LabelPlace& place) {
    HWND parent = window_->window();
    HFONT font = fontOf(place.font);
    // As large as its text.
    HDC screen = GetDC(parent);
    HGDIOBJ previous = SelectObject(screen, font);
    SIZE text{};
    GetTextExtentPoint32A(screen, place.text, static_cast<int>(std::strlen(place.text)), &text);
    SelectObject(screen, previous);
    ReleaseDC(parent, screen);
    const RECT rect{pixels(place.left), pixels(place.top), pixels(place.left) + text.cx,
                    pixels(place.top) + text.cy};
    // Told of the pointer, so that it takes the moves over it, as a label does.
    HWND label = createChild(parent, "STATIC", place.text, SS_LEFT | SS_NOPREFIX | SS_NOTIFY, 0,
                             rect, 0, font);
    labels_.push_back({label, place});
    window_->addControl(label);
}

void Win32MainView::createSelectionBox(const BoxPlace& place) {
    const SettingInfo& info = settingInfo(place.setting);
    RECT rect = pixelRect(place.place);
    // A drop-down list's window reaches down over its open list.
    const int closedHeight = rect.bottom - rect.top;
    const int entries = std::min<int>(kVisibleEntries, static_cast<int>(info.choices.size()));
    rect.bottom += entries * closedHeight + 2;
    HWND box =
        createChild(window_->window(), "COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP,
                    0, rect, kFirstBoxId + index(place.setting), fontOf(kControlFont));
    for (const std::string& choice : info.choices)
        SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(choice.c_str()));
    // The closed list is as high as its place: its field is set so that the field and the
    // list's own border fill it, and set again should the list take its border otherwise.
    for (int attempt = 0; attempt < 2; ++attempt) {
        RECT shown{};
        GetWindowRect(box, &shown);
        const int height = shown.bottom - shown.top;
        if (height == closedHeight)
            break;
        const auto field = static_cast<int>(SendMessageA(box, CB_GETITEMHEIGHT, WPARAM(-1), 0));
        SendMessageA(box, CB_SETITEMHEIGHT, WPARAM(-1), field + closedHeight - height);
    }
    COMBOBOXINFO parts{};
    parts.cbSize = sizeof parts;
    GetComboBoxInfo(box, &parts);
    const RECT at{rect.left, rect.top, rect.left, rect.top};
    HWND label = createChild(window_->window(), "STATIC", info.caption, SS_LEFT | SS_NOPREFIX, 0,
                             at, 0, nullptr);
    boxes_[index(place.setting)] = {box, parts.hwndList, label, place};
    window_->addControl(label);
    window_->addControl(box);
}

void Win32MainView::createOptionButton(const OptionPlace& place) {
    const bool first = options_.empty();
    HWND button = createChild(window_->window(), "BUTTON", place.caption,
                              BS_AUTORADIOBUTTON | WS_TABSTOP | (first ? WS_GROUP : 0), 0,
                              pixelRect(place.place), 0, fontOf(kControlFont));
    options_.push_back({button, place});
    window_->addControl(button);
}

void Win32MainView::controlsCreated() {
    // The banner over the boxes it covers; then the boxes and option buttons in focus order.
    std::vector<HWND> focusOrder;
    focusOrder.push_back(window_->pictureWindow(Picture::Banner));
    for (const Box& box : boxes_) {
        focusOrder.push_back(box.label);
        focusOrder.push_back(box.window);
    }
    for (const Option& option : options_)
        focusOrder.push_back(option.window);
    focusOrder.erase(std::remove(focusOrder.begin(), focusOrder.end(), nullptr), focusOrder.end());
    window_->controlsCreated(focusOrder);
}

bool Win32MainView::showButtonPicture(ButtonFace face, const std::string& path) {
    return window_->showButtonPicture(face, path);
}

void Win32MainView::setButtonEnabled(ButtonFace face, bool enabled) {
    window_->setButtonEnabled(face, enabled);
}

void Win32MainView::setPictureEnabled(Picture picture, bool enabled) {
    window_->setPictureEnabled(picture, enabled);
}

void Win32MainView::paintButton(ButtonFace face) {
    window_->paintButton(face);
}

void Win32MainView::paintPicture(Picture picture) {
    window_->paintPicture(picture);
}

void Win32MainView::showWindow() {
    window_->showWindow();
}

void Win32MainView::hideWindow() {
    window_->hideWindow();
}

void Win32MainView::showSelection(Setting setting, int choice) {
    SendMessageA(boxes_[index(setting)].window, CB_SETCURSEL, static_cast<WPARAM>(choice), 0);
}

void Win32MainView::showBoxEnabled(Setting setting, bool enabled) {
    EnableWindow(boxes_[index(setting)].window, enabled);
}

void Win32MainView::showModel(Model model) {
    for (const Option& option : options_) {
        if (model != Model::None)
            SendMessageA(option.window, BM_SETCHECK,
                         option.place.model == model ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

void Win32MainView::setBannerVisible(bool visible) {
    if (HWND banner = window_->pictureWindow(Picture::Banner))
        ShowWindow(banner, visible ? SW_SHOWNA : SW_HIDE);
}

void Win32MainView::paintBanner() {
    window_->paintPicture(Picture::Banner);
}

void Win32MainView::focusBox(Setting setting) {
    SetFocus(boxes_[index(setting)].window);
}

void Win32MainView::closeOpenList() {
    for (const Box& box : boxes_) {
        if (SendMessageA(box.window, CB_GETDROPPEDSTATE, 0, 0))
            SendMessageA(box.window, CB_SHOWDROPDOWN, FALSE, 0);
    }
}

std::unique_ptr<InputHold> Win32MainView::holdInput() {
    return std::make_unique<HeldInput>();
}

std::unique_ptr<FeaturesWindowView> Win32MainView::createFeaturesView(frmFeatures& window) {
    return std::make_unique<Win32FeaturesView>(window);
}

std::optional<LRESULT> Win32MainView::message(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            return colourStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
            return colourBox(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_COMMAND:
            command(HIWORD(wParam), reinterpret_cast<HWND>(lParam));
            return 0;
        default:
            return std::nullopt;
    }
}

void Win32MainView::paintOverBackground(HDC target) {
    for (const ShapePlace& shape : shapes_) {
        const RECT frame = pixelRect(shape.place);
        HBRUSH line = CreateSolidBrush(colourOf(shape.colour));
        FrameRect(target, &frame, line);
        DeleteObject(line);
    }
}

LRESULT Win32MainView::colourStatic(HDC target, HWND control) {
    for (const Option& option : options_) {
        if (option.window != control)
            continue;
        const COLORREF background = colourOf(option.place.background);
        SetBkColor(target, background);
        return reinterpret_cast<LRESULT>(brushFor(background));
    }
    for (const Label& label : labels_) {
        if (label.window != control)
            continue;
        // Transparent: the background's picture behind the text, lined up with the window's.
        const RECT place = window_->placeOf(control);
        SetTextColor(target, colourOf(label.place.colour));
        SetBkMode(target, TRANSPARENT);
        SetBrushOrgEx(target, -place.left, -place.top, nullptr);
        return reinterpret_cast<LRESULT>(window_->backgroundBrush());
    }
    return DefWindowProcA(window_->window(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(target),
                          reinterpret_cast<LPARAM>(control));
}

std::optional<LRESULT> Win32MainView::colourBox(HDC target, HWND control) {
    for (const Box& box : boxes_) {
        if (control != box.window && control != box.list)
            continue;
        const bool enabled = IsWindowEnabled(box.window);
        // A disabled box keeps the system's greyed text.
        if (!enabled)
            SetTextColor(target, GetSysColor(COLOR_GRAYTEXT));
        else if (box.place.text)
            SetTextColor(target, colourOf(*box.place.text));
        else
            SetTextColor(target, GetSysColor(COLOR_WINDOWTEXT));
        if (!box.place.background) {
            SetBkColor(target, GetSysColor(COLOR_WINDOW));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
        }
        SetBkColor(target, colourOf(*box.place.background));
        return reinterpret_cast<LRESULT>(brushFor(colourOf(*box.place.background)));
    }
    return std::nullopt;
}

void Win32MainView::command(int notification, HWND control) {
    if (events_ == nullptr)
        return;
    for (const Box& box : boxes_) {
        if (box.window == control && notification == CBN_SELCHANGE) {
            const auto choice = static_cast<int>(SendMessageA(control, CB_GETCURSEL, 0, 0));
            events_->selectionBox_Click(box.place.setting, choice);
            return;
        }
    }
    for (const Option& option : options_) {
        if (option.window == control && notification == BN_CLICKED) {
            events_->option_Click(option.place.model);
            return;
        }
    }
}

}  // namespace orvel::win32
