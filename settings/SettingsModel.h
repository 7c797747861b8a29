// The state behind the main window's nineteen selection boxes and its model option: the selected
// choice and enabled state of every box, the three interlocks and the two model presets.
//
// Every setter runs its rule at once and to its end before it returns, and rules nest (a preset
// sets the interface, whose rule runs inside the preset). Observers hear of every change
// synchronously, in the order it happens, so that a window mirroring the model never lags behind.
#pragma once

#include <string>
#include <vector>

#include "settings/SettingsTable.h"

namespace orvel {

enum class Model { None, OptDomestic, OptExport };

class SettingsObserver {
public:
    virtual ~SettingsObserver() = default;
    // A box's selection was set (by the program or the user), before its rule runs.
    virtual void selectionSet(Setting setting, int choice) = 0;
    // A rule enabled or disabled a box. Told on every call, also when the state stays the same,
    // so that the order in which a rule acts can be followed.
    virtual void enabledSet(Setting setting, bool enabled) = 0;
    // The model option changed, before its preset runs.
    virtual void modelSet(Model model) = 0;
};

class SettingsModel {
public:
    static constexpr int kNoSelection = -1;

    // The created state: no box has a selection, every box is enabled, no model is selected.
    SettingsModel();

    int selection(Setting setting) const { return selected_[index(setting)]; }
    bool isEnabled(Setting setting) const { return enabled_[index(setting)]; }
    // The text of the selected choice; empty while the box has none.
    std::string choiceText(Setting setting) const;
    Model model() const { return model_; }
    // All nineteen selections; kNoSelection where a box has none yet.
    const Selections& selections() const { return selected_; }

    // The program's setter: works on a disabled box as well. Runs the box's rule, if it has one.
    // A choice outside the box's list is a programming error and throws std::out_of_range.
    void setSelection(Setting setting, int choice);

    // The user's choice: refused, changing nothing, when the box is disabled or the choice is
    // not in its list. Returns whether the choice was taken.
    bool userSelect(Setting setting, int choice);

    // Sets an option button to True: selects that model and clears the other. The preset runs
    // only when the model changes; choosing the model that is already selected does nothing.
    void selectModel(Model model);

    // Steps 1 to 20 of the initialisation: every default, the Domestic model, the interlocks.
    // Hiding the main window's banner, the last step, belongs to the window.
    void IntializeSelectionBoxes();

    void addObserver(SettingsObserver* observer);
    void removeObserver(SettingsObserver* observer);

    // The rules of the three governing boxes and the presets of the two models.
    void cboInterface_Click();
    void cboCharTable_Click();
    void cboRollPaper_Click();
    void OptDomestic_Click();
    void OptExport_Click();

private:
    void selectDefault(Setting setting);
    void setEnabled(Setting setting, bool enabled);
    void runRuleOf(Setting setting);

    Selections selected_;
    std::array<bool, kSettingCount> enabled_;
    Model model_ = Model::None;
    std::vector<SettingsObserver*> observers_;
};

}  // namespace orvel
