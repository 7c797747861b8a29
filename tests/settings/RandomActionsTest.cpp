#include <gtest/gtest.h>

#include <random>

#include "settings/SettingsModel.h"
#include "settings/mdlFlagSettings.h"

namespace orvel {
namespace {

using S = Setting;

bool serialLine(const SettingsModel& m) {
    const int i = m.selection(S::cboInterface);
    return i == 1 || i == 3;
}

// What must hold after any sequence of changes.
void expectInvariants(const SettingsModel& m) {
    for (S box : {S::cboBaudRate, S::cboParity, S::cboFlowCtrl}) {
        ASSERT_EQ(m.isEnabled(box), serialLine(m)) << settingInfo(box).box;
    }
    const bool indian = m.selection(S::cboCharTable) == 2;
    for (S box : {S::cboLanguage, S::cboLanStd, S::cboSpcComp}) {
        ASSERT_EQ(m.isEnabled(box), indian) << settingInfo(box).box;
    }
    ASSERT_EQ(m.isEnabled(S::cboTearOff), m.selection(S::cboRollPaper) == 1);
    ASSERT_NE(m.model(), Model::None);
    for (const SettingInfo& info : settingsTable()) {
        const bool governed = info.id == S::cboTearOff || info.id == S::cboBaudRate ||
                              info.id == S::cboParity || info.id == S::cboFlowCtrl ||
                              info.id == S::cboLanguage || info.id == S::cboLanStd ||
                              info.id == S::cboSpcComp;
        if (!governed) {
            ASSERT_TRUE(m.isEnabled(info.id)) << info.box;
        }
        ASSERT_GE(m.selection(info.id), 0) << info.box;
        ASSERT_LT(m.selection(info.id), static_cast<int>(info.choices.size())) << info.box;
    }
    const FlagSettings block = mdlFlagSettings::fncGetFlagSettings(m.selections());
    for (int i = 0; i < FlagSettings::kSize; ++i) {
        ASSERT_GE(block.values[i], 0) << "value " << i;
        ASSERT_LE(block.values[i], 255) << "value " << i;
    }
    ASSERT_EQ(block.values[2] & 0x80, 0);
}

TEST(SettingsModelRandomActions, InterlocksHoldAfterEveryStepOfAnySequence) {
    const unsigned seed = 20261209;
    std::mt19937 random(seed);
    SCOPED_TRACE("seed " + std::to_string(seed));

    SettingsModel m;
    m.IntializeSelectionBoxes();
    for (int step = 0; step < 20000; ++step) {
        const int action = std::uniform_int_distribution<int>(0, 19)(random);
        if (action < 17) {
            const S box =
                settingAt(std::uniform_int_distribution<int>(0, kSettingCount - 1)(random));
            const int count = static_cast<int>(settingInfo(box).choices.size());
            const int choice = std::uniform_int_distribution<int>(-1, count)(random);
            const Selections before = m.selections();
            const bool allowed = m.isEnabled(box) && choice >= 0 && choice < count;
            ASSERT_EQ(m.userSelect(box, choice), allowed) << "step " << step;
            if (!allowed) {
                ASSERT_EQ(m.selections(), before) << "step " << step;
            }
        } else if (action < 19) {
            const Model chosen = action == 17 ? Model::OptDomestic : Model::OptExport;
            const bool changes = chosen != m.model();
            m.selectModel(chosen);
            ASSERT_EQ(m.model(), chosen);
            if (changes) {
                ASSERT_EQ(m.choiceText(S::cboInterface), "Autoshare");
            }
        } else {
            m.IntializeSelectionBoxes();
        }
        expectInvariants(m);
        if (HasFatalFailure()) {
            ADD_FAILURE() << "failed at step " << step << " of seed " << seed;
            return;
        }
    }
}

}  // namespace
}  // namespace orvel
