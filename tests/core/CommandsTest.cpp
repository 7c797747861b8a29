// The commands of both windows on the window core: when they ask, what they send, and the order
// in which the user sees the banner, the disabled controls and the idle state come and go.
#include <stdexcept>

#include "printer/commands/FeaturesPage.h"
#include "tests/core/CoreWindowFixture.h"

namespace orvel::test {
namespace {

// The store-settings command with the defaults' block, and the restore-defaults command.
const Bytes kDefaultsCommand = {'\x1b', '\x19', '\x00', 1, 16, 2, 0, 16, '\xe0', 0, 8, 2, 1, 1, 1};
const Bytes kRestoreCommand = {'\x1b', '\x19', '\x01'};

enum class Asks { PrinterReady, Quit, Nothing };

struct ButtonCase {
    const char* name;
    bool inFeatures;  // a button of the features window
    ButtonFace face;
    Asks asks;
};

const ButtonCase kButtons[] = {
    {"Apply Settings", false, ButtonFace::ApplySettings, Asks::PrinterReady},
    {"Restore Default", false, ButtonFace::RestoreDefault, Asks::PrinterReady},
    {"Show Features", false, ButtonFace::ShowFeatures, Asks::Nothing},
    {"Print Features", false, ButtonFace::PrintFeatures, Asks::PrinterReady},
    {"Exit", false, ButtonFace::Exit, Asks::Quit},
    {"features Print Features", true, ButtonFace::PrintFeatures, Asks::PrinterReady},
    {"features Close", true, ButtonFace::Close, Asks::Nothing},
};

class CoreCommands : public CoreWindowTest {
protected:
    void release(const ButtonCase& button, int Button) {
        WindowEvents& events = button.inFeatures ? static_cast<WindowEvents&>(*window.features())
                                                 : static_cast<WindowEvents&>(window);
        events.pictureButton_MouseUp(button.face, Button, 0, 0, 0);
    }
    // Changes a few settings and the model, so that a reset would show.
    void editSettings() {
        pick(Setting::cboFont, 2);
        window.option_Click(Model::OptExport);
        pick(Setting::cboInterface, 0);
        pick(Setting::cboCharTable, 2);
        pick(Setting::cboRollPaper, 0);
    }
};

TEST_F(CoreCommands, OnlyTheLeftButtonActs) {
    for (const ButtonCase& button : kButtons) {
        for (int Button : {kRightButton, kMiddleButton, 0, kLeftButton + kRightButton}) {
            SCOPED_TRACE(std::string(button.name) + " button " + std::to_string(Button));
            if (button.inFeatures)
                showFeatures();
            log.clear();
            release(button, Button);
            EXPECT_TRUE(messageBox.shown.empty());
            EXPECT_TRUE(spooler.calls.empty());
            EXPECT_TRUE(log.empty());
            EXPECT_EQ(program.endings, 0);
        }
    }
}

TEST_F(CoreCommands, EachAsksItsQuestionWordForWord) {
    for (const ButtonCase& button : kButtons) {
        SCOPED_TRACE(button.name);
        if (button.inFeatures)
            showFeatures();
        messageBox.shown.clear();
        messageBox.answers = {MessageAnswer::Cancel};
        if (button.asks == Asks::Quit)
            messageBox.answers = {MessageAnswer::No};
        release(button, kLeftButton);
        if (button.asks == Asks::Nothing) {
            EXPECT_TRUE(messageBox.shown.empty());
            continue;
        }
        ASSERT_EQ(messageBox.shown.size(), 1u);
        const ShownMessage& shown = messageBox.shown[0];
        EXPECT_EQ(shown.title, kTitle);
        if (button.asks == Asks::PrinterReady) {
            EXPECT_EQ(shown.text, kPrinterReadyText);
            EXPECT_EQ(shown.buttons, MessageButtons::OKCancel);
            EXPECT_EQ(shown.icon, MessageIcon::Information);
        } else {
            EXPECT_EQ(shown.text, kQuitText);
            EXPECT_EQ(shown.buttons, MessageButtons::YesNo);
            EXPECT_EQ(shown.icon, MessageIcon::Question);
        }
    }
}

// Cancel, Escape and closing the box all answer Cancel: nothing changes, nothing is sent.
TEST_F(CoreCommands, CancelledConfirmationChangesNothing) {
    editSettings();
    const std::vector<int> edited = shownSelections();
    for (const ButtonCase& button : kButtons) {
        if (button.asks != Asks::PrinterReady)
            continue;
        SCOPED_TRACE(button.name);
        if (button.inFeatures)
            showFeatures();
        log.clear();
        messageBox.answers = {MessageAnswer::Cancel};
        release(button, kLeftButton);
        EXPECT_EQ(log, CallLog{"message: Please check whether the printer is :"});
        EXPECT_TRUE(spooler.calls.empty());
        EXPECT_EQ(shownSelections(), edited);
        EXPECT_EQ(window.settings().model(), Model::OptExport);
    }
}

TEST_F(CoreCommands, ApplySettingsShowsTheBannerAroundTheDownload) {
    window.imgApplySettings_MouseUp(kLeftButton, 0, 0, 0);
    const CallLog expected = {
        "message: Please check whether the printer is :",
        "main: banner shown",
        "main: banner painted",  // at once: the download holds the thread
        "main: Apply Settings disabled",
        "main: background disabled",
        "main: input held",
        "job written",
        "pause 2500",
        "main: input taken again",
        "main: banner hidden",
        "main: Apply Settings enabled",
        "main: background enabled",
    };
    EXPECT_EQ(log, expected);
    EXPECT_EQ(spooler.written, std::vector<Bytes>{kDefaultsCommand});
    EXPECT_EQ(spooler.documentName, "Permanent Settings Configuration");
}

// The download puts the idle state back itself before its busy message; the command then
// finishes its own steps.
TEST_F(CoreCommands, ApplySettingsOnABusyPrinterRestoresTheIdleStateBeforeTheMessage) {
    spooler.jobsInQueue = 2;
    window.imgApplySettings_MouseUp(kLeftButton, 0, 0, 0);
    const CallLog expected = {
        "message: Please check whether the printer is :",
        "main: banner shown",
        "main: banner painted",
        "main: Apply Settings disabled",
        "main: background disabled",
        "main: input held",
        "main: Apply Settings enabled",
        "main: banner hidden",
        "main: background enabled",
        "main: Apply Settings painted",
        "main: banner painted",
        "main: background painted",
        "message: Unable to download printer settings.",
        "main: input taken again",
        "main: banner hidden",
        "main: Apply Settings enabled",
        "main: background enabled",
    };
    EXPECT_EQ(log, expected);
    EXPECT_TRUE(spooler.written.empty());
    EXPECT_FALSE(view.bannerVisible);
    EXPECT_TRUE(view.disabledButtons.empty());
    EXPECT_TRUE(view.disabledPictures.empty());
}

// A printer that can't be opened, and a failure that no printer procedure handles: the command
// still hides the banner and gives the controls back.
TEST_F(CoreCommands, ApplySettingsFinishesItsStepsAfterAFailure) {
    spooler.openSucceeds = false;
    window.imgApplySettings_MouseUp(kLeftButton, 0, 0, 0);
    ASSERT_EQ(messageBox.shown.size(), 2u);
    EXPECT_FALSE(view.bannerVisible);
    EXPECT_TRUE(view.disabledButtons.empty());
    EXPECT_TRUE(view.disabledPictures.empty());

    spooler.openSucceeds = true;
    spooler.onWrite = [](const Bytes&) { throw std::runtime_error("the spooler went away"); };
    log.clear();
    window.imgApplySettings_MouseUp(kLeftButton, 0, 0, 0);
    EXPECT_EQ(std::vector<std::string>(log.end() - 4, log.end()),
              (CallLog{"main: input taken again", "main: banner hidden",
                       "main: Apply Settings enabled", "main: background enabled"}));
    EXPECT_EQ(view.held, 0);
}

// The boxes return to their defaults before the command is sent, and stay so whatever the
// printer says.
TEST_F(CoreCommands, RestoreDefaultResetsTheBoxesThenSendsTheRestoreCommand) {
    for (long jobs : {0L, 1L}) {
        SCOPED_TRACE(jobs);
        spooler.jobsInQueue = jobs;
        editSettings();
        std::vector<int> atSend;
        spooler.onWrite = [&](const Bytes&) { atSend = shownSelections(); };
        log.clear();
        window.imgDefault_MouseUp(kLeftButton, 0, 0, 0);
        EXPECT_EQ(shownSelections(), defaults());
        EXPECT_EQ(window.settings().model(), Model::OptDomestic);
        EXPECT_EQ(view.model, Model::OptDomestic);
        EXPECT_EQ(std::count(log.begin(), log.end(), "main: banner shown"), 0);
        if (jobs == 0) {
            EXPECT_EQ(atSend, defaults());
            EXPECT_EQ(spooler.written.back(), kRestoreCommand);
        } else {
            EXPECT_EQ(messageBox.shown.back().text.substr(0, 36),
                      "Unable to download printer settings.");
        }
    }
}

TEST_F(CoreCommands, PrintFeaturesPrintsThePageFromEitherWindow) {
    for (bool fromFeatures : {false, true}) {
        SCOPED_TRACE(fromFeatures ? "features window" : "main window");
        spooler.written.clear();
        log.clear();
        if (fromFeatures)
            showFeatures().imgPrintFeatures_MouseUp(kLeftButton, 0, 0, 0);
        else
            window.imgPFeatures_MouseUp(kLeftButton, 0, 0, 0);
        EXPECT_EQ(spooler.documentName, "Varnet Orvel FEATURES");
        EXPECT_EQ(spooler.written, featuresPageChunks());
        EXPECT_EQ(std::count(log.begin(), log.end(), "main: banner shown"), 0);
        EXPECT_TRUE(sleep.pauses.empty());
    }
    // The features window stays shown.
    EXPECT_TRUE(featuresView().visible);
}

TEST_F(CoreCommands, ExitEndsTheProgramOnlyOnYesWithoutASecondQuestion) {
    messageBox.answers = {MessageAnswer::No};
    window.imgExit_MouseUp(kLeftButton, 0, 0, 0);
    EXPECT_EQ(program.endings, 0);
    window.imgExit_MouseUp(kLeftButton, 0, 0, 0);
    EXPECT_EQ(program.endings, 1);
    EXPECT_EQ(messageBox.shown.size(), 2u);
}

// The user closing the main window: only Yes lets it close, and the program ends with it.
TEST_F(CoreCommands, ClosingTheMainWindowAsksAndMayBeRefused) {
    messageBox.answers = {MessageAnswer::No};
    EXPECT_FALSE(window.closeRequested());
    EXPECT_EQ(program.endings, 0);
    int Cancel = 0;
    messageBox.answers = {MessageAnswer::No};
    window.Form_Unload(Cancel);
    EXPECT_NE(Cancel, 0);

    showFeatures().imgClose_MouseUp(kLeftButton, 0, 0, 0);
    EXPECT_TRUE(window.closeRequested());
    EXPECT_EQ(program.endings, 1);
    EXPECT_EQ(messageBox.shown.back().text, kQuitText);
}

// The commands leave the buttons' pictures and the hover flag alone.
TEST_F(CoreCommands, AButtonUsedWithTheMouseStaysLit) {
    window.imgBackground_MouseMove(0, 0, 100, 100);
    window.imgApplySettings_MouseMove(0, 0, 10, 10);
    const std::string lit = view.shownFile[ButtonFace::ApplySettings];
    window.imgApplySettings_MouseUp(kLeftButton, 0, 10, 10);
    EXPECT_EQ(view.shownFile[ButtonFace::ApplySettings], lit);
    EXPECT_EQ(lit, "/opt/orvel" + facePictures(ButtonFace::ApplySettings).highlighted);
    EXPECT_FALSE(window.blnButtonsNormal());
}

}  // namespace
}  // namespace orvel::test
