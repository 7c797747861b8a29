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
#include "tests/support/QuestionTexts.h"
#include "tests/support/RecordingSpooler.h"
#include "ui/core/services/ProgramControl.h"
#include "ui/core/windows/frmConfigUtility.h"
#include "ui/core/windows/frmFeatures.h"
#include "ui/qt/buttons/PictureControl.h"
#include "ui/qt/windows/ConfigUtilityView.h"
#include "ui/qt/windows/FeaturesView.h"

namespace orvel::test {

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
        open(messageBox, pictures, folder);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    void TearDown() override {
        core.reset();
        window.reset();
    }

    // The main window as the program makes it: its Qt view, and the window core over that.
    void open(MessageBoxService& boxes, PictureLoader& loader, const QString& pictureFolder) {
        core.reset();
        window = std::make_unique<ConfigUtilityView>(loader);
        core = std::make_unique<frmConfigUtility>(
            WindowServices{spooler, boxes, sleep, program, pictureFolder.toStdString()}, *window);
    }

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
        const Selections& all = core->settings().selections();
        return {all.begin(), all.end()};
    }

    RecordingSpooler spooler;
    ScriptedMessageBox messageBox;
    RecordingSleep sleep;
    RecordingProgramControl program;
    CountingPictureLoader pictures;
    QString folder = kPictureFolder;
    std::unique_ptr<ConfigUtilityView> window;
    std::unique_ptr<frmConfigUtility> core;
};

// The features window, shown by Show Features from the main window.
class FeaturesWindowTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        showFeatures();
        features = window->features();
    }
    FeaturesView* features = nullptr;
};

}  // namespace orvel::test
