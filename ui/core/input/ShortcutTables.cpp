#include "ui/core/input/ShortcutTables.h"

#include <algorithm>
#include <cctype>

#include "ui/core/buttons/ButtonFaces.h"
#include "ui/core/input/KeyState.h"

namespace orvel {

namespace {

// The boxes that the interlocks can disable, with the box whose state stands for them: the
// three language boxes are always enabled and disabled together.
std::optional<Setting> enablingBox(Setting box) {
    switch (box) {
        case Setting::cboTearOff:
        case Setting::cboBaudRate:
        case Setting::cboParity:
        case Setting::cboFlowCtrl:
        case Setting::cboLanguage:
            return box;
        case Setting::cboLanStd:
        case Setting::cboSpcComp:
            return Setting::cboLanguage;
        default:
            return std::nullopt;
    }
}

// The key code as a one-character string, compared case-sensitively with an uppercase letter.
bool keyIsLetter(int KeyCode, char letter) {
    return KeyCode == static_cast<unsigned char>(letter);
}

char uppercase(char letter) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
}

// A button's CTRL letter is the one underlined on its face.
char letterOf(ButtonFace face) {
    return uppercase(facePictures(face).underlined);
}

template <typename Row>
const Row* findLetter(const std::vector<Row>& table, int KeyCode) {
    const auto found = std::find_if(table.begin(), table.end(), [KeyCode](const Row& row) {
        return keyIsLetter(KeyCode, row.letter);
    });
    return found == table.end() ? nullptr : &*found;
}

template <typename Command>
std::optional<Command> ctrlCommand(const std::vector<CtrlShortcut<Command>>& table, int KeyCode) {
    if (const auto* row = findLetter(table, KeyCode))
        return row->command;
    return std::nullopt;
}

}  // namespace

const std::vector<AltShortcut>& altShortcuts() {
    static const std::vector<AltShortcut> table = [] {
        std::vector<AltShortcut> rows;
        for (const SettingInfo& info : settingsTable()) {
            rows.push_back({uppercase(info.underlined), info.id, enablingBox(info.id)});
        }
        return rows;
    }();
    return table;
}

const std::vector<CtrlShortcut<MainCommand>>& mainCtrlShortcuts() {
    // The model letters are shown nowhere; the buttons' are underlined on their faces.
    static const std::vector<CtrlShortcut<MainCommand>> table = {
        {letterOf(ButtonFace::ApplySettings), MainCommand::ApplySettings},
        {letterOf(ButtonFace::RestoreDefault), MainCommand::RestoreDefault},
        {letterOf(ButtonFace::ShowFeatures), MainCommand::ShowFeatures},
        {letterOf(ButtonFace::PrintFeatures), MainCommand::PrintFeatures},
        {letterOf(ButtonFace::Exit), MainCommand::Exit},
        {'O', MainCommand::SelectDomestic},
        {'E', MainCommand::SelectExport},
    };
    return table;
}

const std::vector<CtrlShortcut<FeaturesCommand>>& featuresCtrlShortcuts() {
    static const std::vector<CtrlShortcut<FeaturesCommand>> table = {
        {letterOf(ButtonFace::Close), FeaturesCommand::Close},
        {letterOf(ButtonFace::PrintFeatures), FeaturesCommand::PrintFeatures},
    };
    return table;
}

MainShortcut mainShortcut(int KeyCode, int Shift, const std::function<bool(Setting)>& boxEnabled) {
    MainShortcut shortcut;
    if (Shift == kAltMask) {
        const AltShortcut* row = findLetter(altShortcuts(), KeyCode);
        if (row && (!row->enabledWhen || boxEnabled(*row->enabledWhen)))
            shortcut.focus = row->box;
    } else if (Shift == kCtrlMask) {
        shortcut.command = ctrlCommand(mainCtrlShortcuts(), KeyCode);
    }
    return shortcut;
}

std::optional<FeaturesCommand> featuresShortcut(int KeyCode, int Shift) {
    if (Shift != kCtrlMask)
        return std::nullopt;
    return ctrlCommand(featuresCtrlShortcuts(), KeyCode);
}

void markCtrlKeyDown(int& intCtrlKey, int Shift) {
    if (Shift == kCtrlMask)
        intCtrlKey = kCtrlMask;
}

void discardCtrlCharacter(int& intCtrlKey, int& KeyAscii) {
    if (intCtrlKey != kCtrlMask)
        return;
    intCtrlKey = 0;
    KeyAscii = 0;
}

}  // namespace orvel
