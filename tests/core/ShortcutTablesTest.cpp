#include "ui/core/input/ShortcutTables.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace orvel {
namespace {

// The letters drawn underlined in the caption pictures, row by row.
TEST(ShortcutTables, AltLettersAreTheCaptionsUnderlinedLetters) {
    std::string letters;
    for (const AltShortcut& row : altShortcuts())
        letters += row.letter;
    EXPECT_EQ(letters, "FTPIBYWSHLGCNKRZEUO");
}

constexpr int F1 = 112, F4 = 115;
constexpr int None = 0, Shift = 1, Ctrl = 2, Alt = 4;

struct MainKeyCase {
    const char* what;
    int KeyCode;
    int Shift;
    std::set<Setting> disabled;
    std::optional<Setting> focus;
    std::optional<MainCommand> command;
};

TEST(ShortcutTables, MainWindowKeyUp) {
    const std::set<Setting> serialOff = {Setting::cboBaudRate, Setting::cboParity,
                                         Setting::cboFlowCtrl};
    const std::set<Setting> languageOff = {Setting::cboLanguage, Setting::cboLanStd,
                                           Setting::cboSpcComp};
    const MainKeyCase cases[] = {
        {"ALT+F", 'F', Alt, {}, Setting::cboFont, {}},
        {"ALT+O", 'O', Alt, {}, Setting::cboRollPaper, {}},
        {"ALT+Y", 'Y', Alt, {}, Setting::cboParity, {}},
        {"ALT+W", 'W', Alt, {}, Setting::cboFlowCtrl, {}},
        {"ALT+T enabled", 'T', Alt, {}, Setting::cboTearOff, {}},
        {"ALT+T disabled", 'T', Alt, {Setting::cboTearOff}, {}, {}},
        {"ALT+B disabled", 'B', Alt, serialOff, {}, {}},
        {"ALT+Y disabled", 'Y', Alt, serialOff, {}, {}},
        {"ALT+W disabled", 'W', Alt, serialOff, {}, {}},
        {"ALT+L disabled", 'L', Alt, languageOff, {}, {}},
        {"ALT+G disabled", 'G', Alt, languageOff, {}, {}},
        {"ALT+C disabled", 'C', Alt, languageOff, {}, {}},
        {"ALT+G follows cboLanguage", 'G', Alt, {Setting::cboLanguage}, {}, {}},
        {"ALT+G enabled", 'G', Alt, {}, Setting::cboLanStd, {}},
        {"ALT+C enabled", 'C', Alt, {}, Setting::cboSpcComp, {}},
        {"ALT+F other box off", 'F', Alt, {Setting::cboTearOff}, Setting::cboFont, {}},
        {"ALT+SHIFT+F", 'F', Alt + Shift, {}, {}, {}},
        {"ALT+D is an access key", 'D', Alt, {}, {}, {}},
        {"ALT+X is an access key", 'X', Alt, {}, {}, {}},
        {"ALT+F4", F4, Alt, {}, {}, {}},
        {"lowercase code", 's', Alt, {}, {}, {}},
        {"CTRL+A", 'A', Ctrl, {}, {}, MainCommand::ApplySettings},
        {"CTRL+D", 'D', Ctrl, {}, {}, MainCommand::RestoreDefault},
        {"CTRL+S", 'S', Ctrl, {}, {}, MainCommand::ShowFeatures},
        {"CTRL+P", 'P', Ctrl, {}, {}, MainCommand::PrintFeatures},
        {"CTRL+X", 'X', Ctrl, {}, {}, MainCommand::Exit},
        {"CTRL+O", 'O', Ctrl, {}, {}, MainCommand::SelectDomestic},
        {"CTRL+E", 'E', Ctrl, {}, {}, MainCommand::SelectExport},
        {"CTRL+Z", 'Z', Ctrl, {}, {}, {}},
        {"CTRL+F", 'F', Ctrl, {}, {}, {}},
        {"CTRL+F1", F1, Ctrl, {}, {}, {}},
        {"CTRL+SHIFT+A", 'A', Ctrl + Shift, {}, {}, {}},
        {"CTRL+ALT+A", 'A', Ctrl + Alt, {}, {}, {}},
        {"A alone", 'A', None, {}, {}, {}},
        {"code beyond a byte", 'A' + 256, Ctrl, {}, {}, {}},
    };
    for (const MainKeyCase& c : cases) {
        const MainShortcut shortcut = mainShortcut(
            c.KeyCode, c.Shift, [&](Setting box) { return c.disabled.count(box) == 0; });
        EXPECT_EQ(shortcut.focus, c.focus) << c.what;
        EXPECT_EQ(shortcut.command, c.command) << c.what;
    }
}

TEST(ShortcutTables, FeaturesWindowKeyUp) {
    const struct {
        const char* what;
        int KeyCode;
        int Shift;
        std::optional<FeaturesCommand> command;
    } cases[] = {
        {"CTRL+C", 'C', Ctrl, FeaturesCommand::Close},
        {"CTRL+P", 'P', Ctrl, FeaturesCommand::PrintFeatures},
        {"CTRL+A", 'A', Ctrl, {}},
        {"CTRL+S", 'S', Ctrl, {}},
        {"ALT+C", 'C', Alt, {}},
        {"ALT+P", 'P', Alt, {}},
        {"CTRL+SHIFT+C", 'C', Ctrl + Shift, {}},
        {"CTRL+F1", F1, Ctrl, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(featuresShortcut(c.KeyCode, c.Shift), c.command) << c.what;
}

// A key-down with exactly CTRL marks; the next character clears the mark and is discarded.
TEST(ShortcutTables, CtrlCharacterIsDiscardedOnce) {
    const struct {
        const char* what;
        std::vector<int> keyDownShifts;
        std::vector<int> expectedKeyAscii;  // for three characters typed afterwards
    } cases[] = {
        {"no key-down", {}, {'r', 'r', 'r'}},
        {"CTRL", {Ctrl}, {0, 'r', 'r'}},
        {"CTRL held over two key-downs", {Ctrl, Ctrl}, {0, 'r', 'r'}},
        {"CTRL then SHIFT keeps the mark", {Ctrl, Ctrl + Shift}, {0, 'r', 'r'}},
        {"CTRL+SHIFT", {Ctrl + Shift}, {'r', 'r', 'r'}},
        {"CTRL+ALT", {Ctrl + Alt}, {'r', 'r', 'r'}},
    };
    for (const auto& c : cases) {
        int intCtrlKey = 0;
        for (int shift : c.keyDownShifts)
            markCtrlKeyDown(intCtrlKey, shift);
        for (int expected : c.expectedKeyAscii) {
            int KeyAscii = 'r';
            discardCtrlCharacter(intCtrlKey, KeyAscii);
            EXPECT_EQ(KeyAscii, expected) << c.what;
        }
        EXPECT_EQ(intCtrlKey, 0) << c.what;
    }
}

}  // namespace
}  // namespace orvel
