// The main window's view on Windows: drop-down lists, option buttons with access keys,
// transparent labels over the bottom strip, the frame around the model option, the banner.
#pragma once

#include <windows.h>

#include <array>
#include <map>
#include <vector>

#include "ui/core/view/MainWindowView.h"
#include "ui/win32/windows/Win32Window.h"

namespace orvel::win32 {

class Win32MainView : public MainWindowView, private WindowHooks {
public:
    Win32MainView();
    ~Win32MainView() override;

    void attach(frmConfigUtility& window) override;
    void createWindow(const WindowFrame& frame) override;
    void createPicture(const PicturePlace& place) override;
    void createPictureButton(const ButtonPlace& place) override;
    void createShape(const ShapePlace& place) override;
    void createLabel(const LabelPlace& place) override;
    void createSelectionBox(const BoxPlace& place) override;
    void createOptionButton(const OptionPlace& place) override;
    void controlsCreated() override;

    bool showButtonPicture(ButtonFace face, const std::string& path) override;
    void setButtonEnabled(ButtonFace face, bool enabled) override;
    void setPictureEnabled(Picture picture, bool enabled) override;
    void paintButton(ButtonFace face) override;
    void paintPicture(Picture picture) override;
    void showWindow() override;
    void hideWindow() override;

    void showSelection(Setting setting, int choice) override;
    void showBoxEnabled(Setting setting, bool enabled) override;
    void showModel(Model model) override;
    void setBannerVisible(bool visible) override;
    void paintBanner() override;
    void focusBox(Setting setting) override;
    void closeOpenList() override;
    std::unique_ptr<InputHold> holdInput() override;
    std::unique_ptr<FeaturesWindowView> createFeaturesView(frmFeatures& window) override;

    HWND window() const;

private:
    struct Box {
        HWND window = nullptr;
        HWND list = nullptr;  // the open list's own window
        // Its caption as a label of no size just before it: the system's accessibility names a
        // list after the label before it, and the caption beside it is only a picture.
        HWND label = nullptr;
        BoxPlace place{};
    };
    struct Label {
        HWND window;
        LabelPlace place;
    };
    struct Option {
        HWND window;
        OptionPlace place;
    };

    std::optional<LRESULT> message(UINT message, WPARAM wParam, LPARAM lParam) override;
    void paintOverBackground(HDC target) override;
    LRESULT colourStatic(HDC target, HWND control);
    std::optional<LRESULT> colourBox(HDC target, HWND control);
    void command(int notification, HWND control);

    frmConfigUtility* events_ = nullptr;
    std::unique_ptr<Win32Window> window_;
    std::array<Box, kSettingCount> boxes_{};
    std::vector<Label> labels_;
    std::vector<Option> options_;
    std::vector<ShapePlace> shapes_;
    // One brush of each fixed colour, made when first needed.
    HBRUSH brushFor(COLORREF colour);
    std::map<COLORREF, HBRUSH> brushes_;
};

}  // namespace orvel::win32
