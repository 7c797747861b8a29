// The nineteen permanent settings of the printer: their selection boxes, captions, fixed choice
// lists and defaults. Every other part of the program (the model, the encoder, the windows, the
// keyboard shortcuts, the decoder) reads this one table.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace orvel {

// The settings in display order: rows 1 to 10 are the left column of the main window, rows 11 to
// 19 the right column. The enumerator's value is the row minus one.
enum class Setting : int {
    cboFont,
    cboTearOff,
    cboPageLength,
    cboInterface,
    cboBaudRate,
    cboParity,
    cboFlowCtrl,
    cboStrobeEdge,
    cboCharTable,
    cboLanguage,
    cboLanStd,
    cboSpcComp,
    cboInputBS,
    cboSOP,
    cboPrintDir,
    cboSlaZero,
    cboLineSpc,
    cboALF,
    cboRollPaper,
};

constexpr int kSettingCount = 19;

struct SettingInfo {
    Setting id;
    std::string box;      // name of the selection box, "cboFont"
    std::string caption;  // text drawn beside the box, "Font"
    char underlined;      // the caption's letter drawn underlined, as it appears in the caption
    int row;              // 1 to 19, display and focus order
    std::vector<std::string> choices;  // fixed, unsorted; a choice is its index here
    int defaultChoice;
};

// All nineteen, in display order.
const std::array<SettingInfo, kSettingCount>& settingsTable();
const SettingInfo& settingInfo(Setting id);

constexpr int index(Setting id) {
    return static_cast<int>(id);
}
constexpr Setting settingAt(int index) {
    return static_cast<Setting>(index);
}

// The nineteen selected choice indices, one per setting in display order.
using Selections = std::array<int, kSettingCount>;

}  // namespace orvel
