// A main window on the test doubles, shown offscreen.
#pragma once

#include <gtest/gtest.h>

#include <QComboBox>
#include <QRadioButton>
#include <QTest>
#include <memory>

#include "printer/job/Messages.h"
#include "tests/support/CountingPictureLoader.h"
#include "tests/support/FakeServices.h"
#include "tests/support/RecordingSpooler.h"
#include "ui/buttons/PictureControl.h"
#include "ui/core/services/ProgramControl.h"
#include "ui/windows/frmConfigUtility.h"
#include "ui/windows/frmFeatures.h"

namespace orvel::test {

// Records the ends of the program instead of ending it.
class RecordingProgramControl : public ProgramControl {
public:
    int endings = 0;
    void endProgram() override { ++endings; }
};

// The confirmation texts as the user reads them.
inline const std::string kPrinterReadyText =
    "Please check whether the printer is :\r\n* Switched ON\r\n* In online mode\r\n"
    "* In Parallel or Autoshare interface\r\n\r\nTo continue press OK else press Cancel to quit.";
inline const std::string kQuitText = "Are you sure to quit from this application?";

// The windows' program folder in the tests: the pictures come from a CountingPictureLoader.
inline const QString kPictureFolder = QStringLiteral("/opt/varnet-orvel");

// The user picks a choice in a closed box with the keyboard: Home, then Down.
inline void pickWithKeyboard(QComboBox* box, int choice) {
    ASSERT_TRUE(box->isEnabled());
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Home);
    for (int step = 0; step < choice; ++step)
        QTest::keyClick(box, Qt::Key_Down);
    ASSERT_EQ(box->currentIndex(), choice);
}

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<frmConfigUtility>(
            UiServices{spooler, messageBox, sleep, program, pictures, folder});
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    void TearDown() override { window.reset(); }

    // A release of the button over the middle of the control, as the user makes it.
    static void release(QWidget* control, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(control, button, Qt::NoModifier, control->rect().center());
    }

    void pick(Setting setting, int choice) {
        pickWithKeyboard(window->selectionBox(setting), choice);
    }

    void showFeatures() {
        release(window->imgSFeatures);
        ASSERT_NE(window->features(), nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window->features()));
    }

    std::vector<int> selections() const {
        const Selections& all = window->settings().selections();
        return {all.begin(), all.end()};
    }

    RecordingSpooler spooler;
    ScriptedMessageBox messageBox;
    RecordingSleep sleep;
    RecordingProgramControl program;
    CountingPictureLoader pictures;
    QString folder = kPictureFolder;
    std::unique_ptr<frmConfigUtility> window;
};

// The features window, shown by Show Features from the main window.
class FeaturesWindowTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        showFeatures();
        features = window->features();
    }
    frmFeatures* features = nullptr;
};

}  // namespace orvel::test
