// The keyboard shortcuts of both windows and the key-up decision of their handlers: exactly ALT
// with a setting's underlined letter focuses its box (main window), exactly CTRL with a button's
// letter runs its command. A key code matches a letter when the character of that code is the
// uppercase letter itself, so F4 (115, "s") is not S.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "settings/SettingsTable.h"

namespace orvel {

struct AltShortcut {
    char letter;  // uppercase
    Setting box;  // takes the focus
    // The box whose enabled state decides whether the shortcut acts; none when always.
    std::optional<Setting> enabledWhen;
};

// The main window's ALT table, one row per setting in display order, its letters the
// underlined letters of the captions.
const std::vector<AltShortcut>& altShortcuts();

enum class MainCommand {
    ApplySettings,   // imgApplySettings_MouseUp
    RestoreDefault,  // imgDefault_MouseUp
    ShowFeatures,    // imgSFeatures_MouseUp
    PrintFeatures,   // imgPFeatures_MouseUp
    Exit,            // imgExit_MouseUp
    SelectDomestic,  // OptDomestic set to True
    SelectExport,    // OptExport set to True
};

enum class FeaturesCommand {
    Close,          // imgClose_MouseUp
    PrintFeatures,  // imgPrintFeatures_MouseUp
};

template <typename Command>
struct CtrlShortcut {
    char letter;  // uppercase
    Command command;
};

const std::vector<CtrlShortcut<MainCommand>>& mainCtrlShortcuts();
const std::vector<CtrlShortcut<FeaturesCommand>>& featuresCtrlShortcuts();

// What the main window's Form_KeyUp does: focus a box, run a command, or nothing.
struct MainShortcut {
    std::optional<Setting> focus;
    std::optional<MainCommand> command;
};

// boxEnabled tells whether a selection box is enabled; it is asked only for a conditional row.
MainShortcut mainShortcut(int KeyCode, int Shift, const std::function<bool(Setting)>& boxEnabled);
std::optional<FeaturesCommand> featuresShortcut(int KeyCode, int Shift);

// The main window's intCtrlKey: a key-down with exactly CTRL marks it, and the next character
// event clears the mark and is discarded (KeyAscii set to 0).
void markCtrlKeyDown(int& intCtrlKey, int Shift);
void discardCtrlCharacter(int& intCtrlKey, int& KeyAscii);

}  // namespace orvel
