// The user's input given while a command holds the thread (the send, the pause after it, the
// command's own message) does nothing: not then, and not once the command is over. The input
// comes the way the window system hands it over, through the windows' native windows.
#include <QMessageBox>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "tests/ui/windows/UserInput.h"
#include "tests/ui/windows/WidgetEvents.h"
#include "tests/ui/windows/WindowFixture.h"
#include "ui/qt/services/QtMessageBox.h"
#include "ui/qt/services/QtSleep.h"

namespace orvel::test {
namespace {

// When the input comes: handled at once, or waiting until the thread is free again.
enum class Delivery { AtOnce, Queued };

// Where the command holds the thread when the user gives the input.
enum class Hold { Pause, Write, OwnMessage };

struct CommandCase {
    const char* name;
    bool inFeaturesWindow;
    bool printerBusy;
    PictureControl* (*button)(ConfigUtilityView&);  // whose release starts the command
    Hold hold;
    std::vector<std::string> messages;  // what the command itself shows
    int writes;                         // the chunks it sends
};

void PrintTo(const CommandCase& row, std::ostream* out) {
    *out << row.name;
}

class HeldInput : public WindowTest, public ::testing::WithParamInterface<CommandCase> {
protected:
    // The window as it is before each input: a new one, on fresh doubles.
    void freshWindow() {
        window.reset();
        spooler = RecordingSpooler();
        messageBox = ScriptedMessageBox();
        sleep = RecordingSleep();
        program = RecordingProgramControl();
        WindowTest::SetUp();
        spooler.jobsInQueue = GetParam().printerBusy ? 2 : 0;
        if (GetParam().inFeaturesWindow)
            showFeatures();
    }

    QWidget& shownWindow() const {
        FeaturesView* features = window->features();
        return features && features->isVisible() ? static_cast<QWidget&>(*features) : *window;
    }

    // Runs give once, the first time the command holds the thread where the case says.
    void holdWith(const std::function<void()>& give) {
        auto once = [this, give] {
            if (given)
                return;
            given = true;
            give();
        };
        switch (GetParam().hold) {
            case Hold::Pause:
                sleep.onSleep = [once](int) { once(); };
                break;
            case Hold::Write:
                spooler.onWrite = [once](const Bytes&) { once(); };
                break;
            case Hold::OwnMessage:
                messageBox.onShow = [once](const ShownMessage& message) {
                    if (message.text != kPrinterReadyText)
                        once();
                };
                break;
        }
    }

    std::vector<std::string> shownTexts() const {
        std::vector<std::string> texts;
        for (const ShownMessage& message : messageBox.shown)
            texts.push_back(message.text);
        return texts;
    }

    bool given = false;
};

// A click of the left button over a control, given to its window.
void clickOn(QWidget& control) {
    QTest::mouseClick(control.window()->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      centreOf(control));
}

void keyOn(QWidget& window, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QTest::sendKeyEvent(QTest::Click, window.windowHandle(), key, x11Text(key, modifiers),
                        modifiers);
}

struct InputCase {
    const char* name;
    // Given to the window that is shown; the command's button is passed in.
    std::function<void(QWidget& shown, QWidget& button)> give;
};

const InputCase kInputs[] = {
    {"five clicks on the command's button",
     [](QWidget&, QWidget& button) {
         for (int click = 0; click < 5; ++click)
             clickOn(button);
     }},
    {"a click on every picture button",
     [](QWidget& shown, QWidget&) {
         for (PictureControl* control : shown.findChildren<PictureControl*>()) {
             if (control->objectName().startsWith(QLatin1String("img")) &&
                 control->objectName() != QLatin1String("imgBackground") &&
                 control->objectName() != QLatin1String("imgWarning"))
                 clickOn(*control);
         }
     }},
    {"CTRL+A, CTRL+D, CTRL+P, CTRL+S, CTRL+X and CTRL+C",
     [](QWidget& shown, QWidget&) {
         for (Qt::Key key : {Qt::Key_A, Qt::Key_D, Qt::Key_P, Qt::Key_S, Qt::Key_X, Qt::Key_C})
             keyOn(shown, key, Qt::ControlModifier);
     }},
    {"CTRL+E, ALT+X and ALT+P",
     [](QWidget& shown, QWidget&) {
         keyOn(shown, Qt::Key_E, Qt::ControlModifier);
         keyOn(shown, Qt::Key_X, Qt::AltModifier);
         keyOn(shown, Qt::Key_P, Qt::AltModifier);
     }},
    {"Down and a letter on the focused control",
     [](QWidget& shown, QWidget&) {
         keyOn(shown, Qt::Key_Down, Qt::NoModifier);
         keyOn(shown, Qt::Key_C, Qt::NoModifier);
     }},
    {"Tab", [](QWidget& shown, QWidget&) { keyOn(shown, Qt::Key_Tab, Qt::NoModifier); }},
    {"the window's close button", [](QWidget& shown, QWidget&) { shown.windowHandle()->close(); }},
};

TEST_P(HeldInput, NothingActsThenOrAfterwards) {
    const CommandCase& command = GetParam();
    for (const InputCase& input : kInputs) {
        for (Delivery delivery : {Delivery::AtOnce, Delivery::Queued}) {
            SCOPED_TRACE(std::string(input.name) +
                         (delivery == Delivery::AtOnce ? ", at once" : ", queued"));
            freshWindow();
            QWidget& shown = shownWindow();
            QWidget& button = *command.button(*window);
            QWidget* focus = shown.focusWidget();
            const std::vector<int> before = selections();
            given = false;
            holdWith([&] {
                if (delivery == Delivery::AtOnce)
                    input.give(shown, button);
                else
                    QTimer::singleShot(0, &shown, [&] { input.give(shown, button); });
            });

            clickOn(button);
            QTest::qWait(20);

            ASSERT_TRUE(given) << "the command did not hold the thread where the case says";
            EXPECT_EQ(shownTexts(), command.messages);
            EXPECT_EQ(static_cast<int>(spooler.written.size()), command.writes);
            EXPECT_EQ(selections(), before);
            EXPECT_TRUE(shown.isVisible());
            EXPECT_EQ(&shownWindow(), &shown);
            EXPECT_EQ(shown.focusWidget(), focus);
            EXPECT_EQ(program.endings, 0);
            EXPECT_FALSE(window->imgWarning->isVisible());
        }
    }
}

PictureControl* applySettings(ConfigUtilityView& w) {
    return w.imgApplySettings;
}
PictureControl* restoreDefault(ConfigUtilityView& w) {
    return w.imgDefault;
}
PictureControl* printFeatures(ConfigUtilityView& w) {
    return w.imgPFeatures;
}
PictureControl* featuresPrintFeatures(ConfigUtilityView& w) {
    return w.features()->imgPrintFeatures;
}

const std::string kReady = kPrinterReadyText;

INSTANTIATE_TEST_SUITE_P(
    Commands, HeldInput,
    ::testing::Values(
        CommandCase{
            "ApplySettingsInThePause", false, false, applySettings, Hold::Pause, {kReady}, 1},
        CommandCase{
            "ApplySettingsInTheSend", false, false, applySettings, Hold::Write, {kReady}, 1},
        CommandCase{"ApplySettingsInTheBusyMessage",
                    false,
                    true,
                    applySettings,
                    Hold::OwnMessage,
                    {kReady, messages::kPrinterBusy.text()},
                    0},
        CommandCase{
            "RestoreDefaultInThePause", false, false, restoreDefault, Hold::Pause, {kReady}, 1},
        CommandCase{
            "PrintFeaturesInTheSend", false, false, printFeatures, Hold::Write, {kReady}, 2},
        CommandCase{"FeaturesWindowPrintFeaturesInTheSend",
                    true,
                    false,
                    featuresPrintFeatures,
                    Hold::Write,
                    {kReady},
                    2}),
    [](const auto& info) { return std::string(info.param.name); });

// With the real pause: the banner stays up and the rest of the window is painted as it is, so
// that a confirmation closed just before leaves nothing behind.
TEST_F(WindowTest, ThePauseKeepsTheWholeWindowPainted) {
    bool paused = false;
    sleep.onSleep = [&](int milliseconds) {
        paused = true;
        EXPECT_EQ(milliseconds, 2500);
        WidgetEvents box(window->cboFont);
        WidgetEvents background(window->imgBackground);
        WidgetEvents banner(window->imgWarning);
        QtSleep().sleep(150);
        EXPECT_GT(box.paints, 0);
        EXPECT_GT(background.paints, 0);
        EXPECT_GT(banner.paints, 0);
        EXPECT_TRUE(window->imgWarning->isVisible());
    };
    release(window->imgApplySettings);
    EXPECT_TRUE(paused);
}

// The command's own message boxes are windows of their own: they take the user's answer while
// the command holds the main window's input.
TEST_F(WindowTest, TheCommandsOwnMessagesTakeTheUsersAnswer) {
    QtMessageBox realBox;
    open(realBox, pictures, folder);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    spooler.failWriteNumber = 0;  // the send fails: its message comes while the input is held

    // The user presses Return in each box as it comes; a box that takes no input is closed
    // after a while, and counted.
    int answered = 0;
    int forced = 0;
    int attempts = 0;
    QTimer answering;
    answering.setInterval(20);
    QObject::connect(&answering, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr)
            return;
        if (++attempts > 50) {
            box->done(QMessageBox::Ok);
            ++forced;
            attempts = 0;
            return;
        }
        if (attempts == 1) {
            QTest::keyClick(box->windowHandle(), Qt::Key_Return);
            if (!box->isVisible()) {
                ++answered;
                attempts = 0;
            }
        }
    });
    answering.start();
    release(window->imgApplySettings);
    answering.stop();

    EXPECT_EQ(answered, 2) << "the confirmation and the send failure";
    EXPECT_EQ(forced, 0);
    EXPECT_EQ(spooler.written.size(), 1u);
    EXPECT_FALSE(window->imgWarning->isVisible());
}

}  // namespace
}  // namespace orvel::test
