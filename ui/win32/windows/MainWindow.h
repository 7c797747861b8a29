// The main window on Windows: the nineteen drop-down lists, the model option, the notes over the
// bottom strip, the five picture buttons and the banner, each at its place; what the user does
// to them goes to the window's behaviour as its events.
#pragma once

#include <windows.h>

#include <array>

#include "settings/SettingsModel.h"
#include "ui/win32/controls/PictureControl.h"

namespace orvel::win32 {

enum class MainButton { ApplySettings, RestoreDefault, ShowFeatures, PrintFeatures, Exit };
constexpr int kMainButtonCount = 5;

// What the window hands on, as the design's events.
class MainWindowEvents {
public:
    virtual ~MainWindowEvents() = default;
    virtual void buttonMouseUp(MainButton button, int Button, int Shift, float X, float Y) = 0;
    virtual void buttonMouseMove(MainButton button, int Button, int Shift, float X, float Y) = 0;
    virtual void backgroundMouseMove(int Button, int Shift, float X, float Y) = 0;
    // The user picked an entry of a list.
    virtual void boxClick(Setting setting, int choice) = 0;
    // The user chose a model by its option button (click or access key).
    virtual void optionClick(Model model) = 0;
    virtual void keyDown(int& KeyCode, int& Shift) = 0;
    virtual void keyPress(int& KeyAscii) = 0;
    virtual void keyUp(int& KeyCode, int& Shift) = 0;
    // The close button, the system menu or ALT+F4; a non-zero Cancel keeps the window open.
    virtual void closeRequest(int& Cancel) = 0;
};

class MainWindow {
public:
    static constexpr int kClientWidth = 728;
    static constexpr int kClientHeight = 353;

    // Creates the window and its controls, centred on the screen and not yet shown.
    explicit MainWindow(MainWindowEvents& events);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    HWND window() const { return window_; }
    HWND box(Setting setting) const { return boxes_[index(setting)]; }

    void showSelection(Setting setting, int choice);
    void showEnabled(Setting setting, bool enabled);
    void showModel(Model model);
    // Takes the bitmap; false, changing nothing, for none.
    bool showButtonPicture(MainButton button, HBITMAP picture);
    void setButtonEnabled(MainButton button, bool enabled);
    void setBackgroundEnabled(bool enabled);
    void showBanner(bool visible);
    // Paints now, without waiting for the message loop: the banner, or what it uncovered.
    void paintBanner();
    void paintButton(MainButton button);
    void paintBackground();
    void focusBox(Setting setting);
    void closeOpenList();
    void show();
    void hide();

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void createPictures();
    void createNotes();
    void createButtons();
    void createBoxes();
    void createOptions();
    void createBanner();
    void paint();
    LRESULT colourStatic(HDC target, HWND control);
    LRESULT colourBox(HDC target, HWND control);
    void command(int id, int notification, HWND control);
    void activate(bool active);

    MainWindowEvents& events_;
    HWND window_ = nullptr;
    HBITMAP background_ = nullptr;
    HBRUSH backgroundBrush_ = nullptr;
    HBRUSH whiteBrush_ = nullptr;
    bool backgroundEnabled_ = true;
    std::array<HWND, kSettingCount> boxes_{};
    std::array<HWND, kSettingCount> boxLists_{};
    std::array<PictureControl*, kMainButtonCount> buttons_{};
    std::array<HWND, 3> notes_{};
    HWND optDomestic_ = nullptr;
    HWND optExport_ = nullptr;
    PictureControl* banner_ = nullptr;
    // The control that had the focus when the window was last deactivated.
    HWND focus_ = nullptr;
};

}  // namespace orvel::win32
