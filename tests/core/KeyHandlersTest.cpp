// The windows' key handlers on the window core: ALT with a caption's letter focuses its box only
// while the box is enabled, CTRL runs the commands and chooses the model, the character of a
// CTRL combination is discarded, and an open list is closed before anything else happens.
#include <optional>

#include "tests/core/CoreWindowFixture.h"

namespace orvel::test {
namespace {

constexpr int F1 = 112, F4 = 115;
constexpr int None = 0, Shift = 1, Ctrl = 2, Alt = 4;

// Choices that make the interlocks disable boxes: the parallel interface the serial settings,
// a character table other than the Indian ones the language boxes, roll paper Tearoff.
struct Interlock {
    Setting box;
    int choice;
};
const Interlock kParallel = {Setting::cboInterface, 0};
const Interlock kSerial = {Setting::cboInterface, 1};
const Interlock kNoIndianTable = {Setting::cboCharTable, 0};
const Interlock kIndianTable = {Setting::cboCharTable, 2};
const Interlock kRollPaper = {Setting::cboRollPaper, 0};

struct AltCase {
    const char* keys;
    int KeyCode;
    int Shift;
    std::optional<Interlock> first;
    std::optional<Setting> focus;  // none: the focus stays where it is
};

class CoreKeyHandlers : public CoreWindowTest {
protected:
    void keyUp(int KeyCode, int Shift) { window.Form_KeyUp(KeyCode, Shift); }
};

TEST_F(CoreKeyHandlers, AltLetterFocusesItsBoxWhileItIsEnabled) {
    const AltCase cases[] = {
        {"ALT+F", 'F', Alt, std::nullopt, Setting::cboFont},
        {"ALT+P", 'P', Alt, std::nullopt, Setting::cboPageLength},
        {"ALT+O", 'O', Alt, std::nullopt, Setting::cboRollPaper},
        {"ALT+E", 'E', Alt, std::nullopt, Setting::cboLineSpc},
        {"ALT+T", 'T', Alt, std::nullopt, Setting::cboTearOff},
        {"ALT+T on roll paper", 'T', Alt, kRollPaper, std::nullopt},
        {"ALT+B serial", 'B', Alt, kSerial, Setting::cboBaudRate},
        {"ALT+B parallel", 'B', Alt, kParallel, std::nullopt},
        {"ALT+Y parallel", 'Y', Alt, kParallel, std::nullopt},
        {"ALT+W parallel", 'W', Alt, kParallel, std::nullopt},
        {"ALT+L Indian table", 'L', Alt, kIndianTable, Setting::cboLanguage},
        {"ALT+G Indian table", 'G', Alt, kIndianTable, Setting::cboLanStd},
        {"ALT+C Indian table", 'C', Alt, kIndianTable, Setting::cboSpcComp},
        {"ALT+L other table", 'L', Alt, kNoIndianTable, std::nullopt},
        {"ALT+G other table", 'G', Alt, kNoIndianTable, std::nullopt},
        {"ALT+C other table", 'C', Alt, kNoIndianTable, std::nullopt},
        {"ALT+SHIFT+F", 'F', Alt + Shift, std::nullopt, std::nullopt},
        {"ALT+CTRL+F", 'F', Alt + Ctrl, std::nullopt, std::nullopt},
        {"ALT+F4 is no S", F4, Alt, std::nullopt, std::nullopt},
        {"ALT+D is the option's access key", 'D', Alt, std::nullopt, std::nullopt},
        {"ALT+X is the option's access key", 'X', Alt, std::nullopt, std::nullopt},
    };
    for (const AltCase& c : cases) {
        SCOPED_TRACE(c.keys);
        window.IntializeSelectionBoxes();
        if (c.first)
            pick(c.first->box, c.first->choice);
        view.focus = Setting::cboInputBS;
        log.clear();
        keyUp(c.KeyCode, c.Shift);
        EXPECT_EQ(view.focus, c.focus ? *c.focus : Setting::cboInputBS);
        EXPECT_TRUE(messageBox.shown.empty());
    }
}

struct CtrlCase {
    const char* keys;
    int KeyCode;
    int Shift;
    std::optional<std::string> asks;  // the first line of the question asked
    bool showsFeatures;
    std::optional<Model> model;
};

TEST_F(CoreKeyHandlers, CtrlLetterRunsTheButtonsCommandOrChoosesTheModel) {
    const std::string printerReady = "message: Please check whether the printer is :";
    const std::string quit = "message: " + kQuitText;
    const CtrlCase cases[] = {
        {"CTRL+A", 'A', Ctrl, printerReady, false, std::nullopt},
        {"CTRL+D", 'D', Ctrl, printerReady, false, std::nullopt},
        {"CTRL+P", 'P', Ctrl, printerReady, false, std::nullopt},
        {"CTRL+X", 'X', Ctrl, quit, false, std::nullopt},
        {"CTRL+S", 'S', Ctrl, std::nullopt, true, std::nullopt},
        {"CTRL+E", 'E', Ctrl, std::nullopt, false, Model::OptExport},
        {"CTRL+O", 'O', Ctrl, std::nullopt, false, Model::OptDomestic},
        {"CTRL+Z", 'Z', Ctrl, std::nullopt, false, std::nullopt},
        {"CTRL+F1 is no P", F1, Ctrl, std::nullopt, false, std::nullopt},
        {"CTRL+SHIFT+A", 'A', Ctrl + Shift, std::nullopt, false, std::nullopt},
        {"CTRL+ALT+A", 'A', Ctrl + Alt, std::nullopt, false, std::nullopt},
        {"A alone", 'A', None, std::nullopt, false, std::nullopt},
    };
    for (const CtrlCase& c : cases) {
        SCOPED_TRACE(c.keys);
        // The model opposite to the one the key chooses, so that a change shows.
        window.option_Click(c.model == Model::OptExport ? Model::OptDomestic : Model::OptExport);
        const Model before = window.settings().model();
        log.clear();
        messageBox.answers = {MessageAnswer::Cancel};
        if (c.asks == quit)
            messageBox.answers = {MessageAnswer::No};
        keyUp(c.KeyCode, c.Shift);
        if (c.asks) {
            ASSERT_FALSE(log.empty());
            EXPECT_EQ(log.front(), *c.asks);
        }
        EXPECT_EQ(messageBox.shown.size(), c.asks ? 1u : 0u);
        messageBox.shown.clear();
        EXPECT_EQ(window.features() != nullptr && featuresView().visible, c.showsFeatures);
        EXPECT_EQ(window.settings().model(), c.model.value_or(before));
        EXPECT_EQ(view.model, window.settings().model());
        EXPECT_EQ(program.endings, 0);
        EXPECT_TRUE(spooler.calls.empty());
        if (window.features() != nullptr)
            window.features()->imgClose_MouseUp(kLeftButton, 0, 0, 0);
    }
}

// The shortcut looks at neither the button's enabled state nor its picture: it is the same
// handler as the mouse's, confirmation included.
TEST_F(CoreKeyHandlers, CtrlAIsTheWholeApplySettingsCommand) {
    pick(Setting::cboFont, 4);
    keyUp('A', Ctrl);
    EXPECT_EQ(messageBox.shown.at(0).text, kPrinterReadyText);
    EXPECT_EQ(spooler.written.size(), 1u);
    EXPECT_EQ(static_cast<int>(spooler.written[0][3]), window.fncGetFlagSettings().values[0]);
    EXPECT_EQ(view.selections[index(Setting::cboFont)], 4);
}

TEST_F(CoreKeyHandlers, AnOpenListIsClosedBeforeTheFocusMovesOrACommandRuns) {
    view.listOpen = true;
    keyUp('F', Alt);
    EXPECT_EQ(log, (CallLog{"main: list closed", "main: focus on cboFont"}));

    view.listOpen = true;
    log.clear();
    messageBox.answers = {MessageAnswer::Cancel};
    keyUp('A', Ctrl);
    EXPECT_EQ(log,
              (CallLog{"main: list closed", "message: Please check whether the printer is :"}));

    // Keys that are no shortcut are the list's own.
    view.listOpen = true;
    for (int KeyCode : {'Z', 'T'}) {
        keyUp(KeyCode, Ctrl);
        keyUp(KeyCode, None);
    }
    pick(Setting::cboRollPaper, 0);
    keyUp('T', Alt);
    EXPECT_TRUE(view.listOpen);
}

// intCtrlKey: set by any key-down with exactly CTRL, the CTRL key's own included, cleared by the
// next character, which is discarded, however much later it comes.
TEST_F(CoreKeyHandlers, TheCharacterOfACtrlCombinationIsDiscarded) {
    struct Step {
        const char* event;
        int code;  // key code or character
        int Shift;
        int passed;  // the character after the handler; -1 for a key event
        int intCtrlKey;
    };
    const Step steps[] = {
        {"press", 'a', None, 'a', 0}, {"down", 17, Ctrl, -1, 2},
        {"down", 'Z', Ctrl, -1, 2},   {"up", 'Z', Ctrl, -1, 2},
        {"up", 17, None, -1, 2},      {"press", 26, None, 0, 0},
        {"press", 'b', None, 'b', 0}, {"down", 'B', Ctrl + Shift, -1, 0},
        {"press", 2, None, 2, 0},     {"down", 'B', Alt, -1, 0},
        {"down", 'C', Ctrl, -1, 2},   {"down", 'C', Ctrl, -1, 2},
        {"press", 3, None, 0, 0},
    };
    int number = 0;
    for (const Step& step : steps) {
        SCOPED_TRACE(++number);
        int code = step.code;
        int Shift = step.Shift;
        const std::string event = step.event;
        if (event == "down")
            window.Form_KeyDown(code, Shift);
        else if (event == "up")
            window.Form_KeyUp(code, Shift);
        else
            window.Form_KeyPress(code);
        if (step.passed >= 0) {
            EXPECT_EQ(code, step.passed);
        }
        EXPECT_EQ(window.intCtrlKey, step.intCtrlKey);
    }
}

TEST_F(CoreKeyHandlers, TheFeaturesWindowHasOnlyItsTwoCtrlShortcuts) {
    frmFeatures& features = showFeatures();
    const struct {
        const char* keys;
        int KeyCode;
        int Shift;
        bool prints;
        bool closes;
    } cases[] = {
        {"CTRL+P", 'P', Ctrl, true, false},  {"CTRL+C", 'C', Ctrl, false, true},
        {"CTRL+A", 'A', Ctrl, false, false}, {"CTRL+S", 'S', Ctrl, false, false},
        {"ALT+P", 'P', Alt, false, false},   {"ALT+C", 'C', Alt, false, false},
        {"CTRL+F1", F1, Ctrl, false, false}, {"CTRL+SHIFT+C", 'C', Ctrl + Shift, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keys);
        showFeatures();
        messageBox.shown.clear();
        spooler.written.clear();
        int KeyCode = c.KeyCode;
        int Shift = c.Shift;
        features.Form_KeyUp(KeyCode, Shift);
        EXPECT_EQ(!spooler.written.empty(), c.prints);
        EXPECT_EQ(messageBox.shown.size(), c.prints ? 1u : 0u);
        EXPECT_EQ(featuresView().visible, !c.closes);
        EXPECT_EQ(view.visible, c.closes);
    }
}

}  // namespace
}  // namespace orvel::test
