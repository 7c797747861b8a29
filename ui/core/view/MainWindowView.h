// What a toolkit does for the main window beyond what both windows need.
#pragma once

#include <memory>

#include "settings/SettingsModel.h"
#include "ui/core/view/FeaturesWindowView.h"
#include "ui/core/view/WindowView.h"

namespace orvel {

class frmConfigUtility;
class frmFeatures;

// Held while a command holds the user-interface thread: the user's clicks, keys and close
// requests to the program's windows are dropped until it ends, also those that the window
// system delivers only afterwards. Message boxes take their answer as usual.
class InputHold {
public:
    virtual ~InputHold() = default;
};

class MainWindowView : public WindowView {
public:
    // The window whose events the view hands in, from now on; called first of all.
    virtual void attach(frmConfigUtility& window) = 0;

    virtual void createShape(const ShapePlace& place) = 0;
    virtual void createLabel(const LabelPlace& place) = 0;
    // Its list is the setting's choices (settingInfo), no entry selected. The user's choice comes
    // in as frmConfigUtility::selectionBox_Click.
    virtual void createSelectionBox(const BoxPlace& place) = 0;
    // The access letter of its caption selects it; that and a click come in as
    // frmConfigUtility::option_Click.
    virtual void createOptionButton(const OptionPlace& place) = 0;

    // The settings model's state, shown; none of these hands an event back.
    virtual void showSelection(Setting setting, int choice) = 0;
    virtual void showBoxEnabled(Setting setting, bool enabled) = 0;
    // The option button of the model checked, the other cleared; Model::None clears neither.
    virtual void showModel(Model model) = 0;

    virtual void setBannerVisible(bool visible) = 0;
    // Repaints the banner at once; a hidden banner repaints what it uncovered.
    virtual void paintBanner() = 0;

    // Moves the keyboard focus to the box; the list stays closed and the selection unchanged.
    virtual void focusBox(Setting setting) = 0;
    // Closes the list of whichever box has it open; nothing when none has.
    virtual void closeOpenList() = 0;

    // Holds the input of every window of the program for the holder's life.
    virtual std::unique_ptr<InputHold> holdInput() = 0;

    // The features window's view, not yet built; its events go to window.
    virtual std::unique_ptr<FeaturesWindowView> createFeaturesView(frmFeatures& window) = 0;
};

}  // namespace orvel
