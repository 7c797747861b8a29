// The features window: the printer's feature list, Print Features and Close.
//
// Closing it by its own close button destroys its controls; the next Show builds them anew from
// the window's definition, centred on the screen, while the window object itself lives on, and
// with it the buttons' hover state.
#pragma once

#include <memory>
#include <string>

#include "ui/core/buttons/HoverButtons.h"
#include "ui/core/view/FeaturesWindowView.h"
#include "ui/core/view/WindowEvents.h"
#include "ui/core/windows/MainWindowOffers.h"

namespace orvel {

class MainWindowView;

class frmFeatures : public WindowEvents {
public:
    // Its view is made by the main window's view; the button pictures lie in programFolder.
    frmFeatures(MainWindowOffers& mainWindow, MainWindowView& mainView,
                const std::string& programFolder);
    ~frmFeatures() override;
    frmFeatures(const frmFeatures&) = delete;
    frmFeatures& operator=(const frmFeatures&) = delete;

    void imgPrintFeatures_MouseUp(int Button, int Shift, float X, float Y);
    void imgClose_MouseUp(int Button, int Shift, float X, float Y);
    // Never cancels: the close always goes ahead.
    void Form_Unload(int& Cancel);

    // Pointer moves: a button lights up, the background puts both back. The arguments are not
    // looked at.
    void imgPrintFeatures_MouseMove(int Button, int Shift, float X, float Y);
    void imgClose_MouseMove(int Button, int Shift, float X, float Y);
    void imgBackground_MouseMove(int Button, int Shift, float X, float Y);

    // Key preview: the CTRL shortcuts, on the letter's release.
    void Form_KeyUp(int& KeyCode, int& Shift) override;

    void pictureButton_MouseUp(ButtonFace face, int Button, int Shift, float X, float Y) override;
    void pictureButton_MouseMove(ButtonFace face, int Button, int Shift, float X, float Y) override;
    void picture_MouseMove(Picture picture, int Button, int Shift, float X, float Y) override;
    // Runs Form_Unload and destroys the controls.
    bool closeRequested() override;

    // Whether the background has put both buttons back since the last highlight; kept while
    // the controls are destroyed and built anew.
    bool blnButtonsNormal() const { return hover_.blnButtonsNormal(); }

    // Builds the controls if the window was closed, then makes it visible and active.
    void Show();
    bool isLoaded() const { return loaded_; }
    FeaturesWindowView& view() const { return *view_; }

private:
    void loadControls();

    MainWindowOffers& mainWindow_;
    std::unique_ptr<FeaturesWindowView> view_;
    HoverButtons hover_;
    bool loaded_ = false;
};

}  // namespace orvel
