#include "ui/ShortcutTables.h"

#include <algorithm>
#include <cctype>

#include "ui/KeyCodes.h"

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
            const char letter =
                static_cast<char>(std::toupper(static_cast<unsigned char>(info.underlined)));
            rows.push_back({letter, info.id, enablingBox(info.id)});
        }
        return rows;
    }();
    return table;
}

const std::vector<CtrlShortcut<MainCommand>>& mainCtrlShortcuts() {
    static const std::vector<CtrlShortcut<MainCommand>> table = {
        {'A', MainCommand::ApplySettings}, {'D', MainCommand::RestoreDefault},
        {'S', MainCommand::ShowFeatures},  {'P', MainCommand::PrintFeatures},
        {'X', MainCommand::Exit},          {'O', MainCommand::SelectDomestic},
        {'E', MainCommand::SelectExport},
    };
    return table;
}

const std::vector<CtrlShortcut<FeaturesCommand>>& featuresCtrlShortcuts() {
    static const std::vector<CtrlShortcut<FeaturesCommand>> table = {
        {'C', FeaturesCommand::Close},
        {'P', FeaturesCommand::PrintFeatures},
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
