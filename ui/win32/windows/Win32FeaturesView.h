// The features window's view on Windows: the pictures, the two picture buttons and the
// read-only text box with the feature list.
#pragma once

#include <windows.h>

#include <memory>

#include "ui/core/view/FeaturesWindowView.h"
#include "ui/win32/windows/Win32Window.h"

namespace orvel::win32 {

class Win32FeaturesView : public FeaturesWindowView, private WindowHooks {
public:
    explicit Win32FeaturesView(WindowEvents& events);
    ~Win32FeaturesView() override;

    void createWindow(const WindowFrame& frame) override;
    void createPicture(const PicturePlace& place) override;
    void createPictureButton(const ButtonPlace& place) override;
    void createTextBox(const TextBoxPlace& place, const std::string& text) override;
    void controlsCreated() override;
    void destroyControls() override;

    bool showButtonPicture(ButtonFace face, const std::string& path) override;
    void setButtonEnabled(ButtonFace face, bool enabled) override;
    void setPictureEnabled(Picture picture, bool enabled) override;
    void paintButton(ButtonFace face) override;
    void paintPicture(Picture picture) override;
    void showWindow() override;
    void hideWindow() override;

private:
    std::optional<LRESULT> message(UINT message, WPARAM wParam, LPARAM lParam) override;

    Win32Window window_;
    HWND text_ = nullptr;
    HWND label_ = nullptr;
    TextBoxPlace textPlace_{};
    HBRUSH textBackground_ = nullptr;
};

}  // namespace orvel::win32
