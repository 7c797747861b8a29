// The main window core on recording views and test services: what the user would see and what
// reached the printer are read back from one log.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/core/RecordingViews.h"
#include "tests/support/FakeServices.h"
#include "tests/support/QuestionTexts.h"
#include "tests/support/RecordingSpooler.h"
#include "ui/core/windows/frmConfigUtility.h"
#include "ui/core/windows/frmFeatures.h"

namespace orvel::test {

inline const std::string kTitle = "Printer Configuration Utility";

class CoreWindowTest : public ::testing::Test {
protected:
    CoreWindowTest() {
        messageBox.onShow = [this](const ShownMessage& shown) {
            log.push_back("message: " + shown.text.substr(0, shown.text.find('\r')));
        };
        spooler.onWrite = [this](const Bytes&) { log.push_back("job written"); };
        sleep.onSleep = [this](int milliseconds) {
            log.push_back("pause " + std::to_string(milliseconds));
        };
        log.clear();
    }

    // The user's choice in a box.
    void pick(Setting setting, int choice) { window.selectionBox_Click(setting, choice); }

    std::vector<int> defaults() const {
        std::vector<int> all;
        for (const SettingInfo& info : settingsTable())
            all.push_back(info.defaultChoice);
        return all;
    }
    std::vector<int> shownSelections() const {
        return {view.selections.begin(), view.selections.end()};
    }

    frmFeatures& showFeatures() {
        window.imgSFeatures_MouseUp(kLeftButton, 0, 0, 0);
        EXPECT_NE(window.features(), nullptr);
        return *window.features();
    }
    RecordingFeaturesView& featuresView() { return *view.features; }

    CallLog log;
    RecordingSpooler spooler;
    ScriptedMessageBox messageBox;
    RecordingSleep sleep;
    RecordingProgramControl program;
    RecordingMainView view{log};
    frmConfigUtility window{WindowServices{spooler, messageBox, sleep, program, "/opt/orvel"},
                            view};
};

}  // namespace orvel::test
