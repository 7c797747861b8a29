// The five commands of the main window with each mouse button, their confirmations and every
// outcome of the printer procedures.
#include <functional>

#include "printer/job/Messages.h"
#include "tests/ui/windows/WidgetEvents.h"
#include "tests/ui/windows/WindowFixture.h"
#include "ui/qt/buttons/PictureControl.h"

namespace orvel::test {
namespace {

struct ButtonCase {
    const char* name;
    PictureControl* ConfigUtilityView::*button;
    const std::string* question;  // what the left button asks; nullptr for none
};

const ButtonCase kButtons[] = {
    {"Apply Settings", &ConfigUtilityView::imgApplySettings, &kPrinterReadyText},
    {"Restore Default", &ConfigUtilityView::imgDefault, &kPrinterReadyText},
    {"Show Features", &ConfigUtilityView::imgSFeatures, nullptr},
    {"Print Features", &ConfigUtilityView::imgPFeatures, &kPrinterReadyText},
    {"Exit", &ConfigUtilityView::imgExit, &kQuitText},
};

// The settings block of the defaults, after the store-settings command.
const Bytes kDefaultsCommand = {'\x1b', '\x19', '\x00', 1, 16, 2, 0, 16, '\xe0', 0, 8, 2, 1, 1, 1};

class Commands : public WindowTest {
protected:
    // Changes a few settings and the model, so that a reset would show.
    void editSettings() {
        pick(Setting::cboFont, 2);
        window->OptExport->click();
        pick(Setting::cboInterface, 0);
        pick(Setting::cboCharTable, 2);
        pick(Setting::cboRollPaper, 0);
    }

    std::vector<int> defaults() const {
        std::vector<int> all;
        for (const SettingInfo& info : settingsTable())
            all.push_back(info.defaultChoice);
        return all;
    }
};

TEST_F(Commands, RightAndMiddleButtonsDoNothing) {
    for (const ButtonCase& button : kButtons) {
        for (Qt::MouseButton mouse : {Qt::RightButton, Qt::MiddleButton}) {
            SCOPED_TRACE(std::string(button.name) +
                         (mouse == Qt::RightButton ? " right" : " middle"));
            release(window.get()->*button.button, mouse);
            EXPECT_TRUE(messageBox.shown.empty());
            EXPECT_TRUE(spooler.calls.empty());
            EXPECT_TRUE(window->isVisible());
            EXPECT_EQ(window->features(), nullptr);
            EXPECT_EQ(program.endings, 0);
        }
    }
}

TEST_F(Commands, LeftButtonAsksItsQuestionAndANegativeAnswerChangesNothing) {
    editSettings();
    const std::vector<int> edited = selections();
    for (const ButtonCase& button : kButtons) {
        if (button.question == nullptr)
            continue;
        SCOPED_TRACE(button.name);
        messageBox.shown.clear();
        const bool quit = button.question == &kQuitText;
        // Closing the box answers the same as Cancel or No.
        messageBox.answers = {quit ? MessageAnswer::No : MessageAnswer::Cancel};
        WidgetEvents banner(window->imgWarning);

        release(window.get()->*button.button);

        ASSERT_EQ(messageBox.shown.size(), 1u);
        const ShownMessage& asked = messageBox.shown[0];
        EXPECT_EQ(asked.text, *button.question);
        EXPECT_EQ(asked.buttons, quit ? MessageButtons::YesNo : MessageButtons::OKCancel);
        EXPECT_EQ(asked.icon, quit ? MessageIcon::Question : MessageIcon::Information);
        EXPECT_EQ(asked.title, std::optional<std::string>("Printer Configuration Utility"));
        EXPECT_TRUE(spooler.calls.empty());
        EXPECT_EQ(banner.shows, 0);
        EXPECT_EQ(selections(), edited);
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(program.endings, 0);
    }
}

struct Outcome {
    const char* name;
    std::function<void(RecordingSpooler&)> arrange;
    const Message* report;  // the printer output's message after the confirmation, if any
    bool writes;
    bool pauses;
};

const Outcome kOutcomes[] = {
    {"sent", [](RecordingSpooler&) {}, nullptr, true, true},
    {"printer busy", [](RecordingSpooler& s) { s.jobsInQueue = 2; }, &messages::kPrinterBusy, false,
     false},
    {"no printer",
     [](RecordingSpooler& s) {
         s.defaultAnswer = {false, ""};
     },
     &messages::kNoPrinter, false, false},
    {"open fails", [](RecordingSpooler& s) { s.openSucceeds = false; }, &messages::kOpenFailed,
     false, false},
    {"write fails", [](RecordingSpooler& s) { s.failWriteNumber = 0; }, &messages::kSendFailed,
     true, false},
};

TEST_F(Commands, ApplyShowsThePaintedBannerWhileSendingAndRestoresTheWindowAfterEveryOutcome) {
    for (const Outcome& outcome : kOutcomes) {
        SCOPED_TRACE(outcome.name);
        spooler = RecordingSpooler();
        outcome.arrange(spooler);
        messageBox.shown.clear();
        sleep.pauses.clear();
        WidgetEvents banner(window->imgWarning);
        WidgetEvents applyButton(window->imgApplySettings);
        WidgetEvents background(window->imgBackground);

        // The banner must be on screen without the event loop having run: painted already.
        auto expectApplying = [&] {
            EXPECT_TRUE(window->imgWarning->isVisible());
            EXPECT_GT(banner.paints, 0);
            EXPECT_FALSE(window->imgApplySettings->isEnabled());
            EXPECT_FALSE(window->imgBackground->isEnabled());
        };
        int writesSeen = 0;
        spooler.onWrite = [&](const Bytes&) {
            ++writesSeen;
            expectApplying();
        };
        sleep.onSleep = [&](int) { expectApplying(); };
        messageBox.onShow = [&](const ShownMessage& message) {
            if (outcome.report == &messages::kPrinterBusy && message.text != kPrinterReadyText) {
                // The busy refusal puts the idle state back before it tells the user.
                EXPECT_FALSE(window->imgWarning->isVisible());
                EXPECT_TRUE(window->imgApplySettings->isEnabled());
                EXPECT_TRUE(window->imgBackground->isEnabled());
                // ... and paints it at once, to show behind the message.
                EXPECT_GT(applyButton.paints, 0);
                EXPECT_GT(background.paints, 0);
            }
        };

        release(window->imgApplySettings);

        ASSERT_GE(messageBox.shown.size(), 1u);
        EXPECT_EQ(messageBox.shown[0].text, kPrinterReadyText);
        ASSERT_EQ(messageBox.shown.size(), outcome.report ? 2u : 1u);
        if (outcome.report) {
            EXPECT_EQ(messageBox.shown[1].text, outcome.report->text());
        }
        EXPECT_EQ(writesSeen, outcome.writes ? 1 : 0);
        EXPECT_EQ(sleep.pauses, outcome.pauses ? std::vector<int>{2500} : std::vector<int>{});
        if (outcome.pauses) {
            EXPECT_EQ(spooler.documentName, "Permanent Settings Configuration");
            EXPECT_EQ(spooler.written, std::vector<Bytes>{kDefaultsCommand});
        }
        EXPECT_FALSE(window->imgWarning->isVisible());
        EXPECT_TRUE(window->imgApplySettings->isEnabled());
        EXPECT_TRUE(window->imgBackground->isEnabled());
        spooler.onWrite = nullptr;
        sleep.onSleep = nullptr;
        messageBox.onShow = nullptr;
    }
    // Apply Settings reacts to the mouse again.
    messageBox.shown.clear();
    messageBox.answers = {MessageAnswer::Cancel};
    release(window->imgApplySettings);
    EXPECT_EQ(messageBox.shown.size(), 1u);
}

TEST_F(Commands, RestoreLeavesTheDefaultsWhateverTheDownloadReports) {
    for (const Outcome& outcome : kOutcomes) {
        SCOPED_TRACE(outcome.name);
        spooler = RecordingSpooler();
        outcome.arrange(spooler);
        editSettings();
        ASSERT_NE(selections(), defaults());
        WidgetEvents banner(window->imgWarning);

        release(window->imgDefault);

        EXPECT_EQ(selections(), defaults());
        EXPECT_TRUE(window->OptDomestic->isChecked());
        EXPECT_FALSE(window->OptExport->isChecked());
        EXPECT_EQ(window->cboPageLength->currentText(), "12 Inch");
        EXPECT_TRUE(window->cboTearOff->isEnabled());
        EXPECT_TRUE(window->cboBaudRate->isEnabled());
        EXPECT_FALSE(window->cboLanguage->isEnabled());
        EXPECT_EQ(banner.shows, 0);
        if (outcome.pauses) {
            EXPECT_EQ(spooler.written, std::vector<Bytes>{Bytes("\x1b\x19\x01", 3)});
        }
    }
}

TEST_F(Commands, PrintFeaturesFromBothWindowsAsksTheSameQuestionThenPrints) {
    release(window->imgPFeatures);
    showFeatures();
    spooler.written.clear();
    release(window->features()->imgPrintFeatures);

    ASSERT_EQ(messageBox.shown.size(), 2u);
    for (const ShownMessage& asked : messageBox.shown) {
        EXPECT_EQ(asked.text, kPrinterReadyText);
        EXPECT_EQ(asked.buttons, MessageButtons::OKCancel);
        EXPECT_EQ(asked.icon, MessageIcon::Information);
        EXPECT_EQ(asked.title, messageBox.shown[0].title);
    }
    EXPECT_EQ(spooler.documentName, "Varnet Orvel FEATURES");
    EXPECT_EQ(spooler.written.size(), 2u);
    EXPECT_TRUE(sleep.pauses.empty());
    EXPECT_TRUE(window->features()->isVisible());

    // Cancel in the features window prints nothing.
    spooler.written.clear();
    messageBox.answers = {MessageAnswer::Cancel};
    release(window->features()->imgPrintFeatures);
    EXPECT_TRUE(spooler.written.empty());
}

TEST_F(Commands, ExitYesEndsTheProgramAskingOnceAndNoKeepsEverything) {
    editSettings();
    const std::vector<int> edited = selections();
    messageBox.answers = {MessageAnswer::No};
    release(window->imgExit);
    EXPECT_EQ(program.endings, 0);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(selections(), edited);

    messageBox.shown.clear();
    release(window->imgExit);
    EXPECT_EQ(program.endings, 1);
    ASSERT_EQ(messageBox.shown.size(), 1u);
    EXPECT_EQ(messageBox.shown[0].text, kQuitText);
}

TEST_F(Commands, ADisabledApplySettingsTakesNoRelease) {
    window->imgApplySettings->setEnabled(false);
    release(window->imgApplySettings);
    EXPECT_TRUE(messageBox.shown.empty());
}

}  // namespace
}  // namespace orvel::test
