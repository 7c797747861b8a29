// A real main window under thousands of random keys, pointer moves, releases and box changes,
// with the message boxes answered at random. After every step the windows must agree with a
// small model of what the user should see.
#include <QKeySequence>
#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "settings/mdlFlagSettings.h"
#include "tests/ui/windows/UserInput.h"
#include "tests/ui/windows/WindowFixture.h"
#include "ui/core/input/ShortcutTables.h"
#include "ui/qt/input/KeyCodes.h"

namespace orvel::test {
namespace {

constexpr unsigned kSeed = 20261210;
constexpr int kSteps = 5000;

using S = Setting;

enum class Shown { Main, Features };

// What the user should see, kept alongside the real windows.
struct Expected {
    Shown shown = Shown::Main;
    bool mainArmed = false;
    bool featuresArmed = false;
    int reads = 0;
    int endings = 0;
    std::vector<std::string> messages;
};

class RandomInput : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        defaults = selections();
        messageBox.onShow = [this](const ShownMessage& message) {
            const bool affirm = coin();
            lastAnswer = message.buttons == MessageButtons::YesNo
                             ? (affirm ? MessageAnswer::Yes : MessageAnswer::No)
                             : (affirm ? MessageAnswer::OK : MessageAnswer::Cancel);
            messageBox.answers.push_back(lastAnswer);
        };
        // Start from a spot that takes no pointer moves, wherever the last test left it.
        moveTo(centreOf(*window->Picture1));
    }

    bool coin() { return std::uniform_int_distribution<int>(0, 1)(random) == 1; }
    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }

    QWidget& shownWindow() const {
        return expected.shown == Shown::Features ? static_cast<QWidget&>(*window->features())
                                                 : *window;
    }

    // The commands of both windows, as the model expects them to run.
    void expectReadyConfirmation() { expected.messages.push_back(kPrinterReadyText); }
    void expectCommand(MainCommand command) {
        switch (command) {
            case MainCommand::ApplySettings:
            case MainCommand::PrintFeatures:
                expectReadyConfirmation();
                break;
            case MainCommand::RestoreDefault:
                expectReadyConfirmation();
                restoresDefaults = true;
                break;
            case MainCommand::ShowFeatures:
                expected.shown = Shown::Features;
                break;
            case MainCommand::Exit:
                expected.messages.push_back(kQuitText);
                quits = true;
                break;
            case MainCommand::SelectDomestic:
            case MainCommand::SelectExport:
                mayChangeSelections = true;
                break;
        }
    }
    void expectCommand(FeaturesCommand command) {
        if (command == FeaturesCommand::Close)
            expected.shown = Shown::Main;
        else
            expectReadyConfirmation();
    }

    // A pointer move: the topmost control under the point gets it, and Qt drops a move to
    // where the pointer already is.
    void moveTo(QPoint point) {
        QWidget& shown = shownWindow();
        done = "move to " + std::to_string(point.x()) + "," + std::to_string(point.y());
        const QPoint global = shown.mapToGlobal(point);
        if (global != lastGlobal) {
            lastGlobal = global;
            expectMove(shown.childAt(point));
        }
        movePointer(shown, point);
    }

    void expectMove(QWidget* target) {
        if (expected.shown == Shown::Main) {
            const std::vector<QWidget*> buttons = {window->imgApplySettings, window->imgDefault,
                                                   window->imgSFeatures, window->imgPFeatures,
                                                   window->imgExit};
            hoverOver(target, window->imgBackground, buttons, expected.mainArmed);
        } else {
            FeaturesView& features = *window->features();
            hoverOver(target, features.imgBackground,
                      {features.imgPrintFeatures, features.imgClose}, expected.featuresArmed);
        }
    }

    void hoverOver(QWidget* target, QWidget* background, const std::vector<QWidget*>& buttons,
                   bool& armed) {
        if (target == background && !armed) {
            armed = true;
            expected.reads += static_cast<int>(buttons.size());
        } else if (armed && std::find(buttons.begin(), buttons.end(), target) != buttons.end()) {
            armed = false;
            expected.reads += 1;
        }
    }

    void randomKey() {
        const auto key = static_cast<Qt::Key>(Qt::Key_A + below(26));
        static const Qt::KeyboardModifiers kCombinations[] = {
            Qt::NoModifier,
            Qt::ShiftModifier,
            Qt::ControlModifier,
            Qt::ControlModifier,
            Qt::ControlModifier,
            Qt::AltModifier,
            Qt::AltModifier,
            Qt::AltModifier,
            Qt::ControlModifier | Qt::ShiftModifier,
            Qt::ControlModifier | Qt::AltModifier,
            Qt::AltModifier | Qt::ShiftModifier,
        };
        const Qt::KeyboardModifiers modifiers = kCombinations[below(std::size(kCombinations))];
        const int Shift = shiftStateOf(modifiers);
        const int KeyCode = keyCodeOf(key, modifiers);
        QWidget& shown = shownWindow();
        QWidget* focusBefore = shown.focusWidget();
        std::optional<S> focus;
        if (expected.shown == Shown::Main) {
            const MainShortcut shortcut = mainShortcut(
                KeyCode, Shift, [this](S box) { return window->selectionBox(box)->isEnabled(); });
            if (shortcut.command)
                expectCommand(*shortcut.command);
            focus = shortcut.focus;
            // Plain letters choose by type-ahead; ALT+D and ALT+X are the option buttons' keys.
            const bool typed =
                !modifiers.testFlag(Qt::ControlModifier) && !modifiers.testFlag(Qt::AltModifier);
            const bool accessKey =
                modifiers.testFlag(Qt::AltModifier) && (key == Qt::Key_D || key == Qt::Key_X);
            mayChangeSelections = mayChangeSelections || typed || accessKey;
        } else if (const auto command = featuresShortcut(KeyCode, Shift)) {
            expectCommand(*command);
        }
        done = "key " + QKeySequence(int(modifiers) | key).toString().toStdString();
        pressKey(shown, key, modifiers);
        // An access key clicks its option button a moment later.
        for (QRadioButton* option : {window->OptDomestic, window->OptExport})
            QTRY_VERIFY_WITH_TIMEOUT(!option->isDown(), 5000);
        if (focus) {
            ASSERT_EQ(window->focusWidget(), window->selectionBox(*focus));
        } else if (modifiers == Qt::AltModifier && !(key == Qt::Key_D || key == Qt::Key_X) &&
                   expected.shown == Shown::Main) {
            ASSERT_EQ(window->focusWidget(), focusBefore) << "ALT moved the focus";
        }
    }

    QPoint randomPoint() {
        QWidget& shown = shownWindow();
        return {below(shown.width()), below(shown.height())};
    }

    void randomRelease() {
        const QPoint point = randomPoint();
        moveTo(point);
        QWidget& shown = shownWindow();
        QWidget* target = shown.childAt(point);
        // A press on a box opens its list: the user would pick from it, which box changes do.
        if (qobject_cast<QComboBox*>(target))
            return;
        const bool left = below(4) != 0;
        done += std::string(" and release ") + (left ? "left" : "right") + " over " +
                (target ? target->objectName().toStdString() : std::string("nothing"));
        if (left)
            expectRelease(target);
        if (qobject_cast<QRadioButton*>(target))
            mayChangeSelections = true;
        releasePointer(shown, left ? Qt::LeftButton : Qt::RightButton, point);
        // The right button opens the text box's menu; the user dismisses it.
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
    }

    void expectRelease(QWidget* target) {
        if (expected.shown == Shown::Main) {
            const std::pair<QWidget*, MainCommand> buttons[] = {
                {window->imgApplySettings, MainCommand::ApplySettings},
                {window->imgDefault, MainCommand::RestoreDefault},
                {window->imgSFeatures, MainCommand::ShowFeatures},
                {window->imgPFeatures, MainCommand::PrintFeatures},
                {window->imgExit, MainCommand::Exit}};
            for (const auto& [control, command] : buttons) {
                if (target == control)
                    expectCommand(command);
            }
        } else {
            FeaturesView& features = *window->features();
            if (target == features.imgClose)
                expectCommand(FeaturesCommand::Close);
            if (target == features.imgPrintFeatures)
                expectCommand(FeaturesCommand::PrintFeatures);
        }
    }

    void randomBoxChange() {
        QComboBox* box = window->selectionBox(settingAt(below(kSettingCount)));
        done = "change " + box->objectName().toStdString();
        box->setFocus();
        QTest::keyClick(box, coin() ? Qt::Key_Down : Qt::Key_Up);
        mayChangeSelections = true;
    }

    void closeFeaturesByItsCloseButton() {
        expected.shown = Shown::Main;
        done = "close the features window";
        window->features()->close();
    }

    void step() {
        mayChangeSelections = false;
        restoresDefaults = false;
        quits = false;
        const int action = below(20);
        if (action < 10) {
            randomKey();
        } else if (action < 15) {
            moveTo(randomPoint());
        } else if (action < 18) {
            randomRelease();
        } else if (expected.shown == Shown::Main) {
            randomBoxChange();
        } else {
            closeFeaturesByItsCloseButton();
        }
    }

    void expectAfterStep(const std::vector<int>& before) {
        const bool featuresShown = window->features() && window->features()->isVisible();
        ASSERT_EQ(window->isVisible() + featuresShown, 1) << "exactly one window is visible";
        ASSERT_EQ(featuresShown, expected.shown == Shown::Features);
        int visible = 0;
        for (QWidget* topLevel : QApplication::topLevelWidgets())
            visible += topLevel->isVisible();
        ASSERT_EQ(visible, 1) << "a list, a menu or another window is open";

        ASSERT_EQ(messages(), expected.messages);
        if (quits && lastAnswer == MessageAnswer::Yes)
            ++expected.endings;
        ASSERT_EQ(program.endings, expected.endings);

        const bool confirmed = lastAnswer == MessageAnswer::OK;
        if (restoresDefaults && confirmed) {
            ASSERT_EQ(selections(), defaults);
        } else if (!mayChangeSelections) {
            ASSERT_EQ(selections(), before) << "a box changed without the user choosing";
        }
        expectInterlocksAndBlock();
        expectBoxesShowTheModel();

        ASSERT_EQ(core->blnButtonsNormal(), expected.mainArmed);
        if (window->features()) {
            ASSERT_EQ(core->features()->blnButtonsNormal(), expected.featuresArmed);
        }
        ASSERT_EQ(pictures.reads.size(), expected.reads);
        ASSERT_TRUE(core->intCtrlKey == 0 || core->intCtrlKey == kCtrlMask);
    }

    std::vector<std::string> messages() const {
        std::vector<std::string> texts;
        for (const ShownMessage& message : messageBox.shown)
            texts.push_back(message.text);
        return texts;
    }

    void expectInterlocksAndBlock() const {
        const SettingsModel& m = core->settings();
        const int interface = m.selection(S::cboInterface);
        const bool serial = interface == 1 || interface == 3;
        for (S box : {S::cboBaudRate, S::cboParity, S::cboFlowCtrl}) {
            ASSERT_EQ(m.isEnabled(box), serial) << settingInfo(box).box;
        }
        const bool indian = m.selection(S::cboCharTable) == 2;
        for (S box : {S::cboLanguage, S::cboLanStd, S::cboSpcComp}) {
            ASSERT_EQ(m.isEnabled(box), indian) << settingInfo(box).box;
        }
        ASSERT_EQ(m.isEnabled(S::cboTearOff), m.selection(S::cboRollPaper) == 1);
        const FlagSettings block = mdlFlagSettings::fncGetFlagSettings(m.selections());
        for (int i = 0; i < FlagSettings::kSize; ++i) {
            ASSERT_GE(block.values[i], 0) << "value " << i;
            ASSERT_LE(block.values[i], 255) << "value " << i;
        }
    }

    void expectBoxesShowTheModel() const {
        const SettingsModel& m = core->settings();
        for (const SettingInfo& info : settingsTable()) {
            const QComboBox* box = window->selectionBox(info.id);
            ASSERT_EQ(box->currentIndex(), m.selection(info.id)) << info.box;
            ASSERT_EQ(box->isEnabled(), m.isEnabled(info.id)) << info.box;
        }
        ASSERT_EQ(window->OptDomestic->isChecked(), m.model() == Model::OptDomestic);
        ASSERT_EQ(window->OptExport->isChecked(), m.model() == Model::OptExport);
    }

    std::mt19937 random{kSeed};
    Expected expected;
    std::vector<int> defaults;
    QPoint lastGlobal{-1, -1};
    MessageAnswer lastAnswer = MessageAnswer::Cancel;
    bool mayChangeSelections = false;
    bool restoresDefaults = false;
    bool quits = false;
    std::string done;  // the last step, for the failure message
};

TEST_F(RandomInput, WindowsStayConsistentUnderRandomKeysPointerAndBoxes) {
    for (int i = 0; i < kSteps; ++i) {
        const std::vector<int> before = selections();
        step();
        if (!HasFatalFailure())
            expectAfterStep(before);
        if (HasFailure()) {
            ADD_FAILURE() << "failed at step " << i << " (" << done << ") of seed " << kSeed;
            return;
        }
    }
}

}  // namespace
}  // namespace orvel::test
