// The features window on Windows: the feature list in a read-only text box, the heading, and the
// Print Features and Close picture buttons; what the user does goes to the window's behaviour.
#pragma once

#include <windows.h>

#include <array>

#include "ui/win32/controls/PictureControl.h"

namespace orvel::win32 {

enum class FeaturesButton { PrintFeatures, Close };
constexpr int kFeaturesButtonCount = 2;

class FeaturesWindowEvents {
public:
    virtual ~FeaturesWindowEvents() = default;
    virtual void buttonMouseUp(FeaturesButton button, int Button, int Shift, float X, float Y) = 0;
    virtual void buttonMouseMove(FeaturesButton button, int Button, int Shift, float X,
                                 float Y) = 0;
    virtual void backgroundMouseMove(int Button, int Shift, float X, float Y) = 0;
    virtual void keyUp(int& KeyCode, int& Shift) = 0;
    // The close button, the system menu or ALT+F4: the window is destroyed once it returns.
    virtual void closeRequest() = 0;
};

class FeaturesWindow {
public:
    static constexpr int kClientWidth = 738;
    static constexpr int kClientHeight = 453;

    // Creates the window and its controls, centred on the screen and not yet shown.
    explicit FeaturesWindow(FeaturesWindowEvents& events);
    ~FeaturesWindow();
    FeaturesWindow(const FeaturesWindow&) = delete;
    FeaturesWindow& operator=(const FeaturesWindow&) = delete;

    HWND window() const { return window_; }
    // Whether the window still exists: its own close button destroys it.
    bool exists() const { return window_ != nullptr; }
    bool showButtonPicture(FeaturesButton button, HBITMAP picture);
    void show();
    void hide();

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void createControls();
    void paint();
    void activate(bool active);

    FeaturesWindowEvents& events_;
    HWND window_ = nullptr;
    HBITMAP background_ = nullptr;
    HBRUSH backgroundBrush_ = nullptr;
    std::array<PictureControl*, kFeaturesButtonCount> buttons_{};
    HWND text_ = nullptr;
    HWND focus_ = nullptr;
};

}  // namespace orvel::win32
